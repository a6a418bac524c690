#include "app/mainform.h"

#include "app/windowframe.h"
#include "controls/guard.h"
#include "data/errors.h"
#include "maintenance/customer.h"
#include "maintenance/department.h"
#include "maintenance/duty.h"
#include "maintenance/employee.h"
#include "maintenance/pcolor.h"
#include "maintenance/product.h"
#include "maintenance/producttype.h"
#include "maintenance/punit.h"
#include "maintenance/supplier.h"
#include "placeholders/accountpayablemaster.h"
#include "placeholders/accountreceivablemaster.h"
#include "placeholders/buymaster.h"
#include "placeholders/panshuan.h"
#include "placeholders/purchasemaster.h"
#include "placeholders/purchasereturnmaster.h"
#include "placeholders/requestbuymaster.h"
#include "placeholders/talkabout.h"
#include "sales/delivery.h"
#include "sales/deliveryreturn.h"
#include "sales/order.h"
#include "sales/quote.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

// Resources of a static library must be registered by hand, from the global namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(tradebook);
}

namespace tb {

Tmain *main = nullptr;

namespace {

const char *const PicturePath = ":/images/main.jpg";

struct MenuGroup
{
    const char *name;
    const char *caption;
};

const MenuGroup MenuGroups[] = {
    {"N24", "設定"},
    {"ru1", "基本資料維護系統"},
    {"N7", "銷售管理系統"},
    {"N12", "進貨管理系統"},
    {"N17", "應收/應付系統"},
    {"N20", "關於"},
};

struct MenuItem
{
    const char *group;
    const char *name;
    const char *caption;
    QWidget *(*target)(); // read when chosen: the targets are created after this window
};

const MenuItem MenuItems[] = {
    {"N24", "N25", "產品單位設定", [] () -> QWidget * { return punit; }},
    {"N24", "N26", "產品類別設定", [] () -> QWidget * { return ProductType; }},
    {"N24", "N28", "產品顏色設定", [] () -> QWidget * { return Pcolor; }},
    {"N24", "N5", "員工部門設定", [] () -> QWidget * { return department; }},
    {"N24", "N6", "員工職務設定", [] () -> QWidget * { return Duty; }},
    {"ru1", "N1", "產品資料", [] () -> QWidget * { return Product; }},
    {"ru1", "N2", "客戶資料", [] () -> QWidget * { return Customer; }},
    {"ru1", "N3", "廠商資料", [] () -> QWidget * { return Supplier; }},
    {"ru1", "N4", "員工資料", [] () -> QWidget * { return employee; }},
    {"N7", "N8", "報價單", [] () -> QWidget * { return Quote; }},
    {"N7", "N9", "訂單", [] () -> QWidget * { return Order; }},
    {"N7", "N10", "銷貨單", [] () -> QWidget * { return Delivery; }},
    {"N7", "N11", "銷貨退回單", [] () -> QWidget * { return DeliveryReturn; }},
    {"N12", "N13", "請購單", [] () -> QWidget * { return Requestbuymaster; }},
    {"N12", "N14", "採購單", [] () -> QWidget * { return buymaster; }},
    {"N12", "N15", "進貨單", [] () -> QWidget * { return purchasemaster; }},
    {"N12", "N16", "進貨退出單", [] () -> QWidget * { return purchasereturnmaster; }},
    {"N17", "N18", "應收帳款", [] () -> QWidget * { return accountreceivablemaster; }},
    {"N17", "N19", "應付帳款", [] () -> QWidget * { return accountpayablemaster; }},
    {"N20", "N21", "版權", [] () -> QWidget * { return panshuan; }},
    {"N20", "N22", "說明", [] () -> QWidget * { return talkabout; }},
};

QPixmap loadPicture()
{
    if (!QImageReader::supportedImageFormats().contains("jpeg"))
        throw DatabaseError(QStringLiteral(
            "The JPEG image plugin of Qt (imageformats/libqjpeg) is not installed; "
            "the main window cannot show its picture."));
    QImageReader reader(QString::fromLatin1(PicturePath), "jpeg");
    const QImage image = reader.read();
    if (image.isNull())
        throw DatabaseError(QStringLiteral("The main window's picture cannot be read: %1")
                                .arg(reader.errorString()));
    return QPixmap::fromImage(image);
}

} // namespace

QString applicationTitleText()
{
    return QStringLiteral("進銷存管理系統");
}

Tmain::Tmain(QWidget *parent)
    : QMainWindow(parent)
{
    registerResources();
    setObjectName(QStringLiteral("main"));
    setWindowTitle(applicationTitleText());
    // No caption-bar buttons: the menu's exit entry is the only way to end the application.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    placeWindow(this, 200, 200, 601, 406);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(593, 345);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    Image1->setPixmap(loadPicture());
    auto *client = new QWidget(this);
    Image1->setParent(client);
    Image1->move(0, 0);
    setCentralWidget(client);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);
    buildMenu();
}

void Tmain::buildMenu()
{
    for (const MenuGroup &group : MenuGroups) {
        QMenu *menu = MainMenu1->addMenu(QString::fromUtf8(group.caption));
        menu->setObjectName(QString::fromLatin1(group.name));
        for (const MenuItem &item : MenuItems) {
            if (qstrcmp(item.group, group.name) != 0)
                continue;
            QAction *action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            QWidget *(*target)() = item.target;
            // Showing a screen may open its record sets; their errors go to the guard.
            connect(action, &QAction::triggered, this, [this, target] {
                runGuarded([this, target] { showInstead(target()); });
            });
        }
    }
    QAction *exit = MainMenu1->addAction(QStringLiteral("結束"));
    exit->setObjectName(QStringLiteral("N23"));
    connect(exit, &QAction::triggered, this, &Tmain::N23Click);
}

void Tmain::N23Click()
{
    close();
}

void Tmain::showInstead(QWidget *target)
{
    hide();
    if (target)
        target->show();
}

void Tmain::closeEvent(QCloseEvent *event)
{
    // Only the exit entry closes the hub; a window manager shortcut is ignored because the
    // window offers no close box.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

} // namespace tb
