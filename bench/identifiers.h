#pragma once

// Identifier rules of the generated data: record numbers, document numbers and the two
// Taiwanese check-digit numbers. Header-only so that the generator's test can use it.

#include <QString>
#include <QStringView>

#include <cstdint>

namespace tb::benchdata {

// A small, fast, seedable generator (splitmix64). A row's generator is derived from the
// seed, its table and its row number, so any row can be re-made without the others.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    Rng(std::uint64_t seed, std::uint64_t stream, std::uint64_t index)
        : m_state(mix(seed ^ mix(stream * 0x9E3779B97F4A7C15ULL + index)))
    {}

    std::uint64_t next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        return mix(m_state);
    }
    // Uniform in [lo, hi].
    int range(int lo, int hi)
    {
        return lo + int(next() % std::uint64_t(hi - lo + 1));
    }
    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(int percent) { return range(0, 99) < percent; }
    template<typename T, std::size_t N>
    const T &pick(const T (&items)[N])
    {
        return items[range(0, int(N) - 1)];
    }

private:
    static std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t m_state;
};

// Prefix followed by the number zero-padded to the given digits ("PR", 41, 6: "PR000041").
inline QString recordNumber(QStringView prefix, qint64 number, int digits)
{
    return prefix.toString() + QString::number(number).rightJustified(digits, QLatin1Char('0'));
}

// ---- Business registration number (統一編號) -------------------------------------------

// The check the customer and supplier screens make: eight characters, each worth its digit
// or -1, weighted 1,2,1,2,1,2,4,1, products reduced to tens + units; the sum must be
// divisible by 10, or, when the seventh character is "7", the sum less 9.
inline bool isValidEarNo(QStringView text)
{
    if (text.size() != 8)
        return false;
    static constexpr int weights[8] = {1, 2, 1, 2, 1, 2, 4, 1};
    int sum = 0;
    for (int i = 0; i < 8; ++i) {
        const QChar c = text[i];
        const int value = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.digitValue() : -1;
        const int product = value * weights[i];
        sum += product / 10 + product % 10;
    }
    if (sum % 10 == 0)
        return true;
    return text[6] == QLatin1Char('7') && (sum - 9) % 10 == 0;
}

// A valid number: seven random digits and the eighth chosen to close the sum.
inline QString makeEarNo(Rng &rng)
{
    static constexpr int weights[7] = {1, 2, 1, 2, 1, 2, 4};
    QString text;
    text.reserve(8);
    int sum = 0;
    for (int i = 0; i < 7; ++i) {
        const int digit = rng.range(0, 9);
        const int product = digit * weights[i];
        sum += product / 10 + product % 10;
        text.append(QChar(u'0' + digit));
    }
    text.append(QChar(u'0' + (10 - sum % 10) % 10));
    return text;
}

// ---- National identity number (身份證字號) ---------------------------------------------

// Two-digit code of the initial letter, A..Z.
inline int nationalIdLetterCode(QChar letter)
{
    static constexpr int codes[26] = {10, 11, 12, 13, 14, 15, 16, 17, 34, 18, 19, 20, 21,
                                      22, 35, 23, 24, 25, 26, 27, 28, 29, 32, 30, 31, 33};
    const char16_t c = letter.unicode();
    return (c >= u'A' && c <= u'Z') ? codes[c - u'A'] : -1;
}

// The check the employee screen makes: an upper-case letter and nine digits; the letter's
// code c gives c/10 + (9c mod 10), digits two to nine are weighted 8..1, the last adds
// itself, and the total must be divisible by 10.
inline bool isValidNationalId(QStringView text)
{
    if (text.size() != 10)
        return false;
    const int code = nationalIdLetterCode(text[0]);
    if (code < 0)
        return false;
    int sum = code / 10 + (9 * code) % 10;
    for (int i = 1; i < 10; ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        sum += c.digitValue() * (i < 9 ? 9 - i : 1);
    }
    return sum % 10 == 0;
}

// A valid number; the second digit is 1 for men and 2 for women, as issued.
inline QString makeNationalId(Rng &rng, bool male)
{
    const QChar letter(u'A' + rng.range(0, 25));
    const int code = nationalIdLetterCode(letter);
    int sum = code / 10 + (9 * code) % 10;
    QString text(letter);
    text.reserve(10);
    for (int i = 1; i < 9; ++i) {
        const int digit = i == 1 ? (male ? 1 : 2) : rng.range(0, 9);
        sum += digit * (9 - i);
        text.append(QChar(u'0' + digit));
    }
    text.append(QChar(u'0' + (10 - sum % 10) % 10));
    return text;
}

} // namespace tb::benchdata
