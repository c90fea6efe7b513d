// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/text_decoding.h"

#include "platform/code_page.h"

#include <QStringDecoder>

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    // Windows-1250 text with its accented letters is almost never valid UTF-8.
    return utf8.hasError() ? platform::fromCodePage(bytes) : text;
}
