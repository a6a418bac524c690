#pragma once

#include "data/records/dataset.h"

#include <QStringList>

#include <functional>
#include <memory>

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

    // With cached updates: whether the current row waits to be inserted, or was read from
    // the table (and may wait to be changed). A line read from the table is never one the
    // user typed, whatever header number it carries.
    bool RowPendingInsert() const;

    int CompareBookmarks(const Bookmark &a, const Bookmark &b) const override;
    QVector<RowSnapshot> ReadRows(const Bookmark &anchor, int count,
                                  bool forward) const override;

protected:
    void openCursor() override;
    void closeCursor() override;
    OptRow readFirst() const override;
    OptRow readLast() const override;
    OptRow readNext(const Bookmark &from) const override;
    OptRow readPrior(const Bookmark &from) const override;
    OptRow readRow(const Bookmark &bookmark) const override;
    OptRow readLocate(const QList<Field *> &fields, const QVariantList &values) const override;
    bool isReadOnly() const override { return false; }
    Bookmark writeInsert(const QVector<QVariant> &values) override;
    Bookmark writeUpdate(const Bookmark &bookmark, const QVector<QVariant> &oldValues,
                         const QVector<QVariant> &values) override;
    void writeDelete(const Bookmark &bookmark) override;
    void initNewRecord(QVector<QVariant> &values) override;
    void refreshCursor() override;
    void cachedUpdatesChanged() override;
    bool hasPendingUpdates() const override;
    void applyPendingUpdates() override;
    void cancelPendingUpdates() override;
    QSqlDatabase writeConnection() const override;
    std::function<void()> saveDriverState() override;

private:
    struct Private;
    class MasterLink;
    std::unique_ptr<Private> p;
    void masterChanged(bool force);
    void orderChanged();
};

} // namespace tb
