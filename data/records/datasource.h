#pragma once

#include "data/records/field.h"

#include <QObject>
#include <QPointer>

#include <vector>

namespace tb {

class DataSet;
class EditHolder;

// Joins one record set to the bound controls (and detail sets) of a screen, and tells them
// what their record set did. Signals come on the one UI thread, synchronously, and not
// while controls are disabled (EnableControls then sends dataSetChanged).
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    DataSet *dataSet() const;
    void setDataSet(DataSet *dataSet);

    // What may not be a signal: the holders are asked in order, before the set posts or
    // moves, and may throw to stop it. A holder stays registered until removed or until
    // this source goes.
    void addEditHolder(EditHolder *holder);
    void removeEditHolder(EditHolder *holder);

signals:
    void activeChanged();            // the set opened or closed, or another set came
    void dataSetChanged();           // rows, order or current row changed
    void recordChanged(tb::Field *field); // a value of the current row (nullptr: all)
    void editingChanged();           // the set entered or left edit/insert

private:
    friend class DataSet;
    void writePendingEdits();
    void settleBeforeMove();

    QPointer<DataSet> m_dataSet;
    std::vector<EditHolder *> m_holders;
};

// One who holds changes a record set must take in before it posts or moves: a bound
// control's text typed but not yet written, a detail set's record in edit.
class EditHolder
{
public:
    // Write the text typed but not yet written into the fields; may throw.
    virtual void writePendingEdit() {}
    // The set is about to move (or re-read): a detail set posts or cancels its record.
    virtual void settleBeforeMove() {}

protected:
    EditHolder() = default;
    virtual ~EditHolder() = default;
};

} // namespace tb
