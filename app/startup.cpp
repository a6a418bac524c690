#include "app/startup.h"

#include "app/backupscheduler.h"
#include "app/mainform.h"
#include "app/recordscreenlink.h"
#include "controls/dialogs.h"
#include "data/book/backgroundbookcheck.h"
#include "data/book/database.h"
#include "data/book/errors.h"
#include "data/book/pguri.h"
#include "lookup/chooselists.h"
#include "lookup/productpicker.h"
#include "lookup/queryscreens.h"
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

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tb {

namespace {

// One window of the start-up order: how to make it and the instance that holds it.
struct WindowSlot
{
    const char *name;
    std::function<QWidget *()> create;
    std::function<void()> clear;
};

template<typename T>
WindowSlot windowSlot(const char *name, T *&instance)
{
    return {name,
            [&instance] { return instance = new T(); },
            [&instance] { instance = nullptr; }};
}

// A query screen, handed the link to its maintenance screen as it is made.
template<typename Query, typename Screen>
WindowSlot querySlot(const char *name, Query *&instance, Screen *&maintenance)
{
    return {name,
            [&instance, &maintenance] {
                instance = new Query();
                instance->setMaintenanceScreen(linkTo(maintenance));
                return instance;
            },
            [&instance] { instance = nullptr; }};
}

// The fixed creation order: the main window first, then every other window once.
const std::vector<WindowSlot> &windowSlots()
{
    static const std::vector<WindowSlot> order = {
        windowSlot("main", main),
        windowSlot("Product", Product),
        windowSlot("Customer", Customer),
        windowSlot("Supplier", Supplier),
        windowSlot("employee", employee),
        windowSlot("department", department),
        windowSlot("punit", punit),
        windowSlot("Quote", Quote),
        windowSlot("Order", Order),
        windowSlot("Delivery", Delivery),
        windowSlot("DeliveryReturn", DeliveryReturn),
        windowSlot("Requestbuymaster", Requestbuymaster),
        windowSlot("buymaster", buymaster),
        windowSlot("purchasemaster", purchasemaster),
        windowSlot("purchasereturnmaster", purchasereturnmaster),
        windowSlot("accountreceivablemaster", accountreceivablemaster),
        windowSlot("accountpayablemaster", accountpayablemaster),
        windowSlot("panshuan", panshuan),
        windowSlot("talkabout", talkabout),
        windowSlot("ProductType", ProductType),
        windowSlot("Pcolor", Pcolor),
        windowSlot("Duty", Duty),
        windowSlot("chooseD", chooseD),
        windowSlot("ChooseUnit", ChooseUnit),
        windowSlot("ChooseColor", ChooseColor),
        windowSlot("ChooseDepartment", ChooseDepartment),
        windowSlot("ChooseDuty", ChooseDuty),
        windowSlot("Form28", Form28),
        querySlot("R_product", R_product, Product),
        querySlot("R_customer", R_customer, Customer),
        querySlot("R_Supplier", R_Supplier, Supplier),
        querySlot("R_employee", R_employee, employee),
        querySlot("R_Unit", R_Unit, punit),
        querySlot("R_Type", R_Type, ProductType),
        querySlot("R_Color", R_Color, Pcolor),
        querySlot("R_Department", R_Department, department),
        querySlot("R_Duty", R_Duty, Duty),
    };
    return order;
}

const QString CreateDatabaseQuestion =
    QStringLiteral("資料庫檔案不存在,要建立新的資料庫嗎?");
const QString FillEmptyFileQuestion =
    QStringLiteral("資料庫檔案是空的 (0 位元組),要在這個檔案建立新的資料庫嗎?");

// Why a database file cannot be made at its path, for the message that names it.
QString cannotCreateCause(Database::FileState state, const QString &folder)
{
    switch (state) {
    case Database::FileState::FolderMissing:
        return QStringLiteral("資料夾不存在: %1").arg(folder);
    case Database::FileState::FolderNotWritable:
        return QStringLiteral("沒有寫入資料夾的權限: %1").arg(folder);
    case Database::FileState::IsFolder:
        return QStringLiteral("這個路徑是資料夾,不是檔案");
    case Database::FileState::Exists:
    case Database::FileState::Missing:
    case Database::FileState::Empty:
        break;
    }
    return {};
}

// A path from the environment or the settings that names no file is more likely a typo
// than a wish for an empty book: the user decides, and No leaves everything untouched.
// A shared book on a server: one that cannot be reached ends start-up with one message
// naming the server and the cause, before any window shows.
bool serverReachable(const QString &alias)
{
    try {
        Database::connection(alias);
    } catch (const DatabaseError &error) {
        ShowError(error.message());
        return false;
    }
    return true;
}

bool databaseReady()
{
    const QString alias = QString::fromLatin1(Database::DefaultAlias);
    if (PgUri::isUri(Database::path(alias)))
        return serverReachable(alias);
    const Database::PathSource source = Database::pathSource(alias);
    if (source != Database::PathSource::Environment
        && source != Database::PathSource::Settings)
        return true;
    const Database::FileState state = Database::fileState(alias);
    if (state == Database::FileState::Exists)
        return true;
    const QFileInfo file(Database::path(alias));
    const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
    if (state != Database::FileState::Missing && state != Database::FileState::Empty) {
        const QString folder = QDir::toNativeSeparators(file.absolutePath());
        ShowError(QStringLiteral("無法建立資料庫檔案: %1\n%2")
                      .arg(shown, cannotCreateCause(state, folder)));
        return false;
    }
    // An empty file is no book (a copy cut short, a placeholder): asked about as a missing
    // one, and No leaves it as it is.
    const QString question = state == Database::FileState::Empty ? FillEmptyFileQuestion
                                                                  : CreateDatabaseQuestion;
    if (!AskYesNoDefaultNo(question + QLatin1Char('\n') + shown))
        return false;
    Database::allowCreate(alias);
    return true;
}

// The windows made so far, in creation order.
std::vector<QWidget *> &createdWindows()
{
    static std::vector<QWidget *> windows;
    return windows;
}

} // namespace

QStringList windowNames()
{
    QStringList names;
    for (const WindowSlot &s : windowSlots())
        names.append(QString::fromLatin1(s.name));
    return names;
}

namespace {

// Makes the windows at positions [from, to) of the start-up order. On failure the message
// is shown and false returned; the windows made so far stay until the caller ends start-up
// (a window may be delivering the very event that asked for the rest).
bool createWindows(size_t from, size_t to)
{
    try {
        const std::vector<WindowSlot> &order = windowSlots();
        for (size_t i = from; i < to && i < order.size(); ++i)
            createdWindows().push_back(order[i].create());
    } catch (const DatabaseError &error) {
        ShowError(error.message());
        return false;
    } catch (const SilentAbort &) {
        return false;
    } catch (const std::exception &error) {
        ShowError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    return true;
}

// Start-up that ends in this call: on failure every window made goes again.
bool createOrShutDown(size_t from, size_t to)
{
    shutDown();
    if (databaseReady() && createWindows(from, to))
        return true;
    shutDown();
    return false;
}

// The rest of start-up, after the main window: begun as soon as the main window has been
// drawn, so that the user sees the application without waiting for its 36 other windows,
// and made one window per turn of the event loop, so that the window stays responsive
// meanwhile. Nothing can use them earlier: the first click or key press (or, should no paint
// come, a short timer) makes all that are left first, before it is delivered.
class RestOfStartUp : public QObject
{
public:
    RestOfStartUp(QApplication &app, std::function<void()> whenDone)
        : m_app(app), m_whenDone(std::move(whenDone))
    {
        s_running = this;
        app.installEventFilter(this);
        m_fallback.setSingleShot(true);
        connect(&m_fallback, &QTimer::timeout, this, &RestOfStartUp::begin);
        m_fallback.start(250);
    }

    ~RestOfStartUp() override { s_running = nullptr; }

    // The start-up at work, if any.
    static RestOfStartUp *running() { return s_running; }

    // Everything left, at once; false when start-up has failed.
    bool finish()
    {
        if (!m_done) {
            StartUpStep result = StartUpStep::More;
            while (result == StartUpStep::More)
                result = createNextWindow();
            end(result);
        }
        return !m_failed;
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Once start-up has failed the application is ending: no input reaches its windows.
        if (m_failed)
            return isUserInput(event->type());
        if (m_done)
            return false;
        if (event->type() == QEvent::Paint && watched == main)
            QTimer::singleShot(0, this, &RestOfStartUp::begin);
        else if (isUserInput(event->type()))
            finish();
        return m_failed;
    }

private:
    static bool isUserInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: case QEvent::KeyPress: case QEvent::KeyRelease:
        case QEvent::ShortcutOverride: case QEvent::Shortcut: case QEvent::ContextMenu:
        case QEvent::Wheel: case QEvent::InputMethod:
            return true;
        default:
            return false;
        }
    }

    void begin()
    {
        if (m_begun || m_done)
            return;
        m_begun = true;
        m_fallback.stop();
        step();
    }

    void step()
    {
        if (m_done)
            return;
        const StartUpStep result = createNextWindow();
        if (result == StartUpStep::More)
            QTimer::singleShot(0, this, &RestOfStartUp::step);
        else
            end(result);
    }

    // The windows stay until the event loop has ended: one of them may be receiving the
    // event that asked for the rest.
    void end(StartUpStep result)
    {
        m_done = true;
        m_fallback.stop();
        m_failed = result == StartUpStep::Failed;
        if (m_failed) {
            m_app.exit(1);
            return;
        }
        m_app.removeEventFilter(this);
        if (m_whenDone)
            QTimer::singleShot(0, this, m_whenDone);
    }

    static inline RestOfStartUp *s_running = nullptr;
    QApplication &m_app;
    std::function<void()> m_whenDone;
    QTimer m_fallback;
    bool m_begun = false;
    bool m_done = false;
    bool m_failed = false;
};

} // namespace

