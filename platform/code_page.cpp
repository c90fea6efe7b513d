#include "platform/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <bitset>

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
    // The characters the code page holds are those its 256 bytes decode to and encode back from;
    // worked out once, as this is asked for every character typed and every cell read.
    static const std::bitset<0x10000> held = [] {
        std::bitset<0x10000> characters;
        QStringDecoder decoder(kCodePage);
        QStringEncoder encoder(kCodePage);
        for (int byte = 0; byte < 256; ++byte) {
            const QByteArray encoded(1, char(byte));
            const QString decoded = decoder.decode(encoded);
            if (decoded.size() == 1 && !decoded.front().isSurrogate() && QByteArray(encoder.encode(decoded)) == encoded)
                characters.set(decoded.front().unicode());
        }
        return characters;
    }();
    return held.test(character.unicode());
}

} // namespace platform
