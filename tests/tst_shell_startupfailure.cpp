// Start-up against a database that lacks a table the quotation window opens: the error is
// shown once and no window survives.
#include "app/mainform.h"
#include "app/startup.h"
#include "data/book/database.h"
#include "data/book/transaction.h"
#include "maintenance/product.h"
#include "sales/quote.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tb;

class TestStartupFailure : public QObject
{
    Q_OBJECT

private slots:
    void missingTableStopsStartUp();
    void mainWindowFirstThenTheRest();
    void restComesOneWindowPerTurnUntilTheUserActs();
    void restOfStartUpFailsAfterTheMainWindow();
    void restFailingOnAKeyPressSwallowsTheKey();
    void menuEntryChosenAtOnceFindsItsWindow_data();
    void menuEntryChosenAtOnceFindsItsWindow();
    void menuEntryChosenAtOnceWhenTheRestFails();
    void unreachableServerStopsStartUpBeforeAnyWindow();
    void damagedBookIsToldOnceAfterStartUp();
};

void TestStartupFailure::missingTableStopsStartUp()
{
    test::TestDatabase db;
    db.exec("drop table Customer");

    test::ModalAnswer answer(QMessageBox::Ok);
    QVERIFY(!startUp());

    QCOMPARE(answer.seen(), 1);
    QVERIFY2(answer.text().contains("Customer"), qPrintable(answer.text()));
    QCOMPARE(answer.caption(), QString("進銷存管理系統"));
    QCOMPARE(answer.icon(), QMessageBox::Critical);
    // Start-up ends here: no window is left behind, not even the main window.
    QVERIFY(!main);
    QVERIFY(!Quote);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(w->objectName().isEmpty() || !w->isVisible(), qPrintable(w->objectName()));
}

void TestStartupFailure::mainWindowFirstThenTheRest()
{
    test::TestDatabase db;
    bool mainAlone = false, restBeforeKey = false, restAfterKey = false;
    QTimer::singleShot(0, [&] {
        // The first moment the event loop runs: the main window is up, the others follow
        // once it has been drawn, or earlier when the user presses a key.
        mainAlone = main && main->isVisible() && !Quote;
        restBeforeKey = Quote != nullptr;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::sendEvent(main, &press);
        restAfterKey = Quote != nullptr && Product != nullptr;
        QCoreApplication::exit(0);
    });
    QCOMPARE(runApplication(*qApp), 0);
    QVERIFY(mainAlone);
    QVERIFY(!restBeforeKey);
    QVERIFY(restAfterKey);
    QVERIFY(!main); // shut down again
}

int windowsMade()
{
    int made = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        made += windowNames().contains(w->objectName()) ? 1 : 0;
    return made;
}

void TestStartupFailure::restComesOneWindowPerTurnUntilTheUserActs()
{
    test::TestDatabase db;
    const int all = int(windowNames().size());
    QList<int> seen;
    int afterKey = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const int made = windowsMade();
        if (seen.isEmpty() || seen.last() != made)
            seen << made;
        if (made > 5 && made < all && !afterKey) {
            // The user acts half-way: everything left is made before the key arrives.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
            QCoreApplication::sendEvent(main, &press);
            afterKey = windowsMade();
        }
        if (made == all)
            QCoreApplication::exit(0);
    });
    watch.start(0);
    QCOMPARE(runApplication(*qApp), 0);
    QVERIFY2(seen.size() > 3, qPrintable(QString::number(seen.size())));
    QCOMPARE(seen.first(), 1); // the main window alone
    for (int i = 1; i < seen.size() - 1; ++i)
        QVERIFY(seen[i] > seen[i - 1]);
    QCOMPARE(afterKey, all);
}

void TestStartupFailure::restOfStartUpFailsAfterTheMainWindow()
{
    test::TestDatabase db;
    db.exec("drop table Customer");
    test::ModalAnswer answer(QMessageBox::Ok);
    QCOMPARE(runApplication(*qApp), 1);
    QCOMPARE(answer.seen(), 1);
    QVERIFY2(answer.text().contains("Customer"), qPrintable(answer.text()));
    QVERIFY(!main);
    QVERIFY(!Quote);
}

void TestStartupFailure::restFailingOnAKeyPressSwallowsTheKey()
{
    test::TestDatabase db;
    db.exec("drop table Customer");
    test::ModalAnswer answer(QMessageBox::Ok);
    // Counts the keys that reach the main window itself.
    struct KeyCounter : QObject
    {
        int keys = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            keys += event->type() == QEvent::KeyPress ? 1 : 0;
            return false;
        }
    } counter;
    QTimer::singleShot(0, [&] {
        // The key makes the rest first; a window that cannot be made ends start-up while
        // the main window is still receiving the key: it must survive that, and the key
        // must not reach it.
        main->installEventFilter(&counter);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::sendEvent(main, &press);
        QCoreApplication::sendEvent(main, &press);
    });
    QCOMPARE(runApplication(*qApp), 1);
    QCOMPARE(counter.keys, 0);
    QCOMPARE(answer.seen(), 1);
    QVERIFY2(answer.text().contains("Customer"), qPrintable(answer.text()));
    QVERIFY(!main);
    QVERIFY(!Quote);
}

// Runs the action once the main window has been drawn, before anything else reaches it:
// as an accessibility tool or a global menu bar would choose a menu entry.
class TriggerWhenDrawn : public QObject
{
public:
    explicit TriggerWhenDrawn(std::function<void()> trigger) : m_trigger(std::move(trigger))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_done && watched == main && event->type() == QEvent::Paint) {
            m_done = true;
            QTimer::singleShot(0, qApp, m_trigger);
        }
        return false;
    }

