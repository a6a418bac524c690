#include "maintenance/codetablescreen.h"

#include "controls/dbedit.h"
#include "controls/dbmemo.h"
#include "controls/windowframe.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

namespace {

RecordScreenSetup patternSetup(const CodeTableSetup &setup)
{
    RecordScreenSetup pattern;
    pattern.name = setup.name;
    pattern.caption = setup.caption;
    pattern.tableName = setup.tableName;
    pattern.identifierField = setup.idField;
    pattern.identifier = {setup.prefix, 4};
    pattern.indexFieldNames = setup.readingOrder;
    pattern.closeButtonName = setup.closeButtonName;
    pattern.closeButtonWidth = 50; // the whole toolbar fits the 570-pixel window
    pattern.queryScreen = setup.queryScreen;
    return pattern;
}

} // namespace

CodeTableScreen::CodeTableScreen(const CodeTableSetup &setup)
    : RecordScreen(patternSetup(setup))
{
    placeWindow(this, 200, 200, 570, 182);
    onClick(closeButton(), [this] { Button1Click(); });

    auto *body = new QWidget(this);
    auto *columns = new QHBoxLayout(body);
    columns->setContentsMargins(16, 6, 16, 6);
    columns->setSpacing(24);
    contentLayout()->addWidget(body, 1);

    using namespace fieldcolor;
    DBEdit1 = boundBox(body, QStringLiteral("DBEdit1"), setup.idField, Generated, true);
    DBEdit1->setFixedWidth(108);
    DBEdit2 = boundBox(body, QStringLiteral("DBEdit2"), setup.nameField, Required);
    DBEdit2->setFixedWidth(setup.nameWidth);
    auto *boxes = new QVBoxLayout;
    boxes->setSpacing(4);
    boxes->addLayout(captioned(body, setup.idCaption, DBEdit1));
    boxes->addLayout(captioned(body, setup.nameCaption, DBEdit2));
    boxes->addStretch(1);
    columns->addLayout(boxes);

    DBMemo1 = nullptr;
    QList<QWidget *> editing{DBEdit1, DBEdit2};
    if (!setup.memoCaption.isEmpty()) {
        DBMemo1 = boundMemo(body, QStringLiteral("DBMemo1"), QStringLiteral("Memo"));
        DBMemo1->setFixedSize(185, 89);
        auto *memo = new QVBoxLayout;
        memo->addLayout(captioned(body, setup.memoCaption, DBMemo1));
        memo->addStretch(1);
        columns->addLayout(memo);
        editing << DBMemo1;
    }
    columns->addStretch(1);

    setEditingControls(editing);
    setRequiredChecks({RequiredCheck::filled(DBEdit2, setup.nameRequired)});
}

void CodeTableScreen::Button1Click()
{
    closeScreen();
}

} // namespace tb
