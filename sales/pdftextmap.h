#pragma once

#include <QByteArray>

namespace tb {

// Puts right the text that Qt's PDF writer records behind each glyph (the ToUnicode maps
// of its embedded fonts), which is what a reader copies, searches and extracts.
//
// Qt maps a glyph back to the lowest code point that the font maps to it. The CJK fonts
// draw a Kangxi radical and its ideograph with one glyph, so 頁, 金 and 日 would read back
// as the radicals ⾴, ⾦ and ⽇; and the space of several fonts reads back as a tab. The map
// is rewritten in place, each entry to the code point that the text holds: the ideograph
// a radical stands for, a space for a control character. Every entry keeps its length, so
// the file's cross-reference offsets stay valid.
class PdfTextMap
{
public:
    static QByteArray corrected(QByteArray pdf);

    // The code point a reader should get for a glyph that the map gives as codePoint.
    static char16_t plainCodePoint(char16_t codePoint);
};

} // namespace tb
