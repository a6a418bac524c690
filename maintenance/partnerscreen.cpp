#include "maintenance/partnerscreen.h"

#include "controls/dbedit.h"
#include "controls/dialogs.h"
#include "controls/guard.h"
#include "controls/windowframe.h"
#include "maintenance/numberchecks.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSizePolicy>
#include <QVBoxLayout>

namespace tb {

const QString PartnerScreen::EarNoWrongLength = QStringLiteral("統一編號長度錯誤,請重新輸入!");
const QString PartnerScreen::EarNoWrong = QStringLiteral("統一編號錯誤,請重新輸入!");
const QString PartnerScreen::JoinManRequired = QStringLiteral("聯絡人不可為空白!");
const QString PartnerScreen::TelOrCellPhone = QStringLiteral("電話或手機擇一填寫!");
const QString PartnerScreen::CompanyAddressRequired = QStringLiteral("公司地址不可為空白!");
const QString PartnerScreen::DeliveryAddressRequired = QStringLiteral("送貨地址不可為空白!");

namespace {

RecordScreenSetup patternSetup(const PartnerSetup &setup)
{
    RecordScreenSetup pattern;
    pattern.name = setup.name;
    pattern.caption = setup.caption;
    pattern.tableName = setup.tableName;
    pattern.identifierField = setup.idField;
    pattern.identifier = {setup.prefix, 6};
    pattern.closeButtonName = QStringLiteral("Button2");
    pattern.queryScreen = setup.queryScreen;
    return pattern;
}

struct BoxRow
{
    int number; // DBEditn
    DBEdit **box;
    QString caption;
    QString field;
    QColor color;
    bool readOnly;
    int width; // 0: as wide as the column
};

const QString NoteText = QStringLiteral("電話、手機擇一即可");

} // namespace

PartnerScreen::PartnerScreen(const PartnerSetup &setup)
    : RecordScreen(patternSetup(setup))
{
    placeWindow(this, setup.frame.x(), setup.frame.y(), setup.frame.width(),
                setup.frame.height());
    Button2 = closeButton();
    onClick(Button2, [this] { Button1Click(); });

    buildBoxes(setup);
    connectGuarded(DBEdit4, &DBEdit::exited, this, [this] { DBEdit4Exit(); });

    // Every box but the E-mail one follows the mode; the identifier and the date of the
    // last transaction stay read-only when enabled.
    setEditingControls({DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5, DBEdit6, DBEdit7,
                        DBEdit8, DBEdit9, DBEdit10, DBEdit11});
    QList<RequiredCheck> checks;
    for (const PartnerCheck &check : setup.checks) {
        DBEdit *box = m_boxes[size_t(check.box)];
        checks << (check.orBox ? RequiredCheck::eitherFilled(box, m_boxes[size_t(check.orBox)],
                                                             check.message)
                               : RequiredCheck::filled(box, check.message));
    }
    setRequiredChecks(checks);
}

void PartnerScreen::buildBoxes(const PartnerSetup &setup)
{
    using namespace fieldcolor;
    const BoxRow rows[] = {
        {1, &DBEdit1, setup.idCaption, setup.idField, Generated, true, 110},
        {2, &DBEdit2, setup.attribCaption, setup.attribField, Optional, false, 110},
        {3, &DBEdit3, setup.nameCaption, setup.nameField, Required, false, 330},
        {4, &DBEdit4, QStringLiteral("統一編號"), QStringLiteral("EarNo"), Required, false, 90},
        {5, &DBEdit5, QStringLiteral("聯絡人"), QStringLiteral("JoinMan"), Required, false, 110},
        {6, &DBEdit6, QStringLiteral("電話"), QStringLiteral("Tel"), Required, false, 0},
        {7, &DBEdit7, QStringLiteral("手機"), QStringLiteral("CellPhone"), Required, false, 0},
        {8, &DBEdit8, QStringLiteral("傳真"), QStringLiteral("Fax"), Optional, false, 0},
        {9, &DBEdit9, QStringLiteral("公司地址"), QStringLiteral("CompanyAddress"), Required,
         false, 0},
        {10, &DBEdit10, QStringLiteral("送貨地址"), QStringLiteral("DeliveryAddress"), Required,
         false, 0},
        {11, &DBEdit11, QStringLiteral("最後交易日"), QStringLiteral("LastDeliveryDate"),
         Written, true, 0},
        {12, &DBEdit12, QStringLiteral("E-mail"), QStringLiteral("E-mail"), Optional, false,
         240},
    };
    auto *body = new QWidget(this);
    std::array<QString, 13> captions;
    for (const BoxRow &row : rows) {
        DBEdit *box = boundBox(body, QStringLiteral("DBEdit%1").arg(row.number), row.field,
                               row.color, row.readOnly);
        if (row.width > 0)
            box->setFixedWidth(row.width);
        *row.box = box;
        m_boxes[size_t(row.number)] = box;
        captions[size_t(row.number)] = row.caption;
    }
    DBEdit12->setEnabled(true); // open in both modes

    layOut(body, captions);
    contentLayout()->addWidget(body, 1);

    const QList<QWidget *> tabOrder{DBEdit1, DBEdit2, DBEdit3, DBEdit4,  DBEdit5,
                                    DBEdit6, DBEdit7, DBEdit8, DBEdit9,  DBEdit10,
                                    DBEdit11, Button2, DBEdit12};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

// Left: number, short name, name, business number, contact, E-mail and the two addresses;
// right: mobile and telephone with the note beside them, fax, date of last transaction.
void PartnerScreen::layOut(QWidget *body, const std::array<QString, 13> &captions)
{
    auto captionOf = [&captions](int n) { return captions[size_t(n)]; };
    auto *columns = new QHBoxLayout(body);
    columns->setContentsMargins(16, 8, 16, 8);
    columns->setSpacing(32);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    for (int n : {1, 2, 3, 4, 5, 12, 9, 10})
        left->addLayout(captioned(body, captionOf(n), m_boxes[size_t(n)]));
    left->addStretch(1);
    columns->addLayout(left, 3);

    Label13 = new QLabel(NoteText, body);
    Label13->setObjectName(QStringLiteral("Label13"));
    Label13->setWordWrap(true);
    Label13->setAutoFillBackground(true);
    QPalette notePalette = Label13->palette();
    notePalette.setColor(QPalette::Window, QColor(0x00, 0x00, 0xFF));
    notePalette.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0xFF));
    Label13->setPalette(notePalette);
    // A fixed size, so that the wrapped text does not make the layout trade height for
    // width.
    QSizePolicy policy = Label13->sizePolicy();
    policy.setHeightForWidth(false);
    Label13->setSizePolicy(policy);
    Label13->setFixedSize(72, 48);

    auto *right = new QGridLayout;
    right->setVerticalSpacing(4);
    right->setHorizontalSpacing(8);
    int row = 0;
    for (int n : {7, 6, 8, 11})
        right->addLayout(captioned(body, captionOf(n), m_boxes[size_t(n)]), row++, 0);
    right->addWidget(Label13, 0, 1, 2, 1);
    right->setRowStretch(row, 1);
    columns->addLayout(right, 2);
}

void PartnerScreen::Button1Click()
{
    closeScreen();
}

void PartnerScreen::DBEdit4Exit()
{
    CheckEarNo(DBEdit4->text());
    if (EarNoOK != 1)
        refuseLeaving(DBEdit4);
}

bool PartnerScreen::CheckEarNo(const QString &text)
{
    EarNoOK = 0;
    switch (checkBusinessNumber(text)) {
    case BusinessNumberVerdict::WrongLength:
        ShowMessage(EarNoWrongLength);
        return false;
    case BusinessNumberVerdict::Wrong:
        ShowMessage(EarNoWrong);
        return false;
    case BusinessNumberVerdict::Passes:
        break;
    }
    EarNoOK = 1;
    return true;
}

} // namespace tb
