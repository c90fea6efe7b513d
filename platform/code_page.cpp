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

bool codePageHolds(QChar character)
{
    if (character.isSurrogate())
        return false;
    const QString original(character);
    const QByteArray encoded = toCodePage(original);
    return encoded.size() == 1 && fromCodePage(encoded) == original;
}

} // namespace platform
