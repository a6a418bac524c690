#include "maintenance/numberchecks.h"

#include "data/book/big5.h"

#include <QStringView>

#include <array>

namespace tb {

namespace {

// The text as the bytes of its Big5 form: ASCII characters stay, every byte of any other
// character becomes NUL, which is neither a digit nor a letter.
QString big5Bytes(const QString &text)
{
    QString bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            bytes += c;
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const int width = big5::width(QStringView(text).mid(i, length));
        bytes += QString(width, QChar(0));
        i += length - 1;
    }
    return bytes;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Sum of the tens and the units of a product (the units with the product's sign).
int digitSum(int product)
{
    return product / 10 + product % 10;
}

} // namespace

BusinessNumberVerdict checkBusinessNumber(const QString &text)
{
    static constexpr std::array<int, 8> Weights{1, 2, 1, 2, 1, 2, 4, 1};
    const QString bytes = big5Bytes(text);
    if (bytes.size() != 8)
        return BusinessNumberVerdict::WrongLength;
    int sum = 0;
    for (int i = 0; i < 8; ++i) {
        const int value = isDigit(bytes.at(i)) ? bytes.at(i).unicode() - u'0' : -1;
        sum += digitSum(value * Weights[size_t(i)]);
    }
    if (sum % 5 == 0)
        return BusinessNumberVerdict::Passes;
    if (bytes.at(6) == u'7' && (sum - 9) % 5 == 0)
        return BusinessNumberVerdict::Passes;
    return BusinessNumberVerdict::Wrong;
}

NationalIdVerdict checkNationalId(const QString &text)
{
    // Codes of the letters A to Z.
    static constexpr std::array<int, 26> LetterCodes{10, 11, 12, 13, 14, 15, 16, 17, 34,
                                                     18, 19, 20, 21, 22, 35, 23, 24, 25,
                                                     26, 27, 28, 29, 32, 30, 31, 33};
    const QString bytes = upperCaseLatin(big5Bytes(text));
    if (bytes.size() != 10)
        return NationalIdVerdict::WrongLength;
    const QChar letter = bytes.at(0);
    if (letter < u'A' || letter > u'Z')
        return NationalIdVerdict::FirstNotLetter;
    for (int i = 1; i < 10; ++i)
        if (!isDigit(bytes.at(i)))
            return NationalIdVerdict::NotDigits;
    const int code = LetterCodes[size_t(letter.unicode() - u'A')];
    int sum = code / 10 + (9 * code) % 10;
    for (int i = 1; i < 9; ++i)
        sum += (bytes.at(i).unicode() - u'0') * (9 - i);
    sum += bytes.at(9).unicode() - u'0';
    return sum % 10 == 0 ? NationalIdVerdict::Passes : NationalIdVerdict::WrongContent;
}

QString upperCaseLatin(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return upper;
}

} // namespace tb
