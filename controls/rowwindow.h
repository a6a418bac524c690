#pragma once

#include "data/records/dataset.h"

#include <functional>

namespace tb {

// A window of consecutive rows of a record set, in the set's order, read page by page.
// The grid and the look-up list keep their rows here: they show the first screen of a
// large table after one page, grow the window at either end as the view scrolls, and
// re-anchor it around a row that lies outside (after Last, Locate, a bookmark).
class RowWindow
{
public:
    using Reader = std::function<QVector<RowSnapshot>(const Bookmark &anchor, int count,
                                                      bool forward)>;
    using Validity = std::function<bool(const Bookmark &)>;

    explicit RowWindow(Reader reader, Validity valid = {}, int pageSize = 100);

    int pageSize() const { return m_pageSize; }
    // Rows read when the window is (re)placed (first rows, last rows, around a row): what
    // the view shows at once, so that the first screen costs no more than a screen. Later
    // pages, as the view scrolls, are pageSize rows. Defaults to pageSize.
    void setScreenRows(int rows);
    int screenRows() const { return m_screenRows; }
    void clear();
    bool loaded() const { return m_loaded; }

    // The first screen of the set.
    void loadFirst();
    // The last screen of the set.
    void loadLast();
    // A screen before the row, the row itself and a screen after it.
    void anchorAt(const RowSnapshot &row);
    // Appends the next page; returns the number of rows added.
    int fetchNext();
    // Prepends the previous page; returns the number of rows added.
    int fetchPrevious();
    // Reads the same stretch of the set again (rows may have been added, changed or
    // removed). Returns true when the rows it holds are no longer the same rows.
    bool reload();

    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const RowSnapshot &at(int index) const { return m_rows.at(index); }
    void replace(int index, const RowSnapshot &row) { m_rows[index] = row; }
    int indexOf(const Bookmark &bookmark) const;
    // The window starts at the set's first row / ends at its last row.
    bool atStart() const { return m_atStart; }
    bool atEnd() const { return m_atEnd; }

private:
    QVector<RowSnapshot> read(const Bookmark &anchor, int count, bool forward) const;
    void setBefore(QVector<RowSnapshot> &rowsBefore, int wanted);

    Reader m_reader;
    Validity m_valid;
    int m_pageSize;
    int m_screenRows;
    QVector<RowSnapshot> m_rows;
    Bookmark m_before; // the row just before the window; null when the window starts the set
    bool m_atStart = false;
    bool m_atEnd = false;
    bool m_loaded = false;
};

} // namespace tb
