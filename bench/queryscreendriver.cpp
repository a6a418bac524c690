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

QueryScreenDriver::QueryScreenDriver(QueryScreen *screen) : m_screen(screen) {}

void QueryScreenDriver::search(int item, const QString &value)
{
    m_screen->ComboBox1->setCurrentIndex(item);
    m_screen->Edit1->setText(value);
    Q_EMIT m_screen->Button1->clicked(false);
}

int QueryScreenDriver::readVisibleRows()
{
    DBGrid *grid = m_screen->DBGrid1;
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
    QApplication::sendEvent(m_screen->DBGrid1, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(m_screen->DBGrid1, &release);
}

void QueryScreenDriver::doubleClick()
{
    Q_EMIT m_screen->DBGrid1->dblClicked();
}

QString QueryScreenDriver::currentKey() const
{
    return m_screen->ADOQuery1->FieldAt(0)->AsString();
}

QString QueryScreenDriver::planThatIsNoIndexSearch(bool listing) const
{
    for (const QString &plan : m_screen->ADOQuery1->QueryPlans()) {
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