bool startUp()
{
    return createOrShutDown(0, windowSlots().size());
}

bool startMainWindow()
{
    return createOrShutDown(0, 1);
}

StartUpStep createNextWindow()
{
    const size_t next = createdWindows().size();
    if (next == 0 || next >= windowSlots().size())
        return StartUpStep::Done;
    if (!createWindows(next, next + 1))
        return StartUpStep::Failed;
    return next + 1 < windowSlots().size() ? StartUpStep::More : StartUpStep::Done;
}

bool finishStartUp()
{
    if (RestOfStartUp *rest = RestOfStartUp::running())
        return rest->finish();
    StartUpStep result = StartUpStep::More;
    while (result == StartUpStep::More)
        result = createNextWindow();
    return result != StartUpStep::Failed;
}

void shutDown()
{
    std::vector<QWidget *> &windows = createdWindows();
    const std::vector<WindowSlot> &order = windowSlots();
    for (size_t i = windows.size(); i-- > 0;) {
        order[i].clear();
        delete windows[i];
    }
    windows.clear();
}

bool displayAvailable(QString *message)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        if (message)
            *message = QStringLiteral(
                "tradebook: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                "start it on a desktop, or without one as: xvfb-run -a ./build/tradebook");
        return false;
    }
#endif
    if (message)
        message->clear();
    return true;
}

int runApplication(QApplication &app)
{
    // The hub decides when the application ends: closing the main window quits, and every
    // other window hands back to it rather than leaving the screen empty.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!startMainWindow())
        return 1;
    // Once the windows are all there, off the way of the start: the book is checked for
    // damage (told once), and copies of it are kept; the last copy, if the book changed, is
    // taken as this function ends.
    BackgroundBookCheck bookCheck;
    QObject::connect(&bookCheck, &BackgroundBookCheck::damaged, &bookCheck, &ShowError);
    std::unique_ptr<BackupScheduler> backups;
    RestOfStartUp rest(app, [&bookCheck, &backups] {
        if (!PgUri::isUri(Database::path()))
            bookCheck.start(Database::path());
        backups = BackupScheduler::forApplicationBook();
    });
    main->show();
    const int code = app.exec();
    shutDown();
    return code;
}

} // namespace tb
