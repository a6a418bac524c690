#include "data/big5.h"

#include <QHash>
#include <QStringEncoder>

namespace tb::big5 {

namespace {

bool isAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Encodes with Big5; an unencodable character becomes one substitute byte.
QByteArray encode(QStringView text, bool *ok)
{
    QStringEncoder encoder("Big5");
    QByteArray bytes = encoder.encode(text);
    *ok = !encoder.hasError();
    return bytes;
}

int charWidth(char32_t codePoint)
{
    if (codePoint < 0x80)
        return 1;
    static QHash<char32_t, int> cache;
    auto it = cache.constFind(codePoint);
    if (it != cache.constEnd())
        return *it;
    bool ok = false;
    const int w = int(encode(QString::fromUcs4(&codePoint, 1), &ok).size());
    return *cache.insert(codePoint, ok ? w : 1);
}

} // namespace

int width(QStringView text)
{
    if (isAscii(text))
        return int(text.size());
    bool ok = false;
    return int(encode(text, &ok).size());
}

bool isEncodable(QStringView text)
{
    if (isAscii(text))
        return true;
    bool ok = false;
    encode(text, &ok);
    return ok;
}

QString truncated(const QString &text, int maxBytes)
{
    if (width(text) <= maxBytes)
        return text;
    int used = 0;
    qsizetype end = 0;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size()
                          && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1])
                                : char32_t(text[i].unicode());
        const int w = charWidth(c);
        if (used + w > maxBytes)
            break;
        used += w;
        i += pair ? 2 : 1;
        end = i;
    }
    return text.left(end);
}

} // namespace tb::big5
