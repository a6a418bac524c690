#pragma once

#include "data/book/sqlterms.h"

#include <QStringList>
#include <QVariantList>

namespace tb {

// Which rows a table cursor shows: those whose link columns equal its master's current
// values, within its key range on the leading order columns (both bounds inclusive).
// Written once as SQL terms for the keyset statements and once as a test on the keys a
// cache holds, side by side, so that the two agree.
struct KeyFilter
{
    QStringList orderCols;
    QStringList filterCols;  // layout of a row's keys: order columns, then link columns
    bool linked = false;     // a master link is set
    bool linkEmpty = false;  // the master has no row (or no key): no rows at all
    QStringList linkCols;    // the detail columns
    QVariantList linkValues; // stored form, per link column
    bool ranged = false;
    QVariantList rangeStart; // stored form, per leading order column
    QVariantList rangeEnd;

    void addTo(sqlterms::Where &where) const;
    bool accepts(const QVariantList &keys) const;
};

} // namespace tb
