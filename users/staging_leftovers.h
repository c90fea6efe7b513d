// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// An addition killed half-way leaves its hidden staging directory (".vokalindo-XXXXXXXX.tmp") in
// the start directory. This account's own that are older than any addition takes are removed with
// what they hold; anyone else's are left alone, as they may be another computer's addition under way.
void removeStaleStagingDirectories(const QString &startDirectory);
