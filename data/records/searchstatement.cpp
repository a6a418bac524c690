#include "data/records/searchstatement.h"

#include "data/records/dataset.h"
#include "data/book/errors.h"
#include "data/book/shortdate.h"
#include "data/records/sqlquery.h"

#include <QRegularExpression>

namespace tb {

SearchStatement::SearchStatement(QString table, QStringList selectLines, QString fromLine,
                                 QList<SearchColumn> columns)
    : m_table(std::move(table)), m_selectLines(std::move(selectLines)),
      m_fromLine(std::move(fromLine)), m_columns(std::move(columns))
{
}

std::vector<ColumnDef> SearchStatement::resultColumns() const
{
    const TableDef *table = Schema::table(m_table);
    if (!table)
        throw DatabaseError(formatMessage(QStringLiteral("Table '%s' does not exist"),
                                          {m_table}));
    QString list = m_selectLines.join(QLatin1Char(' ')).trimmed();
    static const QRegularExpression select(QStringLiteral("^select\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    list.remove(select);
    static const QRegularExpression item(QStringLiteral("^(\\S+)\\s+as\\s+(\\S+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::vector<ColumnDef> result;
    for (const QString &text : list.split(QLatin1Char(','))) {
        const QRegularExpressionMatch m = item.match(text.trimmed());
        const ColumnDef *column = m.hasMatch() ? table->column(m.captured(1)) : nullptr;
        if (!column)
            throw DatabaseError(formatMessage(QStringLiteral("'%s' names no column of '%s'"),
                                              {text.trimmed(), m_table}));
        result.push_back({m.captured(2), column->type, column->size});
    }
    return result;
}

void SearchStatement::declareFields(DataSet &query) const
{
    for (const ColumnDef &column : resultColumns())
        query.AddField(column.name, column.type, column.size);
}

void SearchStatement::applyTo(SqlQuery &query, int column, const QString &value) const
{
    QString fromLine = m_fromLine;
    QVariantList params;
    if (!value.isEmpty()) {
        if (column < 0 || column >= m_columns.size())
            throw DatabaseError(QStringLiteral("No column is chosen to search"));
        const SearchColumn &searched = m_columns.at(column);
        if (searched.date) {
            const QDate date = ShortDate::parse(value);
            if (!date.isValid())
                throw DatabaseError(formatMessage(QStringLiteral("'%s' is not a valid date"),
                                                  {value}));
            params << date;
        } else {
            params << value;
        }
        fromLine = searched.whereFragment + QLatin1String(" ?");
    }
    query.SQL().Clear();
    for (const QString &line : m_selectLines)
        query.SQL().Add(line);
    query.SQL().Add(fromLine);
    query.setParams(params);
}

} // namespace tb
