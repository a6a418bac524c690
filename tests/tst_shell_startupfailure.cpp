// Start-up against a database that lacks a table the quotation window opens: the error is
// shown once and no window survives.
#include "app/mainform.h"
#include "app/startup.h"
#include "sales/quote.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QTest>

using namespace tb;

class TestStartupFailure : public QObject
{
    Q_OBJECT

private slots:
    void missingTableStopsStartUp();
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

QTEST_MAIN(TestStartupFailure)
#include "tst_shell_startupfailure.moc"
