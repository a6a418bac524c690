// Start-up against a database that lacks a table the quotation window opens: the error is
// shown once and no window survives.
#include "app/mainform.h"
#include "app/startup.h"
#include "maintenance/product.h"
#include "sales/quote.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

using namespace tb;

class TestStartupFailure : public QObject
{
    Q_OBJECT

private slots:
    void missingTableStopsStartUp();
    void mainWindowFirstThenTheRest();
    void restOfStartUpFailsAfterTheMainWindow();
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

QTEST_MAIN(TestStartupFailure)
#include "tst_shell_startupfailure.moc"
