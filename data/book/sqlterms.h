#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

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

// A condition no row meets.
inline const QString NoRow = QStringLiteral("1 = 0");

// A column of an ORDER BY or of an index, ascending (forward) or descending, NULL first
// ascending as SQLite sorts it. A server sorts NULL last unless told; a column that cannot
// hold NULL (a key column) is left plain so that it matches the primary key's own index.
QString orderTerm(const QString &column, bool forward, bool nullable, bool postgres);

// Terms of the order with NULL as the lowest value, the way SQLite sorts it. Each appends
// the value it compares with to binds (none for a null value).
QString eqTerm(const QString &column, const QVariant &v, QVariantList &binds);
QString gtTerm(const QString &column, const QVariant &v, QVariantList &binds);
QString ltTerm(const QString &column, const QVariant &v, QVariantList &binds);

// The statement with each "?" placeholder outside quotes replaced by what replacement gives
// for its position (0, 1, ...); text between quotes is left alone.
QString rewritePlaceholders(const QString &sql, const std::function<QString(int)> &replacement);

// (columns) after / before (values) in lexicographic order, optionally equal too.
QString lexTerm(const QStringList &columns, const QVariantList &values, bool after,
                bool inclusive, QVariantList &binds);

} // namespace tb::sqlterms
