#pragma once

#include "data/records/field.h"

#include <QObject>
#include <QSqlDatabase>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tb {

class DataSource;
class RecordRules;
struct DataSetSnapshot;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// Field names separated by ";", trimmed, empty ones dropped.
QStringList splitFieldNames(const QString &names);

// Opaque position of a row; null for "no row". Valid until the row is deleted.
using Bookmark = QVariant;

// One row read for a grid, without moving the cursor.
struct RowSnapshot
{
    Bookmark bookmark;
    QVector<QVariant> values; // by Field::Index(), lookup and calculated fields included
};

// The record set state machine shared by table cursors and queries.
//
// A record set speaks one way: what happened is a signal (below); what may refuse or change
// a record goes through the rules object installed with setRules; bound controls hear their
// DataSource's signals, and write what they hold through its edit holders.
//
// Event order (the screens rely on it):
//  Insert/Append: a record in edit/insert is posted if modified, else cancelled; a blank
//    record is created; state Insert; master link fields filled; rules newRecord;
//    recordInserted, scrolled. Defaults set in newRecord do not mark the record modified.
//  Post: bound controls write their text (EditHolder::writePendingEdit, validateField runs);
//    rules beforePost; row written; state Browse; posted. An error leaves edit/insert.
//  Delete: rules beforeDelete; row removed; cursor on the next row (the previous at the
//    end); recordDeleted, scrolled.
//  Rules calculateFields whenever a row is read or one of its fields changes, when the set
//    has calculated fields.
//  Moving (navigation, Last, Locate, FindKey, GotoBookmark) while in edit/insert first
//    posts if modified, else cancels.
//  Edit on a set with no row inserts instead.
//  Errors: "Dataset not in edit or insert mode" for writing a field outside edit/insert;
//    "Cannot perform this operation on a closed dataset" for navigating, editing or
//    re-reading a closed set.
// Rules may call Abort() to stop their operation silently; the state stays as it was.
class DataSet : public QObject
{
    Q_OBJECT
public:
    explicit DataSet(QObject *parent = nullptr);
    ~DataSet() override;

    // Persistent fields, declared before Open. With none declared, Open creates one field
    // per column, in column order, titled by column name.
    Field *AddField(const QString &name, FieldType type, int size = 0);
    Field *AddCalculatedField(const QString &name, FieldType type, int size = 0);
    Field *AddLookupField(const QString &name, FieldType type, int size,
                          const QString &keyFields, DataSet *lookupDataSet,
                          const QString &lookupKeyFields, const QString &resultField);
    // The caption users know a field by (its box's label, its grid column's title), kept by
    // field name across Open and Close: a refused value names the field by it.
    void setDisplayLabel(const QString &fieldName, const QString &label);
    QString displayLabel(const QString &fieldName) const; // "" when none was given
    Field *FieldByName(const QString &name) const; // throws "Field '%s' not found"
    Field *FindField(const QString &name) const;   // nullptr when absent
    int FieldCount() const;
    Field *FieldAt(int index) const;

    void Open();
    void Close();
    bool Active() const;
    DataSetState State() const;
    bool Bof() const;
    bool Eof() const;
    bool IsEmpty() const;
    // Browse state with a row (the screens' test before Edit and Delete).
    bool HasCurrentRecord() const;
    bool Modified() const;
    // In edit or insert: a record is being changed.
    bool Editing() const;

    void First();
    void Prior();
    void Next();
    void Last();
    void Insert();
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void Refresh();
    // After an edit was refused because another user changed the stored record since it was
    // read (RecordChangedError): reads the stored record again; the fields this edit changed
    // keep their values, the others take the stored ones, and the stored values become what
    // the next Post compares with, so that it writes over them knowingly. The set stays in
    // edit. False, and nothing changes, outside edit or when the record is gone.
    bool ReloadKeepingChanges();
    // Posts or cancels a record in edit/insert, as before a move.
    void CheckBrowseMode();
    // Bound controls hand the text typed but not yet written (a grid's open cell) to their
    // fields now, as a post does first. Nothing happens outside edit and insert.
    void UpdateRecord();

    // First row (in the current order) whose fields equal the values, exact and
    // case-sensitive. Fields are separated by ";"; several values come as a QVariantList.
    // Returns false and stays put when none matches.
    bool Locate(const QString &fieldNames, const QVariant &values);
    // Value of resultField in the first row matching, without moving; null when none.
    QVariant Lookup(const QString &keyFields, const QVariant &keyValues,
                    const QString &resultField);

    Bookmark GetBookmark() const;
    void GotoBookmark(const Bookmark &bookmark);
    void FreeBookmark(Bookmark &bookmark);
    bool BookmarkValid(const Bookmark &bookmark) const;
    // Negative, zero or positive as a stands before, at or after b in the current order.
    virtual int CompareBookmarks(const Bookmark &a, const Bookmark &b) const = 0;

    // Bound controls stop following the set until the matching EnableControls (nested).
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const;

    // Cached updates: posts and deletions stay pending in memory (bounded by the master
    // link or key range) until ApplyUpdates writes them all, inside the caller's
    // transaction when one is open, and re-reads the set. CancelUpdates discards them.
    //
    // Inside a transaction (see Transaction), a post, a deletion or an apply that went
    // through is undone in the record set too when the transaction rolls back: the set is
    // back in the state, on the row and with the values and pending changes it had before,
    // so that the user can try again or cancel.
    bool CachedUpdates() const;
    void setCachedUpdates(bool cached);
    bool UpdatesPending() const;
    void ApplyUpdates();
    void CancelUpdates();

