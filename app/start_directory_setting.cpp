// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_directory_setting.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QString decoded(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringDecoder::encodingForData(bytes).value_or(QStringConverter::Utf8))(bytes);
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLocal8Bit(bytes) : text;
}

} // namespace

std::optional<QString> configuredStartDirectory(const QByteArray &settings)
{
    static const QRegularExpression setting(QStringLiteral("^\\s*directory\\s*=(.*)$"));
    std::optional<QString> directory;
    for (const QString &line : decoded(settings).split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch match = setting.match(line); match.hasMatch()) {
            QString value = match.captured(1).trimmed();
            if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                value = value.mid(1, value.size() - 2);
            directory = value;
        }
    }
    if (!directory || directory->isEmpty())
        return std::nullopt;
    return directory;
}
