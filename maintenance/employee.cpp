#include "maintenance/employee.h"

#include "controls/datepicker.h"
#include "controls/dbedit.h"
#include "controls/dbmemo.h"
#include "controls/dialogs.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/windowframe.h"
#include "data/book/shortdate.h"
#include "lookup/chooselists.h"
#include "lookup/queryscreens.h"
#include "maintenance/numberchecks.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

Temployee *employee = nullptr;

const QString Temployee::IdWrongLength = QStringLiteral("身份證字號長度錯誤,請重新輸入!");
const QString Temployee::IdFirstLetter =
    QStringLiteral("身份證字號第一個字母必須是英文字母,請重新輸入!");
const QString Temployee::IdDigits = QStringLiteral("身份證號碼第2至第10個字必須是數字!");
const QString Temployee::IdWrongContent = QStringLiteral("身份證號碼內容有誤,請重新輸入!");

namespace {

RecordScreenSetup screenSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("employee");
    setup.caption = QStringLiteral("員工資料");
    setup.tableName = QStringLiteral("Employee");
    setup.identifierField = QStringLiteral("EmployeeID");
    setup.identifier = {QStringLiteral("EM"), 6};
    setup.closeButtonName = QStringLiteral("Button2");
    setup.queryScreen = [] () -> QWidget * { return R_employee; };
    setup.keepVisibleOnSearch = true; // the screen stays under its query screen
    return setup;
}

struct BoxRow
{
    int number; // DBEditn
    DBEdit **box;
    QString caption;
    QString field;
    QColor color;
};

// The three lists: their items, and the text each position writes into the box beside
// the list (any other position, or none, writes the last one).
struct ChoiceList
{
    QString name;
    int box;
    QStringList items;
    QStringList written;
    QString otherwise;
};

const std::array<ChoiceList, 3> &choiceLists()
{
    static const std::array<ChoiceList, 3> lists{{
        {QStringLiteral("ComboBox1"), 5, {QStringLiteral("男"), QStringLiteral("女")},
         {QStringLiteral("男")}, QStringLiteral("女")},
        {QStringLiteral("ComboBox2"), 6, {"A", "B", "AB", "O", ""}, {"A", "B", "AB"},
         QStringLiteral("O")},
        {QStringLiteral("ComboBox3"), 7, {QStringLiteral("未婚"), QStringLiteral("已婚")},
         {QStringLiteral("未婚")}, QStringLiteral("已婚")},
    }};
    return lists;
}

// The date the pickers show until the user picks one.
const QDate PickerStart(2006, 7, 25);

// A list or a picker shows only its arrow beside its box.
constexpr int CompanionWidth = 20;

} // namespace

Temployee::Temployee()
    : RecordScreen(screenSetup())
{
    placeWindow(this, 200, 200, 704, 457);
    Button2 = closeButton();
    onClick(Button2, [this] { Button2Click(); });

    auto *body = new QWidget(this);
    buildBoxes(body);
    buildChoices(body);
    buildPickers(body);
    Button1 = makePickButton(body, QStringLiteral("Button1"));
    Button3 = makePickButton(body, QStringLiteral("Button3"));
    onClick(Button1, [this] { Button1Click(); });
    onClick(Button3, [this] { Button3Click(); });
    layOut(body);
    contentLayout()->addWidget(body, 1);

    connectGuarded(DBEdit3, &DBEdit::exited, this, [this] { DBEdit3Exit(); });

    // Sex, blood type and marital status stay disabled: only their lists fill them. The
    // E-mail box is open in both modes.
    setEditingControls({Button1, Button3, ComboBox1, ComboBox2, ComboBox3, DateTimePicker1,
                        DateTimePicker2, DateTimePicker3, DBEdit1, DBEdit2, DBEdit3, DBEdit4,
                        DBEdit8, DBEdit9, DBEdit10, DBEdit11, DBEdit12, DBEdit13, DBEdit14,
                        DBEdit15, DBEdit16, DBMemo1});
    const std::pair<DBEdit *, const char *> required[] = {
        {DBEdit2, "員工姓名不可為空白!"}, {DBEdit4, "出生日期不可為空白!"},
        {DBEdit5, "性別不可為空白!"},     {DBEdit6, "血型不可為空白!"},
        {DBEdit7, "婚姻狀態不可為空白!"}, {DBEdit8, "聯絡人不可為空白!"},
        {DBEdit9, "電話不可為空白!"},     {DBEdit10, "部門編號不可為空白!"},
        {DBEdit12, "學歷不可為空白!"},    {DBEdit13, "工作職務不可為空白!"},
        {DBEdit14, "到職日不可為空白!"},
    };
    QList<RequiredCheck> checks;
    for (const auto &[box, message] : required)
        checks << RequiredCheck::filled(box, QString::fromUtf8(message));
    setRequiredChecks(checks);
}

