#include "sales/quotetotals.h"

#include "data/book/fieldvalue.h"

#include <limits>

namespace tb {

QuoteTotals QuoteTotals::fromSum(double sum)
{
    // The total is the sum plus the unrounded tax, rounded once as it is stored; for a sum
    // of whole line amounts that is always the subtotal plus the rounded tax.
    const double tax = sum * TaxRate;
    return {fieldvalue::roundHalfEven(sum), fieldvalue::roundHalfEven(tax),
            fieldvalue::roundHalfEven(sum + tax)};
}

bool QuoteTotals::fits(qint64 amount)
{
    return amount >= std::numeric_limits<qint32>::min()
           && amount <= std::numeric_limits<qint32>::max();
}

} // namespace tb
