#include "controls/rowwindow.h"

namespace tb {

RowWindow::RowWindow(Reader reader, Validity valid, int pageSize)
    : m_reader(std::move(reader)), m_valid(std::move(valid)), m_pageSize(qMax(1, pageSize)),
      m_screenRows(m_pageSize)
{
}

void RowWindow::setScreenRows(int rows)
{
    m_screenRows = qMax(1, rows);
}

void RowWindow::clear()
{
    m_rows.clear();
    m_before = Bookmark();
    m_atStart = m_atEnd = false;
    m_loaded = false;
}

QVector<RowSnapshot> RowWindow::read(const Bookmark &anchor, int count, bool forward) const
{
    if (count <= 0)
        return {};
    return m_reader(anchor, count, forward);
}

// rowsBefore was read backwards asking for wanted + 1 rows: the extra one, when it came,
// is the row before the window and is not shown.
void RowWindow::setBefore(QVector<RowSnapshot> &rowsBefore, int wanted)
{
    if (rowsBefore.size() > wanted) {
        m_before = rowsBefore.first().bookmark;
        rowsBefore.removeFirst();
        m_atStart = false;
    } else {
        m_before = Bookmark();
        m_atStart = true;
    }
}

void RowWindow::loadFirst()
{
    clear();
    m_rows = read(Bookmark(), m_screenRows + 1, true);
    m_atStart = true;
    m_atEnd = m_rows.size() <= m_screenRows;
    if (!m_atEnd)
        m_rows.removeLast();
    m_loaded = true;
}

void RowWindow::loadLast()
{
    clear();
    QVector<RowSnapshot> rows = read(Bookmark(), m_screenRows + 1, false);
    setBefore(rows, m_screenRows);
    m_rows = rows;
    m_atEnd = true;
    m_loaded = true;
}

void RowWindow::anchorAt(const RowSnapshot &row)
{
    if (row.bookmark.isNull()) {
        loadFirst();
        return;
    }
    clear();
    QVector<RowSnapshot> before = read(row.bookmark, m_screenRows + 1, false);
    setBefore(before, m_screenRows);
    QVector<RowSnapshot> after = read(row.bookmark, m_screenRows + 1, true);
    m_atEnd = after.size() <= m_screenRows;
    if (!m_atEnd)
        after.removeLast();
    m_rows = before;
    m_rows.append(row);
    m_rows.append(after);
    m_loaded = true;
}

int RowWindow::fetchNext()
{
    if (!m_loaded || m_atEnd)
        return 0;
    if (m_rows.isEmpty()) {
        loadFirst();
        return size();
    }
    QVector<RowSnapshot> rows = read(m_rows.last().bookmark, m_pageSize + 1, true);
    m_atEnd = rows.size() <= m_pageSize;
    if (!m_atEnd)
        rows.removeLast();
    m_rows.append(rows);
    return int(rows.size());
}

int RowWindow::fetchPrevious()
{
    if (!m_loaded || m_atStart || m_rows.isEmpty())
        return 0;
    QVector<RowSnapshot> rows = read(m_rows.first().bookmark, m_pageSize + 1, false);
    setBefore(rows, m_pageSize);
    m_rows = rows + m_rows;
    return int(rows.size());
}

bool RowWindow::reload()
{
    if (!m_loaded) {
        loadFirst();
        return true;
    }
    const int wanted = qMax(int(m_rows.size()), m_screenRows);
    if (!m_atStart && (m_before.isNull() || (m_valid && !m_valid(m_before)))) {
        // The row the window hung from is gone; start again from the first row we still
        // have, or from the top.
        const QVector<RowSnapshot> old = m_rows;
        for (const RowSnapshot &row : old) {
            if (!m_valid || m_valid(row.bookmark)) {
                QVector<RowSnapshot> before = read(row.bookmark, 1, false);
                if (before.isEmpty()) {
                    m_atStart = true;
                    m_before = Bookmark();
                } else {
                    m_before = before.first().bookmark;
                }
                return reload();
            }
        }
        loadFirst();
        return true;
    }
    QVector<RowSnapshot> rows = read(m_atStart ? Bookmark() : m_before, wanted + 1, true);
    m_atEnd = rows.size() <= wanted;
    if (!m_atEnd)
        rows.removeLast();
    bool changed = rows.size() != m_rows.size();
    for (int i = 0; !changed && i < rows.size(); ++i)
        changed = rows.at(i).bookmark != m_rows.at(i).bookmark;
    m_rows = rows;
    return changed;
}

int RowWindow::indexOf(const Bookmark &bookmark) const
{
    if (bookmark.isNull())
        return -1;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).bookmark == bookmark)
            return i;
    return -1;
}

} // namespace tb