void Temployee::buildBoxes(QWidget *body)
{
    using namespace fieldcolor;
    const BoxRow rows[] = {
        {1, &DBEdit1, QStringLiteral("員工編號"), QStringLiteral("EmployeeID"), Generated},
        {2, &DBEdit2, QStringLiteral("員工姓名"), QStringLiteral("EmployeeName"), Required},
        {3, &DBEdit3, QStringLiteral("身份證字號"), QStringLiteral("ID"), Required},
        {4, &DBEdit4, QStringLiteral("出生日期"), QStringLiteral("Birthday"), Required},
        {5, &DBEdit5, QStringLiteral("性別"), QStringLiteral("Sex"), Required},
        {6, &DBEdit6, QStringLiteral("血型"), QStringLiteral("Blood"), Required},
        {7, &DBEdit7, QStringLiteral("婚姻狀態"), QStringLiteral("Marriage"), Required},
        {8, &DBEdit8, QStringLiteral("聯絡人"), QStringLiteral("JoinMan"), Required},
        {9, &DBEdit9, QStringLiteral("電話"), QStringLiteral("Tel"), Required},
        {10, &DBEdit10, QStringLiteral("部門名稱"), QStringLiteral("DepartmentName"), Required},
        {11, &DBEdit11, QStringLiteral("籍貫"), QStringLiteral("BirthPlace"), Required},
        {12, &DBEdit12, QStringLiteral("學歷"), QStringLiteral("Antecedent"), Required},
        {13, &DBEdit13, QStringLiteral("職務名稱"), QStringLiteral("DutyName"), Required},
        {14, &DBEdit14, QStringLiteral("到職日"), QStringLiteral("ArriveDate"), Required},
        {15, &DBEdit15, QStringLiteral("離職日"), QStringLiteral("LeaveDate"), Optional},
        {16, &DBEdit16, QStringLiteral("地址"), QStringLiteral("Address"), Optional},
        {17, &DBEdit17, QStringLiteral("E-mail"), QStringLiteral("E-mail"), Optional},
    };
    for (const BoxRow &row : rows) {
        *row.box = boundBox(body, QStringLiteral("DBEdit%1").arg(row.number), row.field,
                            row.color, row.number == 1);
        m_boxes[size_t(row.number)] = *row.box;
        m_captions[size_t(row.number)] = row.caption;
    }
    DBEdit17->setEnabled(true); // open in both modes

    DBMemo1 = boundMemo(body, QStringLiteral("DBMemo1"), QStringLiteral("Career"));
}

void Temployee::buildChoices(QWidget *body)
{
    QComboBox **lists[] = {&ComboBox1, &ComboBox2, &ComboBox3};
    const std::array<void (Temployee::*)(), 3> handlers{
        &Temployee::ComboBox1Change, &Temployee::ComboBox2Change, &Temployee::ComboBox3Change};
    for (size_t i = 0; i < 3; ++i) {
        const ChoiceList &choice = choiceLists()[i];
        auto *list = new QComboBox(body);
        list->setObjectName(choice.name);
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr); // typed text stays as typed
        list->addItems(choice.items);
        list->setCurrentIndex(-1);
        list->setFixedWidth(CompanionWidth);
        list->setEnabled(false);
        setInputMethodName(list, ime::Cangjie);
        *lists[i] = list;
        // A choice in the list (also of the item already shown) and typing alike.
        const auto handler = [this, h = handlers[i]] { (this->*h)(); };
        connectGuarded(list, &QComboBox::activated, this, handler);
        connectGuarded(list, &QComboBox::currentIndexChanged, this, handler);
        connectGuarded(list, &QComboBox::editTextChanged, this, handler);
    }
}

void Temployee::buildPickers(QWidget *body)
{
    DatePicker **pickers[] = {&DateTimePicker1, &DateTimePicker2, &DateTimePicker3};
    const std::array<void (Temployee::*)(), 3> handlers{&Temployee::DateTimePicker1Change,
                                                       &Temployee::DateTimePicker2Change,
                                                       &Temployee::DateTimePicker3Change};
    for (size_t i = 0; i < 3; ++i) {
        auto *picker = new DatePicker(PickerStart, body);
        picker->setObjectName(QStringLiteral("DateTimePicker%1").arg(i + 1));
        picker->setFixedWidth(CompanionWidth);
        picker->setEnabled(false);
        setInputMethodName(picker, ime::Cangjie);
        *pickers[i] = picker;
        connectGuarded(picker, &DatePicker::picked, this,
                       [this, h = handlers[i]] { (this->*h)(); });
    }
}

