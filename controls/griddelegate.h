#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class QLineEdit;

namespace tb {

class GridModel;

// The grid's cell editor: a line edit under the field's input rules (FieldValidator),
// leaving room at the right for the cell's edit button when it has one.
class GridDelegate : public QStyledItemDelegate
{
public:
    GridDelegate(QObject *parent, GridModel *model);

    // The open cell editor, if any.
    QLineEdit *editor() const { return m_editor; }
    // Puts text into the open editor as the user's own edit, past the input rules (a text
    // the field refused, offered again for correction).
    void restoreEditorText(const QString &text) const;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

private:
    GridModel *m_model;
    mutable QPointer<QLineEdit> m_editor;
};

} // namespace tb
