#pragma once

#include <QByteArray>
#include <QHash>

class QRawFont;

namespace tb {

// Puts right the text that Qt's PDF writer records behind each glyph (the ToUnicode maps
// of its embedded fonts), which is what a reader copies, searches and extracts.
//
// Qt names a glyph by the lowest code point that the font draws with it. The CJK fonts
// draw a radical and its ideograph with one glyph, so 頁, 金 and 長 would read back as
// the radicals ⾴, ⾦ and ⻑; and several fonts draw a tab with the space's glyph, so a
// space reads back as a tab. Learned from the font, each such entry is rewritten to the
// character the text holds; every entry keeps its length, so the file's cross-reference
// offsets stay valid.
class PdfTextMap
{
public:
    explicit PdfTextMap(const QRawFont &font);

    QByteArray corrected(QByteArray pdf) const;
    // The code point a reader should get for a glyph that Qt names by codePoint.
    char16_t plainCodePoint(char16_t codePoint) const;

private:
    QHash<char16_t, char16_t> m_plain;
};

} // namespace tb
