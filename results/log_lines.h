// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <vector>

// Where each line of a log lies in its bytes, its line end left out.
struct LogLine {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// The lines of a log as stored: each ended by CR LF, LF or a lone CR. A log that ends with a line
// end has no empty line after it; an empty log has no lines.
std::vector<LogLine> splitLogLines(QByteArrayView log);

// The width of the widest line when every byte takes the advance given for it, so that a whole log
// is measured without laying out a single line of it.
double widestLineWidth(QByteArrayView log, const std::vector<LogLine> &lines, const std::array<double, 256> &advance);
