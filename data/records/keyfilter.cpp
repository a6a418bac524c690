#include "data/records/keyfilter.h"

#include "data/book/fieldvalue.h"

namespace tb {

using namespace sqlterms;

namespace {

int comparePrefix(const QVariantList &keys, const QVariantList &bound)
{
    for (int i = 0; i < bound.size() && i < keys.size(); ++i)
        if (const int c = fieldvalue::compareStored(keys[i], bound[i]))
            return c;
    return 0;
}

} // namespace

void KeyFilter::addTo(Where &s) const
{
    if (linked) {
        if (linkEmpty) {
            s.add(NoRow);
        } else {
            for (int i = 0; i < linkCols.size(); ++i)
                s.add(eqTerm(linkCols[i], linkValues.value(i), s.binds));
        }
    }
    if (!ranged)
        return;
    const QStringList cols = orderCols;
    if (!rangeStart.isEmpty()) {
        const QStringList prefix = cols.mid(0, rangeStart.size());
        if (!isNull(rangeStart[0])) {
            s.binds << rangeStart[0];
            s.add(quoted(prefix[0]) + QLatin1String(" >= ?"));
        }
        s.add(lexTerm(prefix, rangeStart, true, true, s.binds));
    }
    if (!rangeEnd.isEmpty()) {
        const QStringList prefix = cols.mid(0, rangeEnd.size());
        if (!isNull(rangeEnd[0])) {
            s.binds << rangeEnd[0];
            if (!rangeStart.isEmpty() && !isNull(rangeStart[0]))
                s.add(quoted(prefix[0]) + QLatin1String(" <= ?"));
            else
                s.add(QStringLiteral("(%1 <= ? OR %1 IS NULL)").arg(quoted(prefix[0])));
        }
        s.add(lexTerm(prefix, rangeEnd, false, true, s.binds));
    }
}

bool KeyFilter::accepts(const QVariantList &keys) const
{
    if (linked) {
        if (linkEmpty)
            return false;
        for (int i = 0; i < linkCols.size(); ++i) {
            const int k = int(filterCols.indexOf(linkCols[i]));
            if (fieldvalue::compareStored(keys.value(k), linkValues.value(i)))
                return false;
        }
    }
    if (ranged) {
        if (!rangeStart.isEmpty() && comparePrefix(keys, rangeStart) < 0)
            return false;
        if (!rangeEnd.isEmpty() && comparePrefix(keys, rangeEnd) > 0)
            return false;
    }
    return true;
}

} // namespace tb
