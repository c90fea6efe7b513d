#include "platform/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

namespace {
constexpr const char *kCodePage = "windows-1250";
}

QString fromCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

QByteArray toCodePage(const QString &text)
{
    QStringEncoder encoder(kCodePage);
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

QByteArray toCodePageOrQuestionMark(const QString &text)
{
    QString held;
    held.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar character = text.at(i);
        if (character.unicode() < 0x80 || codePageHolds(character)) {
            held.append(character);
            continue;
        }
        // A surrogate pair is one character.
        if (character.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        held.append(QLatin1Char('?'));
    }
    return toCodePage(held);
}

bool codePageHolds(QChar character)
{
    if (character.isSurrogate())
        return false;
    const QString original(character);
    const QByteArray encoded = toCodePage(original);
    return encoded.size() == 1 && fromCodePage(encoded) == original;
}

} // namespace platform
