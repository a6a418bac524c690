#pragma once

#include <QtGlobal>

namespace tb {

// The money of a quotation header, from the sum of its line amounts: the subtotal, the
// fixed 5 % business tax and the total, each rounded to a whole number the way an integer
// field stores a computed value (exactly halfway goes to the even neighbour).
struct QuoteTotals
{
    static constexpr double TaxRate = 0.05;

    qint64 subTotal = 0;
    qint64 tax = 0;
    qint64 amount = 0;

    static QuoteTotals fromSum(double sum);
    // True when an integer field can hold the amount.
    static bool fits(qint64 amount);
};

} // namespace tb
