#pragma once

#include <QString>

namespace tb {

// The two number rules of the partner and employee screens, free of any window so that
// they can be tested on their own. Both measure and index the text as its bytes in Big5,
// as the columns hold it: a Chinese character counts two and is neither a digit nor a
// letter.

enum class BusinessNumberVerdict { Passes, WrongLength, Wrong };

// The unified business number: eight characters; each digit (any other character counts
// -1) times its weight 1, 2, 1, 2, 1, 2, 4, 1, each product reduced to the sum of its tens
// and units, all added up to S. The number passes when S is divisible by 5 (the rule in
// force since April 2023; every number that passed the former "by 10" passes too) or,
// when the seventh character is "7" (its product 28 counting 1 instead of 10), when S - 9
// is divisible by 5.
BusinessNumberVerdict checkBusinessNumber(const QString &text);

enum class NationalIdVerdict { Passes, WrongLength, FirstNotLetter, NotDigits, WrongContent };

// The national identity number: ten characters, a letter (either case) and nine digits;
// the letter's two-digit code (A 10 ... Z 33) gives its tens plus nine times its units
// (mod 10), the digits 2 to 9 add up with weights 8 down to 1, the last digit as it is,
// and the total must be divisible by 10. The verdicts come in that order of testing.
NationalIdVerdict checkNationalId(const QString &text);

// The text with the letters a to z in upper case and everything else as it was.
QString upperCaseLatin(const QString &text);

} // namespace tb
