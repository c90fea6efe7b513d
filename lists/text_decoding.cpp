// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/text_decoding.h"

#include "platform/code_page.h"

namespace {

constexpr qsizetype kPieceSize = 64 * 1024;

QStringDecoder::Encoding decoderEncoding(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LittleEndian:
        return QStringDecoder::Utf16LE;
    case TextEncoding::Utf16BigEndian:
        return QStringDecoder::Utf16BE;
    default:
        return QStringDecoder::Utf8;
    }
}

// The byte order mark the text starts with.
qsizetype markSize(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8WithMark:
        return 3;
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian:
        return 2;
    default:
        return 0;
    }
}

} // namespace

TextEncoding encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8WithMark;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LittleEndian;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BigEndian;
    // Windows-1250 text with its accented letters is almost never valid UTF-8. Checked a piece at a
    // time into one small buffer.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString scratch(utf8.requiredSpace(kPieceSize), Qt::Uninitialized);
    for (qsizetype offset = 0; offset < bytes.size() && !utf8.hasError(); offset += kPieceSize)
        utf8.appendToBuffer(scratch.data(),
                            QByteArrayView(bytes).sliced(offset, std::min(kPieceSize, bytes.size() - offset)));
    return utf8.hasError() ? TextEncoding::CodePage : TextEncoding::Utf8;
}

TextReader::TextReader(const QByteArray &bytes, TextEncoding encoding) : bytes(bytes), offset(markSize(encoding))
{
    if (encoding != TextEncoding::CodePage)
        decoder.emplace(decoderEncoding(encoding));
}

void TextReader::skip(qsizetype count)
{
    while (count > 0 && !atEnd()) {
        const qsizetype step = std::min(count, buffer.size() - position);
        position += step;
        count -= step;
    }
}

bool TextReader::fill()
{
    buffer.resize(0);
    position = 0;
    while (buffer.isEmpty() && offset < bytes.size()) {
        const qsizetype size = std::min(kPieceSize, bytes.size() - offset);
        const QByteArrayView piece = QByteArrayView(bytes).sliced(offset, size);
        offset += size;
        if (decoder) {
            buffer.resize(decoder->requiredSpace(size));
            const QChar *end = decoder->appendToBuffer(buffer.data(), piece);
            buffer.resize(end - buffer.constData());
        } else {
            buffer = platform::fromCodePage(QByteArray::fromRawData(piece.data(), piece.size()));
        }
    }
    return !buffer.isEmpty();
}
