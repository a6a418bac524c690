#pragma once

#include <QString>

namespace tb::big5 {

// Width of a text in bytes of the Big5 code page (a Chinese character takes two).
// Characters that Big5 cannot encode count as one byte each; use isEncodable() to refuse them.
int width(QStringView text);

// True when every character of the text has a Big5 encoding.
bool isEncodable(QStringView text);

// The longest prefix of the text whose Big5 width is at most maxBytes
// (never splits a character or a surrogate pair).
QString truncated(const QString &text, int maxBytes);

} // namespace tb::big5
