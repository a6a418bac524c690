#include "sales/pdftextmap.h"

#include <QChar>
#include <QRawFont>
#include <QString>

namespace tb {

namespace {

struct Range
{
    char16_t first, last;
};

// Characters that stand below the unified ideographs, so Qt picks them first for a glyph
// they share with one: radicals (supplement and Kangxi), Kanbun marks and strokes.
constexpr Range StandIns[] = {{0x2E80, 0x2FDF}, {0x3190, 0x319F}, {0x31C0, 0x31EF}};
// The ideographs they stand in for: the unified block, then extension A.
constexpr Range Ideographs[] = {{0x4E00, 0x9FFF}, {0x3400, 0x4DBF}};

QString charactersOf(const Range &range)
{
    QString text;
    for (char32_t c = range.first; c <= range.last; ++c)
        text += QChar(char16_t(c));
    return text;
}

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

void correctAt(const PdfTextMap &map, QByteArray &data, qsizetype pos)
{
    const int code = hexCode(data, pos);
    if (code < 0)
        return;
    const char16_t plain = map.plainCodePoint(char16_t(code));
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
void correctChars(const PdfTextMap &map, QByteArray &data, qsizetype from, qsizetype to)
{
    for (qsizetype pos = from;;) {
        const qsizetype source = nextToken(data, pos, to);
        const qsizetype text = source < 0 ? -1 : nextToken(data, source + 1, to);
        if (text < 0)
            return;
        correctAt(map, data, text);
        pos = text + 1;
    }
}

// "<first> <last> <dst>" maps a run of glyphs to consecutive code points, so only a run of
// one glyph can take another; "<first> <last> [<dst> ...]" gives each glyph its own.
void correctRanges(const PdfTextMap &map, QByteArray &data, qsizetype from, qsizetype to)
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
                correctAt(map, data, t);
            pos = close + 1;
            continue;
        }
        const qsizetype text = nextToken(data, pos, to);
        if (text < 0)
            return;
        if (hexCode(data, first) >= 0 && hexCode(data, first) == hexCode(data, last))
            correctAt(map, data, text);
        pos = text + 1;
    }
}

void correctSections(const PdfTextMap &map, QByteArray &data, const char *begin,
                     const char *end,
                     void (*correct)(const PdfTextMap &, QByteArray &, qsizetype, qsizetype))
{
    for (qsizetype at = data.indexOf(begin); at >= 0; at = data.indexOf(begin, at)) {
        const qsizetype from = at + qsizetype(qstrlen(begin));
        const qsizetype to = data.indexOf(end, from);
        if (to < 0)
            return;
        correct(map, data, from, to);
        at = to;
    }
}

} // namespace

PdfTextMap::PdfTextMap(const QRawFont &font)
{
    QHash<quint32, char16_t> ideographOfGlyph;
    for (const Range &range : Ideographs) {
        const QString text = charactersOf(range);
        const QList<quint32> glyphs = font.glyphIndexesForString(text);
        for (qsizetype i = 0; i < glyphs.size() && i < text.size(); ++i)
            if (glyphs[i] != 0 && !ideographOfGlyph.contains(glyphs[i]))
                ideographOfGlyph.insert(glyphs[i], text.at(i).unicode());
    }
    for (const Range &range : StandIns) {
        const QString text = charactersOf(range);
        const QList<quint32> glyphs = font.glyphIndexesForString(text);
        for (qsizetype i = 0; i < glyphs.size() && i < text.size(); ++i)
            if (const char16_t ideograph = ideographOfGlyph.value(glyphs[i], 0))
                m_plain.insert(text.at(i).unicode(), ideograph);
    }
}

char16_t PdfTextMap::plainCodePoint(char16_t codePoint) const
{
    // The text drawn holds no control characters: a glyph named by one is a blank.
    if (codePoint > 0 && codePoint < 0x20)
        return u' ';
    return m_plain.value(codePoint, codePoint);
}

QByteArray PdfTextMap::corrected(QByteArray pdf) const
{
    correctSections(*this, pdf, "beginbfchar", "endbfchar", correctChars);
    correctSections(*this, pdf, "beginbfrange", "endbfrange", correctRanges);
    return pdf;
}

} // namespace tb
