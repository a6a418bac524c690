#include "app/mainform.h"

#include "app/startup.h"

#include "controls/dialogs.h"
#include "controls/guard.h"
#include "controls/windowframe.h"
#include "controls/workwindow.h"
#include "data/book/errors.h"
#include "maintenance/customer.h"
#include "maintenance/codetables.h"
#include "maintenance/employee.h"
#include "maintenance/product.h"
#include "maintenance/supplier.h"
#include "placeholders/placeholders.h"
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
    void (Tmain::*handler)();
};

const MenuItem MenuItems[] = {
    {"N24", "N25", "產品單位設定", &Tmain::N25Click},
    {"N24", "N26", "產品類別設定", &Tmain::N26Click},
    {"N24", "N28", "產品顏色設定", &Tmain::N28Click},
    {"N24", "N5", "員工部門設定", &Tmain::N5Click},
    {"N24", "N6", "員工職務設定", &Tmain::N6Click},
    {"ru1", "N1", "產品資料", &Tmain::N1Click},
    {"ru1", "N2", "客戶資料", &Tmain::N2Click},
    {"ru1", "N3", "廠商資料", &Tmain::N3Click},
    {"ru1", "N4", "員工資料", &Tmain::N4Click},
    {"N7", "N8", "報價單", &Tmain::N8Click},
    {"N7", "N9", "訂單", &Tmain::N9Click},
    {"N7", "N10", "銷貨單", &Tmain::N10Click},
    {"N7", "N11", "銷貨退回單", &Tmain::N11Click},
    {"N12", "N13", "請購單", &Tmain::N13Click},
    {"N12", "N14", "採購單", &Tmain::N14Click},
    {"N12", "N15", "進貨單", &Tmain::N15Click},
    {"N12", "N16", "進貨退出單", &Tmain::N16Click},
    {"N17", "N18", "應收帳款", &Tmain::N18Click},
    {"N17", "N19", "應付帳款", &Tmain::N19Click},
    {"N20", "N21", "版權", &Tmain::N21Click},
    {"N20", "N22", "說明", &Tmain::N22Click},
};

// Read straight away with the one format it needs: asking Qt for every supported format
// would load the metadata of every image plugin installed, on each start.
QPixmap loadPicture()
{
    QImageReader reader(QString::fromLatin1(PicturePath), "jpeg");
    const QImage image = reader.read();
    if (image.isNull() && reader.error() == QImageReader::UnsupportedFormatError)
        throw DatabaseError(QStringLiteral(
            "The JPEG image plugin of Qt (imageformats/libqjpeg) is not installed; "
            "the main window cannot show its picture."));
    if (image.isNull())
        throw DatabaseError(QStringLiteral("The main window's picture cannot be read: %1")
                                .arg(reader.errorString()));
    return QPixmap::fromImage(image);
}

// The window an entry shows, read once every window is made: an entry may be chosen before
// the rest of start-up has made its window. Null when start-up failed.
template<typename Window>
QWidget *made(Window *const &instance)
{
    return finishStartUp() ? instance : nullptr;
}

} // namespace

Tmain::Tmain(QWidget *parent)
    : QMainWindow(parent)
{
    registerResources();
    setObjectName(QStringLiteral("main"));
    WorkWindow::setHub(this);
    setWindowTitle(applicationTitle());
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
            // Showing a screen may open its record sets; their errors go to the guard.
            connectGuarded(action, &QAction::triggered, this,
                           [this, handler = item.handler](auto &&...) { (this->*handler)(); });
        }
    }
    QAction *exit = MainMenu1->addAction(QStringLiteral("結束"));
    exit->setObjectName(QStringLiteral("N23"));
    connect(exit, &QAction::triggered, this, &Tmain::N23Click);
}

void Tmain::N25Click() { showInstead(made(punit)); }
void Tmain::N26Click() { showInstead(made(ProductType)); }
void Tmain::N28Click() { showInstead(made(Pcolor)); }
void Tmain::N5Click() { showInstead(made(department)); }
void Tmain::N6Click() { showInstead(made(Duty)); }
void Tmain::N1Click() { showInstead(made(Product)); }
void Tmain::N2Click() { showInstead(made(Customer)); }
void Tmain::N3Click() { showInstead(made(Supplier)); }
void Tmain::N4Click() { showInstead(made(employee)); }
void Tmain::N8Click() { showInstead(made(Quote)); }
void Tmain::N9Click() { showInstead(made(Order)); }
void Tmain::N10Click() { showInstead(made(Delivery)); }
void Tmain::N11Click() { showInstead(made(DeliveryReturn)); }
void Tmain::N13Click() { showInstead(made(Requestbuymaster)); }
void Tmain::N14Click() { showInstead(made(buymaster)); }
void Tmain::N15Click() { showInstead(made(purchasemaster)); }
void Tmain::N16Click() { showInstead(made(purchasereturnmaster)); }
void Tmain::N18Click() { showInstead(made(accountreceivablemaster)); }
void Tmain::N19Click() { showInstead(made(accountpayablemaster)); }
void Tmain::N21Click() { showInstead(made(panshuan)); }
void Tmain::N22Click() { showInstead(made(talkabout)); }

void Tmain::N23Click()
{
    close();
}

void Tmain::showInstead(QWidget *target)
{
    // Without a window to show, hiding this one would leave the user with none.
    if (!target)
        return;
    hide();
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
