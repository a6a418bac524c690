#include "controls/griddelegate.h"

#include "controls/fieldinput.h"
#include "controls/gridmodel.h"

#include <QLineEdit>

namespace tb {

GridDelegate::GridDelegate(QObject *parent, GridModel *model)
    : QStyledItemDelegate(parent), m_model(model)
{
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int column = index.column();
    GridModel *model = m_model;
    editor->setValidator(new FieldValidator(editor, [model, column] {
        return model->fieldAt(column);
    }));
    m_editor = editor;
    return editor;
}

namespace {

// Shows text the input rules need not check: the field's own value, or one it refused.
void setUncheckedText(QLineEdit *line, const QString &text)
{
    auto *validator = const_cast<FieldValidator *>(
        qobject_cast<const FieldValidator *>(line->validator()));
    if (validator)
        validator->setBypass(true);
    line->setText(text);
    if (validator)
        validator->setBypass(false);
}

} // namespace

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        setUncheckedText(line, index.data(Qt::EditRole).toString());
}

void GridDelegate::restoreEditorText(const QString &text) const
{
    if (!m_editor)
        return;
    setUncheckedText(m_editor, text);
    m_editor->setModified(true);
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (line && line->isModified())
        model->setData(index, line->text(), Qt::EditRole);
}

void GridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QRect rect = option.rect;
    if (m_model->hasEditButton(index.column()))
        rect.setRight(rect.right() - rect.height());
    editor->setGeometry(rect);
}

} // namespace tb
