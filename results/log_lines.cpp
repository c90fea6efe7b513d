// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/log_lines.h"

#include <algorithm>

std::vector<LogLine> splitLogLines(QByteArrayView log)
{
    std::vector<LogLine> lines;
    lines.reserve(std::size_t(log.count('\n')) + 1);
    const qsizetype size = log.size();
    qsizetype start = 0;
    for (qsizetype at = 0; at < size; ++at) {
        const char byte = log[at];
        if (byte != '\r' && byte != '\n')
            continue;
        lines.push_back({std::uint32_t(start), std::uint32_t(at - start)});
        if (byte == '\r' && at + 1 < size && log[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    if (start < size)
        lines.push_back({std::uint32_t(start), std::uint32_t(size - start)});
    return lines;
}

double widestLineWidth(QByteArrayView log, const std::vector<LogLine> &lines, const std::array<double, 256> &advance)
{
    double widest = 0;
    for (const LogLine &line : lines) {
        double width = 0;
        for (const char byte : log.sliced(line.start, line.length))
            width += advance[static_cast<unsigned char>(byte)];
        widest = std::max(widest, width);
    }
    return widest;
}
