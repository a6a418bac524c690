#include "controls/pagedrowmodel.h"

#include "controls/guard.h"
#include "data/records/dataset.h"
#include "data/records/field.h"
#include "data/book/shortdate.h"

namespace tb {

PagedRowModel::PagedRowModel(QObject *parent, SetSource set, int pageSize)
    : QAbstractTableModel(parent), m_set(std::move(set)),
      m_window(
          [this](const Bookmark &anchor, int count, bool forward) {
              DataSet *s = m_set();
              return s && s->Active() ? s->ReadRows(anchor, count, forward)
                                      : QVector<RowSnapshot>();
          },
          [this](const Bookmark &bookmark) {
              DataSet *s = m_set();
              return s && s->BookmarkValid(bookmark);
          },
          pageSize)
{
}

bool PagedRowModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_window.loaded() && !m_window.atEnd();
}

void PagedRowModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    RowWindow next = m_window;
    int added = 0;
    runGuarded([&] { added = next.fetchNext(); });
    if (added <= 0) {
        m_window = next; // may have learnt that it is at the end
        return;
    }
    const int first = m_window.size();
    beginInsertRows({}, first, first + added - 1);
    m_window = next;
    endInsertRows();
}

QString PagedRowModel::cellText(const Field *field, const QVariant &value)
{
    if (!field || value.isNull() || !value.isValid())
        return QString();
    switch (field->DataType()) {
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::DateTime:
        return ShortDate::format(ShortDate::fromStorage(value));
    case FieldType::String:
    case FieldType::Memo:
        break;
    }
    return value.toString();
}

} // namespace tb