    // Up to count rows next to the anchor in the current order (after it when forward,
    // before it otherwise; a null anchor means from the first or from the last row),
    // returned in the current order. The cursor does not move and nothing is told; the
    // rules calculate the scratch rows. Grids page through the set with it.
    virtual QVector<RowSnapshot> ReadRows(const Bookmark &anchor, int count,
                                          bool forward) const = 0;
    // The current row as a grid shows it (edits in progress included).
    RowSnapshot CurrentRow() const;

    // The rules that may refuse or change this set's records; none by default. The set does
    // not own them, and they must outlive it or be removed first.
    void setRules(RecordRules *rules);
    RecordRules *rules() const;

signals:
    // What happened, once it has happened (the set is in its new state).
    void opened();
    void closed();
    void recordInserted();  // a new record stands in insert
    void editStarted();
    void posted();
    void cancelled();
    void recordDeleted();
    void scrolled();        // another record became current (also after open, insert, delete)

protected:
    // The storage driver each kind of record set provides, in the subclasses; the base
    // class owns the state machine, the current record and what is told.

    // One row as storage returns it: its bookmark and the values of the data fields by
    // Field::Index() (lookup and calculated entries are null; the base class fills them).
    struct RowData
    {
        Bookmark bookmark;
        QVector<QVariant> values;
    };
    using OptRow = std::optional<RowData>;

    // Opens the storage; may create the fields with addDynamicField. Throws on failure.
    virtual void openCursor() = 0;
    virtual void closeCursor() = 0;
    virtual OptRow readFirst() const = 0;
    virtual OptRow readLast() const = 0;
    // The row after / before a bookmark in the current order; the row the bookmark names
    // may be gone (the neighbour is still found).
    virtual OptRow readNext(const Bookmark &from) const = 0;
    virtual OptRow readPrior(const Bookmark &from) const = 0;
    // The row a bookmark names; nothing when it is gone or outside the current range.
    virtual OptRow readRow(const Bookmark &bookmark) const = 0;
    virtual OptRow readLocate(const QList<Field *> &fields, const QVariantList &values) const = 0;

    virtual bool isReadOnly() const { return true; }
    // Writes a row; returns the bookmark under which it can be read back.
    virtual Bookmark writeInsert(const QVector<QVariant> &values);
    virtual Bookmark writeUpdate(const Bookmark &bookmark, const QVector<QVariant> &oldValues,
                                 const QVector<QVariant> &values);
    virtual void writeDelete(const Bookmark &bookmark);
    // Fills a new record's blank values before the rules see it (master link fields).
    virtual void initNewRecord(QVector<QVariant> & /*values*/) {}
    // Re-reads whatever the driver holds (a query runs again, a cache reloads).
    virtual void refreshCursor() {}
    virtual void cachedUpdatesChanged() {}
    virtual bool hasPendingUpdates() const { return false; }
    virtual void applyPendingUpdates() {}
    virtual void cancelPendingUpdates() {}
    // The connection writes go to; none for a read-only set.
    virtual QSqlDatabase writeConnection() const { return {}; }
    // How to put the driver's own state back as it is now (empty: nothing to keep).
    virtual std::function<void()> saveDriverState() { return {}; }

    // For the drivers.
    Field *addDynamicField(const QString &name, FieldType type, int size);
    QVector<RowSnapshot> snapshots(const QVector<RowData> &rows) const;
    QVector<QVariant> blankValues() const;
    // The rows changed underneath (range, master, order): a record in edit or insert is
    // posted or cancelled, the cursor goes to the first row and the controls hear of it.
    void rowsChanged();
    // Re-reads the current row by its bookmark (or its neighbour when gone) and notifies.
    void resyncCurrent();
    // Detail sets post or cancel their record before this one moves.
    void notifyCheckBrowseMode();
    // Moves onto a row the driver found (FindKey); false when there is none.
    bool gotoRow(const OptRow &row);

private:
    friend class Field;
    friend class DataSource;

    struct Impl;
    std::unique_ptr<Impl> d;

    void addSource(DataSource *source);
    void removeSource(DataSource *source);

    void checkActive() const;
    void checkWritable() const;
    QVariant fieldValue(const Field *field) const;
    void setFieldValue(Field *field, const QVariant &value);
    void setLookupValue(Field *field, const QVariant &value);
    void checkText(const Field *field, const QVariant &value) const;
    void setCurrent(const RowData &row);
    void setEmpty();
    void computeDerived(QVector<QVariant> &values, bool current) const;
    bool hasDerivedOn(const Field *changed) const;
    void notifyDerivedChanges(const QVector<QVariant> &before);
    // A calculated field was given a value it cannot hold: empty while a row is read,
    // refused with a message naming the input and the limit while the user types.
    void refuseCalculatedValue(Field *field, const QVariant &value, const QString &error);
    void moveTo(const OptRow &row, int direction);
    // A cancelled insert goes back to the row it started from (or its neighbour).
    void returnFromInsert(const Bookmark &back);
    void step(int direction);
    // Rules beforePost, the write, browse state, posted: the post shared by Post and a move.
    void postRecord();
    // The row the bookmark names, or the one after it, or the one before it: where a row
    // that went away leaves the cursor.
    OptRow readAtOrNear(const Bookmark &bookmark) const;
    void positionAfterWrite(const Bookmark &bookmark);
    DataSetSnapshot snapshot();
    // After a write went through: undo the set's change when the transaction rolls back.
    void undoOnRollback(DataSetSnapshot snapshot);
    void restore(const DataSetSnapshot &snapshot);
    void notifyActive();
    void notifyDataSet();
    void notifyRecord(Field *field);
    void notifyEditing();
    void updateControlsData();
    // Calls fn for each data source joined to this set (one may go away meanwhile).
    template<typename Fn>
    void forEachSource(Fn fn) const;
};

} // namespace tb
