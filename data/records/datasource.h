#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

namespace tb {

class DataSet;
class DataLink;
class Field;

// Joins one record set to the bound controls (and detail sets) of a screen.
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    DataSet *dataSet() const;
    void setDataSet(DataSet *dataSet);

private:
    friend class DataLink;
    friend class DataSet;
    QPointer<DataSet> m_dataSet;
    std::vector<DataLink *> m_links;
};

// What a bound control (or a detail set) hears from its data source's record set.
// Calls arrive on the one UI thread, synchronously, and not while controls are disabled
// (EnableControls then sends dataSetChanged).
class DataLink
{
public:
    DataLink();
    virtual ~DataLink();
    DataLink(const DataLink &) = delete;
    DataLink &operator=(const DataLink &) = delete;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    DataSet *dataSet() const;
    bool active() const; // a data set is attached and open

protected:
    friend class DataSet;
    friend class DataSource;
    virtual void activeChanged() {}            // opened or closed
    virtual void dataSetChanged() {}           // rows, order or current row changed
    virtual void recordChanged(Field *) {}     // a value of the current row (nullptr: all)
    virtual void editingChanged() {}           // entered or left edit/insert
    virtual void updateData() {}               // write pending text into fields; may throw
    // The set is about to move (or re-read): a detail set posts or cancels its record.
    virtual void checkBrowseMode() {}

private:
    QPointer<DataSource> m_source;
};

} // namespace tb
