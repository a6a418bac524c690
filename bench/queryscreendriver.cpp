#include "bench/queryscreendriver.h"

#include "controls/dbgrid.h"
#include "data/records/field.h"
#include "data/records/sqlquery.h"
#include "lookup/queryscreen.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tb {

namespace {

template<typename T>
T *part(const QueryScreen *screen, const char *name)
{
    T *found = screen->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s", qPrintable(screen->objectName()), name);
    return found;
}

} // namespace

QueryScreenDriver::QueryScreenDriver(QueryScreen *screen)
    : m_screen(screen)
    , m_column(part<QComboBox>(screen, "ComboBox1"))
    , m_value(part<QLineEdit>(screen, "Edit1"))
    , m_search(part<QPushButton>(screen, "Button1"))
    , m_grid(part<DBGrid>(screen, "DBGrid1"))
    , m_query(part<ConnectionQuery>(screen, "ADOQuery1"))
{
}

void QueryScreenDriver::search(int item, const QString &value)
{
    m_column->setCurrentIndex(item);
    m_value->setText(value);
    Q_EMIT m_search->clicked(false);
}

int QueryScreenDriver::readVisibleRows()
{
    DBGrid *grid = m_grid;
    QAbstractItemModel *model = grid->model();
    const int rowHeight = std::max(1, grid->verticalHeader()->defaultSectionSize());
    const int visible = grid->viewport()->height() / rowHeight + 1;
    while (model->rowCount() < visible && model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    const int first = std::max(0, grid->rowAt(0));
    const int rows = std::min(visible, model->rowCount() - first);
    for (int r = first; r < first + rows; ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->data(model->index(r, c));
    return rows;
}

void QueryScreenDriver::jumpToEnd()
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(m_grid, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(m_grid, &release);
}

void QueryScreenDriver::doubleClick()
{
    Q_EMIT m_grid->dblClicked();
}

QString QueryScreenDriver::currentKey() const
{
    return m_query->FieldAt(0)->AsString();
}

QString QueryScreenDriver::planThatIsNoIndexSearch(bool listing) const
{
    for (const QString &plan : m_query->QueryPlans()) {
        // A server's plan: the rows found through an index, never by reading the whole
        // table (a few matching rows it may sort after finding them: that grows with the
        // matches, not with the table).
        if (plan.contains(QLatin1String(" Index "))) {
            if (plan.contains(QLatin1String("Seq Scan")))
                return plan;
            continue;
        }
        const QString steps = plan.section(QStringLiteral(": "), 1);
        const bool endWalk = listing
                             && (plan.startsWith(QLatin1String("first"))
                                 || plan.startsWith(QLatin1String("last"))
                                 || plan.startsWith(QLatin1String("unkeyed")))
                             && steps.startsWith(QLatin1String("SCAN "))
                             && steps.contains(QLatin1String(" USING INDEX sqlite_autoindex_"));
        if (plan.contains(QLatin1String("TEMP B-TREE"))
            || !(steps.startsWith(QLatin1String("SEARCH ")) || endWalk))
            return plan;
    }
    return {};
}

} // namespace tb
