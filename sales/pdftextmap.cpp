#include "sales/pdftextmap.h"

#include <QChar>
#include <QString>

namespace tb {

namespace {

// CJK Radicals Supplement and Kangxi Radicals: below the unified ideographs, so Qt picks
// them first for a glyph they share.
constexpr char16_t RadicalsFirst = 0x2E80;
constexpr char16_t RadicalsLast = 0x2FDF;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A four-digit hex string "<XXXX>" at pos: its value, or -1.
int hexCode(const QByteArray &data, qsizetype pos)
{
    if (pos + 6 > data.size() || data[pos] != '<' || data[pos + 5] != '>')
        return -1;
    int value = 0;
    for (int i = 1; i <= 4; ++i) {
        const int digit = hexDigit(data[pos + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

void putHexCode(QByteArray &data, qsizetype pos, int value)
{
    const QByteArray digits = QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
    data.replace(pos + 1, 4, digits);
}

void correctAt(QByteArray &data, qsizetype pos)
{
    const int code = hexCode(data, pos);
    if (code < 0)
        return;
    const char16_t plain = PdfTextMap::plainCodePoint(char16_t(code));
    if (plain != code)
        putHexCode(data, pos, plain);
}

// The next "<hex>" token from pos, or -1 before a '[' or the end.
qsizetype nextToken(const QByteArray &data, qsizetype pos, qsizetype to)
{
    for (; pos < to; ++pos) {
        if (data[pos] == '<')
            return pos;
        if (data[pos] == '[' || data[pos] == ']')
            return -1;
    }
    return -1;
}

qsizetype skipSpace(const QByteArray &data, qsizetype pos, qsizetype to)
{
    while (pos < to && QChar::isSpace(uchar(data[pos])))
        ++pos;
    return pos;
}

// "<src> <dst>" pairs: the second of each is the text.
void correctChars(QByteArray &data, qsizetype from, qsizetype to)
{
    for (qsizetype pos = from;;) {
        const qsizetype source = nextToken(data, pos, to);
        const qsizetype text = source < 0 ? -1 : nextToken(data, source + 1, to);
        if (text < 0)
            return;
        correctAt(data, text);
        pos = text + 1;
    }
}

// "<first> <last> <dst>" maps a run of glyphs to consecutive code points, so only a run of
// one glyph can take another; "<first> <last> [<dst> ...]" gives each glyph its own.
void correctRanges(QByteArray &data, qsizetype from, qsizetype to)
{
    for (qsizetype pos = from;;) {
        const qsizetype first = nextToken(data, pos, to);
        const qsizetype last = first < 0 ? -1 : nextToken(data, first + 1, to);
        if (last < 0)
            return;
        pos = skipSpace(data, data.indexOf('>', last) + 1, to);
        if (pos < to && data[pos] == '[') {
            const qsizetype close = data.indexOf(']', pos);
            if (close < 0 || close > to)
                return;
            for (qsizetype t = nextToken(data, pos + 1, close); t >= 0;
                 t = nextToken(data, t + 1, close))
                correctAt(data, t);
            pos = close + 1;
            continue;
        }
        const qsizetype text = nextToken(data, pos, to);
        if (text < 0)
            return;
        if (hexCode(data, first) >= 0 && hexCode(data, first) == hexCode(data, last))
            correctAt(data, text);
        pos = text + 1;
    }
}

void correctSections(QByteArray &data, const char *begin, const char *end,
                     void (*correct)(QByteArray &, qsizetype, qsizetype))
{
    for (qsizetype at = data.indexOf(begin); at >= 0; at = data.indexOf(begin, at)) {
        const qsizetype from = at + qsizetype(qstrlen(begin));
        const qsizetype to = data.indexOf(end, from);
        if (to < 0)
            return;
        correct(data, from, to);
        at = to;
    }
}

} // namespace

char16_t PdfTextMap::plainCodePoint(char16_t codePoint)
{
    if (codePoint > 0 && codePoint < 0x20)
        return u' ';
    if (codePoint < RadicalsFirst || codePoint > RadicalsLast)
        return codePoint;
    const QString decomposed = QChar(codePoint).decomposition();
    return decomposed.size() == 1 ? decomposed.at(0).unicode() : codePoint;
}

QByteArray PdfTextMap::corrected(QByteArray pdf)
{
    correctSections(pdf, "beginbfchar", "endbfchar", correctChars);
    correctSections(pdf, "beginbfrange", "endbfrange", correctRanges);
    return pdf;
}

} // namespace tb