private:
    std::function<void()> m_trigger;
    bool m_done = false;
};

QWidget *topLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

void TestStartupFailure::menuEntryChosenAtOnceFindsItsWindow_data()
{
    QTest::addColumn<QString>("window");
    const std::pair<const char *, const char *> entries[] = {
        {"N25", "punit"}, {"N26", "ProductType"}, {"N28", "Pcolor"}, {"N5", "department"},
        {"N6", "Duty"}, {"N1", "Product"}, {"N2", "Customer"}, {"N3", "Supplier"},
        {"N4", "employee"}, {"N8", "Quote"}, {"N9", "Order"}, {"N10", "Delivery"},
        {"N11", "DeliveryReturn"}, {"N13", "Requestbuymaster"}, {"N14", "buymaster"},
        {"N15", "purchasemaster"}, {"N16", "purchasereturnmaster"},
        {"N18", "accountreceivablemaster"}, {"N19", "accountpayablemaster"},
        {"N21", "panshuan"}, {"N22", "talkabout"}};
    for (const auto &[action, window] : entries)
        QTest::newRow(action) << QString::fromLatin1(window);
}

void TestStartupFailure::menuEntryChosenAtOnceFindsItsWindow()
{
    QFETCH(QString, window);
    test::TestDatabase db;
    const QString action = QString::fromLatin1(QTest::currentDataTag());
    bool shown = false, mainHidden = false;
    TriggerWhenDrawn trigger([&] {
        main->findChild<QAction *>(action)->trigger();
        QWidget *target = topLevel(window);
        shown = target && target->isVisible();
        mainHidden = !main->isVisible();
        QCoreApplication::exit(0);
    });
    QCOMPARE(runApplication(*qApp), 0);
    QVERIFY(shown);
    QVERIFY(mainHidden);
}

void TestStartupFailure::menuEntryChosenAtOnceWhenTheRestFails()
{
    test::TestDatabase db;
    db.exec("drop table Customer");
    test::ModalAnswer answer(QMessageBox::Ok);
    bool mainShown = false;
    TriggerWhenDrawn trigger([&] {
        main->findChild<QAction *>(QStringLiteral("N22"))->trigger();
        // The application is ending with the message; until then the main window stays.
        mainShown = main && main->isVisible();
    });
    QCOMPARE(runApplication(*qApp), 1);
    QCOMPARE(answer.seen(), 1);
    QVERIFY2(answer.text().contains("Customer"), qPrintable(answer.text()));
    QVERIFY(mainShown);
    QVERIFY(!main);
}

void TestStartupFailure::unreachableServerStopsStartUpBeforeAnyWindow()
{
    QTemporaryDir nowhere;
    qputenv("TRADEBOOK_DATABASE", QStringLiteral("postgresql://office@/tradebook?host=%1")
                                      .arg(nowhere.path()).toUtf8());
    Database::setPath(QString::fromLatin1(Database::DefaultAlias), QString());
    test::ModalAnswer answer(QMessageBox::Ok);
    QCOMPARE(runApplication(*qApp), 1);
    qunsetenv("TRADEBOOK_DATABASE");
    QCOMPARE(answer.seen(), 1);
    const QStringList lines = answer.text().split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("無法連線到資料庫伺服器: 本機 (socket %1) 的資料庫 "
                                            "tradebook").arg(nowhere.path()));
    QVERIFY2(lines.value(1).contains(nowhere.path()), qPrintable(answer.text())); // the cause
    QCOMPARE(answer.icon(), QMessageBox::Critical);
    QVERIFY(!main);
}

// A book with 4 KiB of noise in its middle (among the product rows, which start-up does not
// read): the application starts as usual, and once its windows are there the check finds the
// damage and tells it once, naming the file.
void TestStartupFailure::damagedBookIsToldOnceAfterStartUp()
{
    if (test::TestDatabase::onServer())
        QSKIP("a file's damage");
    test::TestDatabase db;
    {
        const QSqlDatabase book = Database::connection();
        Transaction transaction(book);
        for (int i = 1; i <= 3000; ++i)
            Database::exec(book, QStringLiteral("INSERT INTO Product (ProductID, ProductName) "
                                                "VALUES (?, ?)"),
                           {QStringLiteral("PR%1").arg(i, 6, 10, QLatin1Char('0')),
                            QStringLiteral("磁磚").repeated(10)});
        transaction.commit();
    }
    Database::closeAll();
    {
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray noise(4096, '\0');
        QRandomGenerator random(17);
        for (char &c : noise)
            c = char(random.bounded(256));
        QVERIFY(file.seek(file.size() / 2 / 4096 * 4096));
        QCOMPARE(file.write(noise), qint64(noise.size()));
    }
    test::ModalAnswer answer(QMessageBox::Ok, 2);
    QTimer watch;
    int ticks = 0, toldAt = -1;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ++ticks;
        if (answer.seen() > 0 && toldAt < 0)
            toldAt = ticks;
        // A while after the message, to see that it is not told again.
        if ((toldAt >= 0 && ticks > toldAt + 20) || ticks > 300)
            QCoreApplication::exit(0);
    });
    watch.start(50);
    QCOMPARE(runApplication(*qApp), 0);
    QCOMPARE(answer.seen(), 1);
    QVERIFY2(answer.text().startsWith(QStringLiteral("資料庫檔案 ") + db.path()),
             qPrintable(answer.text()));
    QVERIFY2(answer.text().contains(QStringLiteral("從備份還原")), qPrintable(answer.text()));
    QCOMPARE(answer.icon(), QMessageBox::Critical);
}

QTEST_MAIN(TestStartupFailure)
#include "tst_shell_startupfailure.moc"
