// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The class folder a settings file names, read as the Linux launcher reads it: "#" starts a
// comment, the last "directory=" line counts, spaces around the value and one pair of double
// quotes around it are dropped. Nothing when no line sets one or the value is empty. The text may
// be UTF-16 with its byte-order mark, UTF-8, or else in this computer's 8-bit code page.
std::optional<QString> configuredStartDirectory(const QByteArray &settings);
