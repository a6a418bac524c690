#include "data/records/tablelayout.h"

#include "data/book/sqlterms.h"

namespace tb {

void TableLayout::setIdentity(const QStringList &primaryKey)
{
    identityCols = primaryKey.isEmpty() ? QStringList{sqlterms::RowId} : primaryKey;
    tieCols.clear();
    for (const QString &c : std::as_const(identityCols))
        if (!orderCols.contains(c))
            tieCols << c;
}

bool TableLayout::identityIsRowId() const
{
    return identityCols == QStringList{sqlterms::RowId};
}

} // namespace tb
