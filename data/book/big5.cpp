#include "data/book/big5.h"

#include <QHash>
#include <QStringEncoder>

namespace tb::big5 {

namespace {

bool isPrintableAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
            return false;
    return true;
}

bool isIdeograph(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF)     // extension A
        || (c >= 0x4E00 && c <= 0x9FFF)     // unified ideographs
        || (c >= 0xF900 && c <= 0xFAFF)     // compatibility ideographs
        || (c >= 0x20000 && c <= 0x2FA1F)   // extensions B to F, I; compatibility supplement
        || (c >= 0x30000 && c <= 0x323AF);  // extensions G and H
}

// Big5 bytes of one character; 0 when Big5 has no encoding for it.
int encodedWidth(char32_t c)
{
    static QHash<char32_t, int> cache;
    auto it = cache.constFind(c);
    if (it != cache.constEnd())
        return *it;
    QStringEncoder encoder("Big5");
    const QByteArray bytes = encoder.encode(QString::fromUcs4(&c, 1));
    return *cache.insert(c, encoder.hasError() ? 0 : int(bytes.size()));
}

// Bytes one character takes; -1 when it cannot be stored.
int charWidth(char32_t c, bool multiLine)
{
    if (c >= 0x20 && c < 0x7F)
        return 1;
    if (c < 0x20 || c == 0x7F)
        return multiLine && (c == '\n' || c == '\r' || c == '\t') ? 1 : -1;
    if (c >= 0x80 && c < 0xA0) // C1 controls
        return -1;
    if (const int w = encodedWidth(c))
        return w;
    return isIdeograph(c) ? 2 : -1;
}

// Walks the characters of a text; a lone surrogate comes as itself (and is refused).
template<typename Visit>
void forEachCharacter(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size()
                          && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1])
                                : char32_t(text[i].unicode());
        const qsizetype length = pair ? 2 : 1;
        if (!visit(c, i, length))
            return;
        i += length;
    }
}

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

int width(QStringView text)
{
    if (isPrintableAscii(text))
        return int(text.size());
    int total = 0;
    forEachCharacter(text, [&](char32_t c, qsizetype, qsizetype) {
        const int w = isSurrogate(c) ? -1 : charWidth(c, true);
        total += w > 0 ? w : 1;
        return true;
    });
    return total;
}

qsizetype firstUnstorable(QStringView text, bool multiLine)
{
    if (isPrintableAscii(text))
        return -1;
    qsizetype refused = -1;
    forEachCharacter(text, [&](char32_t c, qsizetype i, qsizetype) {
        if (isSurrogate(c) || charWidth(c, multiLine) < 0) {
            refused = i;
            return false;
        }
        return true;
    });
    return refused;
}

bool isStorable(QStringView text, bool multiLine)
{
    return firstUnstorable(text, multiLine) < 0;
}

bool isEncodable(QStringView text)
{
    if (isPrintableAscii(text))
        return true;
    bool encodable = true;
    forEachCharacter(text, [&](char32_t c, qsizetype, qsizetype) {
        encodable = c < 0x80 || (!isSurrogate(c) && encodedWidth(c) > 0);
        return encodable;
    });
    return encodable;
}

QString truncated(const QString &text, int maxBytes)
{
    if (width(text) <= maxBytes)
        return text;
    int used = 0;
    qsizetype end = 0;
    forEachCharacter(text, [&](char32_t c, qsizetype i, qsizetype length) {
        const int w = isSurrogate(c) ? 1 : qMax(1, charWidth(c, true));
        if (used + w > maxBytes)
            return false;
        used += w;
        end = i + length;
        return true;
    });
    return text.left(end);
}

} // namespace tb::big5
