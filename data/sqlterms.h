#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace tb::sqlterms {

// The row identity column; never quoted.
inline const QString RowId = QStringLiteral("rowid");

QString quoted(const QString &column);
bool isNull(const QVariant &v);

// A WHERE clause under construction; every value is bound, never pasted.
struct Where
{
    QStringList terms;
    QVariantList binds;
    void add(const QString &condition) { terms << condition; }
};

// Terms of the order with NULL as the lowest value, the way SQLite sorts it. Each appends
// the value it compares with to binds (none for a null value).
QString eqTerm(const QString &column, const QVariant &v, QVariantList &binds);
QString gtTerm(const QString &column, const QVariant &v, QVariantList &binds);
QString ltTerm(const QString &column, const QVariant &v, QVariantList &binds);

// (columns) after / before (values) in lexicographic order, optionally equal too.
QString lexTerm(const QStringList &columns, const QVariantList &values, bool after,
                bool inclusive, QVariantList &binds);

} // namespace tb::sqlterms
