#pragma once

#include "controls/rowwindow.h"

#include <QAbstractTableModel>

#include <functional>

namespace tb {

class DataSet;
class Field;

// A table model over a window of a record set's rows (RowWindow), read page by page as
// the view scrolls down. The grid's model and the look-up list derive from it.
class PagedRowModel : public QAbstractTableModel
{
public:
    using SetSource = std::function<DataSet *()>;

    PagedRowModel(QObject *parent, SetSource set, int pageSize);

    // Rows read first, when the rows are (re)placed: what the view shows at once.
    void setScreenRows(int rows) { m_window.setScreenRows(rows); }

    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // The text a cell shows for a field's value (dates in the short date format).
    static QString cellText(const Field *field, const QVariant &value);

protected:
    DataSet *set() const { return m_set(); }

    SetSource m_set;
    RowWindow m_window;
};

} // namespace tb
