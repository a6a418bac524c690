#include "sales/quotetotals.h"

#include "data/fieldvalue.h"

namespace tb {

QuoteTotals QuoteTotals::fromSum(double sum)
{
    // The total is computed from the unrounded tax, as the sum of whole line amounts plus
    // a tax of at most one half rounds to subtotal + rounded tax.
    const double tax = sum * TaxRate;
    return {fieldvalue::roundHalfEven(sum), fieldvalue::roundHalfEven(tax),
            fieldvalue::roundHalfEven(sum + tax)};
}

} // namespace tb