// Left: number, name, national ID, date of birth, one row with sex, blood type and
// marital status, contact, telephone, E-mail, address. Right: department, place of origin,
// education, duty, the dates of joining and leaving, work history.
void Temployee::layOut(QWidget *body)
{
    auto boxLayout = [&](int n, QWidget *companion = nullptr) {
        return captioned(body, m_captions[size_t(n)], m_boxes[size_t(n)], companion);
    };
    auto *columns = new QHBoxLayout(body);
    columns->setContentsMargins(16, 4, 16, 4);
    columns->setSpacing(32);

    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    for (int n : {1, 2, 3})
        left->addLayout(boxLayout(n));
    left->addLayout(boxLayout(4, DateTimePicker1));
    auto *choices = new QHBoxLayout;
    choices->addLayout(boxLayout(5, ComboBox1));
    choices->addLayout(boxLayout(6, ComboBox2));
    choices->addLayout(boxLayout(7, ComboBox3));
    left->addLayout(choices);
    for (int n : {8, 9, 17, 16})
        left->addLayout(boxLayout(n));
    left->addStretch(1);
    columns->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(2);
    right->addLayout(boxLayout(10, Button1));
    right->addLayout(boxLayout(11));
    right->addLayout(boxLayout(12));
    right->addLayout(boxLayout(13, Button3));
    right->addLayout(boxLayout(14, DateTimePicker2));
    right->addLayout(boxLayout(15, DateTimePicker3));
    right->addLayout(captioned(body, QStringLiteral("經歷"), DBMemo1), 1);
    columns->addLayout(right, 1);

    const QList<QWidget *> tabOrder{
        DBEdit1,  DBEdit2,  DBEdit3,  DBEdit4,  DateTimePicker1, ComboBox1,       ComboBox2,
        ComboBox3, DBEdit8, DBEdit9,  DBEdit17, DBEdit16,        DBEdit10,        Button1,
        DBEdit11, DBEdit12, DBEdit13, Button3,  DBEdit14,        DateTimePicker2, DBEdit15,
        DateTimePicker3, DBMemo1, Button2};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void Temployee::Button1Click()
{
    ChooseDialog::pick(new TChooseDepartment(this, DBEdit10));
}

void Temployee::Button2Click()
{
    if (R_employee)
        R_employee->hide();
    closeScreen();
}

void Temployee::Button3Click()
{
    ChooseDialog::pick(new TChooseDuty(this, DBEdit13));
}

void Temployee::ComboBox1Change()
{
    writeChoice(0, ComboBox1->findText(ComboBox1->currentText()));
}

void Temployee::ComboBox2Change()
{
    writeChoice(1, ComboBox2->findText(ComboBox2->currentText()));
}

void Temployee::ComboBox3Change()
{
    writeChoice(2, ComboBox3->findText(ComboBox3->currentText()));
}

void Temployee::writeChoice(int list, int position)
{
    if (!isEditingMode())
        return;
    const ChoiceList &choice = choiceLists()[size_t(list)];
    m_boxes[size_t(choice.box)]->setText(choice.written.value(position, choice.otherwise));
}

void Temployee::DateTimePicker1Change()
{
    writeDate(DateTimePicker1, DBEdit4);
}

void Temployee::DateTimePicker2Change()
{
    writeDate(DateTimePicker2, DBEdit14);
}

void Temployee::DateTimePicker3Change()
{
    writeDate(DateTimePicker3, DBEdit15);
}

void Temployee::writeDate(DatePicker *picker, DBEdit *box)
{
    if (isEditingMode())
        box->setText(ShortDate::format(picker->date()));
}

void Temployee::DBEdit3Exit()
{
    DBEdit3->setText(upperCaseLatin(DBEdit3->text()));
    CheckID(DBEdit3->text());
    if (IDOK != 1)
        refuseLeaving(DBEdit3);
}

bool Temployee::CheckID(const QString &text)
{
    IDOK = 0;
    switch (checkNationalId(text)) {
    case NationalIdVerdict::WrongLength:
        ShowMessage(IdWrongLength);
        return false;
    case NationalIdVerdict::FirstNotLetter:
        ShowMessage(IdFirstLetter);
        return false;
    case NationalIdVerdict::NotDigits:
        ShowMessage(IdDigits);
        return false;
    case NationalIdVerdict::WrongContent:
        ShowMessage(IdWrongContent);
        return false;
    case NationalIdVerdict::Passes:
        break;
    }
    IDOK = 1;
    return true;
}

} // namespace tb
