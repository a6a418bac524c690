#pragma once

#include <QString>

namespace tb::big5 {

// Texts are stored as UTF-8 but measured, as the columns were drawn for, in bytes of the
// Big5 code page (a Chinese character takes two).
//
// What may be stored: printable ASCII, every character Big5 encodes, and every CJK
// ideograph (unified, its extensions, compatibility). An ideograph that Big5 lacks
// (喆, 堃, 峯) counts two bytes, as the user-defined character that stood for it did.
// Anything else (emoji, control characters, a lone surrogate) cannot be stored; memos
// also take line breaks and tabs.

// Width of a text in Big5 bytes; a character that cannot be stored counts one byte.
int width(QStringView text);

// True when every character of the text may be stored.
bool isStorable(QStringView text, bool multiLine = false);

// True when every character of the text has a Big5 encoding (the data generator writes
// only such text).
bool isEncodable(QStringView text);

// The longest prefix of the text whose Big5 width is at most maxBytes
// (never splits a character or a surrogate pair).
QString truncated(const QString &text, int maxBytes);

// Where the first character that cannot be stored starts; -1 when there is none.
qsizetype firstUnstorable(QStringView text, bool multiLine = false);

} // namespace tb::big5
