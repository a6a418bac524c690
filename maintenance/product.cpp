#include "maintenance/product.h"

#include "controls/dbedit.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/windowframe.h"
#include "data/records/tablecursor.h"
#include "lookup/chooselists.h"
#include "lookup/queryscreens.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace tb {

TProduct *Product = nullptr;

namespace {

RecordScreenSetup productSetup()
{
    RecordScreenSetup setup;
    setup.name = QStringLiteral("Product");
    setup.caption = QStringLiteral("商品資料");
    setup.tableName = QStringLiteral("Product");
    setup.identifierField = QStringLiteral("ProductID");
    setup.identifier = {QStringLiteral("PR"), 6};
    setup.indexFieldNames = QStringLiteral("ProductID");
    setup.toolbarOrder = RecordToolBar::Order::ProductScreen;
    setup.closeButtonName = QStringLiteral("Button1");
    setup.queryScreen = [] () -> QWidget * { return R_product; };
    return setup;
}

struct BoxEntry
{
    DBEdit **box;
    const char *name;
    const char *caption;
    const char *field;
    QColor color;
    bool readOnly;
};

// A color square and its meaning, one line of the legend.
QWidget *legendEntry(QWidget *parent, const QColor &color, const QString &text)
{
    auto *entry = new QWidget(parent);
    auto *layout = new QHBoxLayout(entry);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *swatch = new QLabel(entry);
    swatch->setFixedSize(24, 16);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, color);
    swatch->setPalette(palette);
    layout->addWidget(swatch);
    layout->addWidget(new QLabel(text, entry), 1);
    return entry;
}

} // namespace

TProduct::TProduct()
    : RecordScreen(productSetup())
{
    placeWindow(this, 200, 162, 704, 455);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 10));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Midlight));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    Button1 = closeButton();
    onClick(Button1, [this] { Button1Click(); });

    using namespace fieldcolor;
    const BoxEntry left[] = {
        {&EditID, "EditID", "商品編號", "ProductID", Generated, true},
        {&EditName, "EditName", "商品名稱", "ProductName", Required, false},
        {&EditType, "EditType", "類別", "TypeName", Required, false},
        {&EditUnit, "EditUnit", "單位", "UnitName", Required, false},
        {&EditColor, "EditColor", "顏色", "ColorName", Required, false},
        {&EditStock, "EditStock", "存量", "Stock", Written, true},
        {&EditSafeStock, "EditSafeStock", "安全存量", "SafeStock", Required, false},
    };
    const BoxEntry right[] = {
        {&EditPriceA, "EditPriceA", "價格A", "PriceA", Required, false},
        {&EditPriceB, "EditPriceB", "價格B", "PriceB", Optional, false},
        {&EditPriceC, "EditPriceC", "價格C", "PriceC", Optional, false},
        {&EditPuDate, "EditPuDate", "最近進貨日", "LastPurchaseDate", Written, true},
        {&EditDeDate, "EditDeDate", "最近出貨日", "LastDeliveryDate", Written, true},
    };

    auto *body = new QWidget(this);
    auto *columns = new QHBoxLayout(body);
    columns->setContentsMargins(16, 8, 16, 8);
    columns->setSpacing(40);
    auto *leftColumn = new QVBoxLayout;
    auto *rightColumn = new QVBoxLayout;
    leftColumn->setSpacing(2);
    rightColumn->setSpacing(2);
    columns->addLayout(leftColumn, 1);
    columns->addLayout(rightColumn, 1);
    contentLayout()->addWidget(body, 1);

    Button2 = makePickButton(body, QStringLiteral("Button2"));
    Button3 = makePickButton(body, QStringLiteral("Button3"));
    Button4 = makePickButton(body, QStringLiteral("Button4"));

    auto addBoxes = [&](QVBoxLayout *column, const auto &entries) {
        for (const BoxEntry &entry : entries) {
            *entry.box = boundBox(body, QLatin1String(entry.name), QLatin1String(entry.field),
                                  entry.color, entry.readOnly);
            QPushButton *pick = entry.box == &EditType    ? Button2
                                : entry.box == &EditUnit  ? Button3
                                : entry.box == &EditColor ? Button4
                                                         : nullptr;
            column->addLayout(captioned(body, QString::fromUtf8(entry.caption), *entry.box, pick));
        }
    };
    addBoxes(leftColumn, left);
    addBoxes(rightColumn, right);
    leftColumn->addStretch(1);

    GroupBox1 = new QGroupBox(QStringLiteral("欄位顏色說明"), body);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *legend = new QVBoxLayout(GroupBox1);
    legend->addWidget(legendEntry(GroupBox1, Generated, QStringLiteral("系統自動產生")));
    legend->addWidget(legendEntry(GroupBox1, Required, QStringLiteral("必填欄位")));
    legend->addWidget(legendEntry(GroupBox1, Written, QStringLiteral("系統自動寫入")));
    legend->addWidget(legendEntry(GroupBox1, Optional, QStringLiteral("可填可不填")));
    rightColumn->addStretch(1);
    rightColumn->addWidget(GroupBox1);

    // Disabled controls are skipped, so in editing mode the focus runs name, safety stock,
    // the prices, then the pick buttons.
    const QList<QWidget *> tabOrder{Button1, EditID, EditName, EditStock, EditSafeStock,
                                    EditPriceA, EditPriceB, EditPriceC, EditPuDate,
                                    EditDeDate, Button2, Button3, Button4, EditType, EditUnit,
                                    EditColor};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    setEditingControls({Button2, Button3, Button4, EditName, EditSafeStock, EditPriceA,
                        EditPriceB, EditPriceC});
    setRequiredChecks({
        RequiredCheck::filled(EditName, QStringLiteral("商品名稱不可為空白!")),
        RequiredCheck::filled(EditType, QStringLiteral("類別不可為空白!")),
        RequiredCheck::filled(EditUnit, QStringLiteral("單位不可為空白!")),
        RequiredCheck::filled(EditSafeStock, QStringLiteral("安全存量不可為空白!")),
        RequiredCheck::filled(EditPriceA, QStringLiteral("價格A不可為空白!")),
    });

    onClick(Button2, [this] { Button2Click(); });
    onClick(Button3, [this] { Button3Click(); });
    onClick(Button4, [this] { Button4Click(); });
}

void TProduct::Button1Click()
{
    closeScreen();
}

void TProduct::Button2Click()
{
    ChooseDialog::pick(new TchooseD(this, EditType));
}

void TProduct::Button3Click()
{
    ChooseDialog::pick(new TChooseUnit(this, EditUnit));
}

void TProduct::Button4Click()
{
    ChooseDialog::pick(new TChooseColor(this, EditColor));
}

void TProduct::Table1NewRecord()
{
    for (const char *field : {"Stock", "PriceA", "PriceB", "PriceC"})
        Table1->FieldByName(QLatin1String(field))->setAsInteger(0);
}

void TProduct::Table1BeforePost()
{
    const std::pair<DBEdit *, const char *> zeroWhenEmpty[] = {
        {EditStock, "Stock"}, {EditPriceB, "PriceB"}, {EditPriceC, "PriceC"}};
    for (const auto &[box, field] : zeroWhenEmpty)
        if (box->text().isEmpty())
            Table1->FieldByName(QLatin1String(field))->setAsInteger(0);
}

} // namespace tb
