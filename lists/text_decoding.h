// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <optional>

// Text as spreadsheets and editors save it: UTF-8 with or without a byte order mark, UTF-16 with
// one ("Unicode text"), and anything that is not valid UTF-8 as Windows-1250.
enum class TextEncoding { Utf8WithMark, Utf16LittleEndian, Utf16BigEndian, Utf8, CodePage };
TextEncoding encodingOf(const QByteArray &bytes);

// The characters of the bytes, decoded a piece at a time: a file of many megabytes is never held a
// second time as text. The bytes must outlive the reader.
class TextReader {
public:
    TextReader(const QByteArray &bytes, TextEncoding encoding);
    bool atEnd() { return position == buffer.size() && !fill(); }
    // These two only when not at the end.
    QChar peek() const { return buffer[position]; }
    QChar next() { return buffer[position++]; }
    // Passes over that many characters, or to the end.
    void skip(qsizetype count);

private:
    bool fill();
    const QByteArray &bytes;
    qsizetype offset;                      // the bytes decoded so far
    std::optional<QStringDecoder> decoder; // none for the code page
    QString buffer;
    qsizetype position = 0;
};
