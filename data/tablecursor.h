#pragma once

#include "data/dataset.h"

#include <QStringList>

namespace tb {

// A record set over one table, read through an index order without ever loading the
// table: open, First, Last, Next, Prior, Locate, FindKey and a key range are each one
// indexed query (keyset navigation on the order's fields plus the row identity).
class TableCursor : public DataSet
{
    Q_OBJECT
public:
    explicit TableCursor(QObject *parent = nullptr);
    ~TableCursor() override;

    void setDatabaseName(const QString &alias);   // default "misAccess"
    QString DatabaseName() const;
    void setTableName(const QString &table);
    QString TableName() const;

    // Reading order: fields separated by ";" (default: the primary key, else row order).
    void setIndexFieldNames(const QString &fields);
    QString IndexFieldNames() const;
    // Reading order by one of the table's named indexes (for example "DeliveryID").
    void setIndexName(const QString &indexName);
    QStringList IndexFields() const;

    // Master/detail: show only rows whose fields (the first fields of the index order, or
    // the named detail fields) equal the master's fields; follow the master as it moves;
    // fill them into a new row.
    void setMasterSource(DataSource *master);
    void setMasterFields(const QString &masterFields);
    void setDetailFields(const QString &detailFields); // default: the index fields

    // Exact match on the leading index fields; moves there and returns true, or stays.
    bool FindKey(const QVariantList &keyValues);

    // Key range over the leading index fields, both bounds inclusive.
    void SetRangeStart(const QVariantList &values);
    void SetRangeEnd(const QVariantList &values);
    void ApplyRange();
    void SetRange(const QVariantList &start, const QVariantList &end);
    void CancelRange();

    int CompareBookmarks(const Bookmark &a, const Bookmark &b) const override;
    QVector<RowSnapshot> ReadRows(const Bookmark &anchor, int count,
                                  bool forward) const override;
};

} // namespace tb
