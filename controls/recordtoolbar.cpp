#include "controls/recordtoolbar.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>

namespace tb {

namespace {

QToolButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QFont &font, int width = 50)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setFont(font);
    button->setFixedSize(width, 29);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Speed buttons act on the record without taking the focus from the box being edited,
    // and Tab never stops on them.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

RecordToolBar::RecordToolBar(QWidget *parent, Order order, const QString &refreshCaption,
                             const QString &closeButtonName, int closeButtonWidth)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("RecordToolBar"));
    const QFont font(QStringLiteral("細明體"), 9);
    const bool product = order == Order::ProductScreen;

    sbFirst = makeButton(this, "sbFirst", QStringLiteral("第一筆"), font);
    sbPrior = makeButton(this, "sbPrior", QStringLiteral("上一筆"), font);
    sbNext = makeButton(this, "sbNext", QStringLiteral("下一筆"), font);
    sbLast = makeButton(this, "sbLast", QStringLiteral("最後一筆"), font, product ? 56 : 50);
    sbInsert = makeButton(this, "sbInsert", QStringLiteral("新增"), font);
    sbDelete = makeButton(this, "sbDelete", QStringLiteral("刪除"), font);
    sbEdit = makeButton(this, "sbEdit", QStringLiteral("修改"), font);
    sbPost = makeButton(this, "sbPost", QStringLiteral("儲存"), font);
    sbCancel = makeButton(this, "sbCancel", QStringLiteral("取消"), font);
    sbRefresh = makeButton(this, "sbRefresh", refreshCaption, font);

    closeButton = new QPushButton(QStringLiteral("結束"), this);
    closeButton->setObjectName(closeButtonName);
    closeButton->setFont(font);
    closeButton->setFixedHeight(29);
    if (closeButtonWidth > 0)
        closeButton->setFixedWidth(closeButtonWidth);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QList<QToolButton *> navigation{sbFirst, sbPrior, sbNext, sbLast};
    const QList<QToolButton *> editing{sbInsert, sbDelete, sbEdit, sbPost, sbCancel};
    QList<QToolButton *> sequence;
    if (product)
        sequence << sbRefresh << editing << navigation;
    else
        sequence << navigation << editing << sbRefresh;
    for (QToolButton *button : std::as_const(sequence))
        layout->addWidget(button);
    layout->addStretch(1);
    layout->addWidget(closeButton);

    setEditingMode(false);
}

void RecordToolBar::setEditingMode(bool editing)
{
    m_editing = editing;
    for (QToolButton *button : {sbFirst, sbPrior, sbNext, sbLast, sbDelete, sbEdit, sbRefresh})
        button->setEnabled(!editing);
    sbInsert->setEnabled(!editing || m_insertEnabledWhileEditing);
    closeButton->setEnabled(!editing);
    sbPost->setEnabled(editing);
    sbCancel->setEnabled(editing);
}

bool RecordToolBar::editingMode() const
{
    return m_editing;
}

void RecordToolBar::setInsertEnabledWhileEditing(bool enabled)
{
    m_insertEnabledWhileEditing = enabled;
    setEditingMode(m_editing);
}

} // namespace tb
