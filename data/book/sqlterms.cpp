#include "data/book/sqlterms.h"

#include "data/book/schema.h"

namespace tb::sqlterms {

QString quoted(const QString &column)
{
    return column == RowId ? column : quoteName(column);
}

bool isNull(const QVariant &v)
{
    return v.isNull() || !v.isValid();
}

QString orderTerm(const QString &column, bool forward, bool nullable, bool postgres)
{
    QString term = quoted(column);
    if (!forward)
        term += QLatin1String(" DESC");
    if (postgres && nullable)
        term += forward ? QLatin1String(" NULLS FIRST") : QLatin1String(" NULLS LAST");
    return term;
}

QString eqTerm(const QString &column, const QVariant &v, QVariantList &binds)
{
    if (isNull(v))
        return quoted(column) + QLatin1String(" IS NULL");
    binds << v;
    return quoted(column) + QLatin1String(" = ?");
}

QString gtTerm(const QString &column, const QVariant &v, QVariantList &binds)
{
    if (isNull(v))
        return quoted(column) + QLatin1String(" IS NOT NULL");
    binds << v;
    return quoted(column) + QLatin1String(" > ?");
}

QString ltTerm(const QString &column, const QVariant &v, QVariantList &binds)
{
    if (isNull(v))
        return NoRow;
    binds << v;
    return QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(quoted(column));
}

QString rewritePlaceholders(const QString &sql, const std::function<QString(int)> &replacement)
{
    QString result;
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            result += replacement(n++);
            continue;
        }
        result += c;
    }
    return result;
}

QString lexTerm(const QStringList &columns, const QVariantList &values, bool after,
                bool inclusive, QVariantList &binds)
{
    QStringList alternatives;
    for (int i = 0; i < columns.size(); ++i) {
        QStringList all;
        for (int j = 0; j < i; ++j)
            all << eqTerm(columns[j], values[j], binds);
        all << (after ? gtTerm(columns[i], values[i], binds)
                      : ltTerm(columns[i], values[i], binds));
        alternatives << QLatin1Char('(') + all.join(QLatin1String(" AND ")) + QLatin1Char(')');
    }
    if (inclusive) {
        QStringList all;
        for (int j = 0; j < columns.size(); ++j)
            all << eqTerm(columns[j], values[j], binds);
        alternatives << QLatin1Char('(') + all.join(QLatin1String(" AND ")) + QLatin1Char(')');
    }
    return QLatin1Char('(') + alternatives.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

} // namespace tb::sqlterms
