#include "controls/datepicker.h"
#include "controls/dialogs.h"
#include "controls/guard.h"
#include "controls/inputmethod.h"
#include "controls/recordtoolbar.h"
#include "data/book/errors.h"
#include "testsupport/modalanswer.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace tb;
using tb::test::ModalAnswer;

namespace {

// Presses Escape in the next modal message box.
void escapeNextBox()
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            QTest::keyClick(modal, Qt::Key_Escape);
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace

class TestControlsBasic : public QObject
{
    Q_OBJECT
private slots:

    void dialogKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("message") << 0 << "進銷存管理系統" << int(QMessageBox::NoIcon)
                                 << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("error") << 1 << "進銷存管理系統" << int(QMessageBox::Critical)
                               << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("warning") << 2 << "Warning" << int(QMessageBox::Warning)
                                 << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("confirm") << 3 << "Confirm" << int(QMessageBox::Question)
                                 << int(QMessageBox::Yes | QMessageBox::No)
                                 << int(QMessageBox::Yes);
        QTest::newRow("delete question") << 4 << "" << int(QMessageBox::Question)
                                         << int(QMessageBox::Yes | QMessageBox::No)
                                         << int(QMessageBox::No);
        QTest::newRow("grid delete") << 5 << "Confirm" << int(QMessageBox::Question)
                                     << int(QMessageBox::Ok | QMessageBox::Cancel)
                                     << int(QMessageBox::Ok);
    }
    void dialogKinds()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        ModalAnswer answer(static_cast<QMessageBox::StandardButton>(defaultButton));
        const QString text = QStringLiteral("您要刪除此筆資料嗎?");
        bool result = false;
        switch (kind) {
        case 0: ShowMessage(text); break;
        case 1: ShowError(text); break;
        case 2: ShowWarning(text); break;
        case 3: result = Confirm(text); break;
        case 4: result = AskYesNoDefaultNo(text); break;
        case 5: result = AskOkCancel(text); break;
        }
        QCOMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), text);
        QCOMPARE(answer.caption(), caption);
        QCOMPARE(int(answer.icon()), icon);
        QCOMPARE(int(answer.buttons()), buttons);
        QCOMPARE(int(answer.defaultButton()), defaultButton);
        // Pressing the default answers yes on the questions whose default is yes.
        QCOMPARE(result, kind == 3 || kind == 5);
    }

    void questionsAnswer()
    {
        {
            ModalAnswer answer(QMessageBox::Yes);
            QVERIFY(AskYesNoDefaultNo(QStringLiteral("?")));
        }
        {
            ModalAnswer answer(QMessageBox::No);
            QVERIFY(!Confirm(QStringLiteral("?")));
        }
        {
            ModalAnswer answer(QMessageBox::Cancel);
            QVERIFY(!AskOkCancel(QStringLiteral("Delete record?")));
        }
        // Escape answers No on the confirmation and Cancel on the grid's question.
        escapeNextBox();
        QVERIFY(!Confirm(QStringLiteral("確定刪除本筆訂單資料?")));
        escapeNextBox();
        QVERIFY(!AskOkCancel(QStringLiteral("Delete record?")));
    }

    void guardShowsErrorsAndSwallowsAborts()
    {
        {
            ModalAnswer answer(QMessageBox::Ok);
            bool after = false;
            runGuarded([&] {
                throw DatabaseError(QStringLiteral("Key violation."));
                after = true;
            });
            QVERIFY(!after);
            QCOMPARE(answer.seen(), 1);
            QCOMPARE(answer.text(), QStringLiteral("Key violation."));
            QCOMPARE(answer.icon(), QMessageBox::Critical);
            QCOMPARE(answer.caption(), applicationTitle());
        }
        {
            ModalAnswer answer(QMessageBox::Ok);
            runGuarded([] { throw std::runtime_error("disk full"); });
            QCOMPARE(answer.text(), QStringLiteral("disk full"));
        }
        // An error without a word (a driver that closed a broken connection silently)
        // still tells the user something, in a sentence, never in an empty box.
        for (const QString &empty : {QString(), QStringLiteral(" \n")}) {
            ModalAnswer answer(QMessageBox::Ok);
            runGuarded([&] { throw DatabaseError(empty); });
            QCOMPARE(answer.seen(), 1);
            QVERIFY2(answer.text().startsWith(QStringLiteral("這項操作沒有完成")),
                     qPrintable(answer.text()));
        }
        {
            ModalAnswer answer(QMessageBox::Ok);
            bool ran = false;
            runGuarded([&] {
                ran = true;
                Abort();
            });
            QTest::qWait(50);
            QVERIFY(ran);
            QCOMPARE(answer.seen(), 0);
        }
    }

    void connectGuardedRunsTheHandlerGuarded()
    {
        QPushButton button;
        int clicks = 0;
        connectGuarded(&button, &QPushButton::clicked, &button, [&](bool) {
            ++clicks;
            throw DatabaseError(QStringLiteral("'x' is not a valid integer value"));
        });
        ModalAnswer answer(QMessageBox::Ok);
        button.click();
        QCOMPARE(clicks, 1);
        QCOMPARE(answer.text(), QStringLiteral("'x' is not a valid integer value"));
    }

    void toolbarLayout_data()
    {
        QTest::addColumn<bool>("product");
        QTest::addColumn<QString>("refresh");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("standard") << false << "查詢"
                                  << QStringList{"sbFirst", "sbPrior", "sbNext", "sbLast",
                                                 "sbInsert", "sbDelete", "sbEdit", "sbPost",
                                                 "sbCancel", "sbRefresh"};
        QTest::newRow("order windows") << false << "更新"
                                       << QStringList{"sbFirst", "sbPrior", "sbNext", "sbLast",
                                                      "sbInsert", "sbDelete", "sbEdit",
                                                      "sbPost", "sbCancel", "sbRefresh"};
        QTest::newRow("product") << true << "查詢"
                                 << QStringList{"sbRefresh", "sbInsert", "sbDelete", "sbEdit",
                                                "sbPost", "sbCancel", "sbFirst", "sbPrior",
                                                "sbNext", "sbLast"};
    }
    void toolbarLayout()
    {
        QFETCH(bool, product);
        QFETCH(QString, refresh);
        QFETCH(QStringList, order);
        QWidget window;
        window.resize(700, 40);
        RecordToolBar bar(&window,
                          product ? RecordToolBar::Order::ProductScreen
                                  : RecordToolBar::Order::Standard,
                          refresh, QStringLiteral("Button2"));
        bar.resize(700, 29);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QMap<QString, QString> captions{
            {"sbFirst", "第一筆"}, {"sbPrior", "上一筆"}, {"sbNext", "下一筆"},
            {"sbLast", "最後一筆"}, {"sbInsert", "新增"}, {"sbDelete", "刪除"},
            {"sbEdit", "修改"}, {"sbPost", "儲存"}, {"sbCancel", "取消"},
            {"sbRefresh", refresh}};
        int x = -1;
        for (const QString &name : order) {
            auto *button = bar.findChild<QToolButton *>(name);
            QVERIFY2(button, qPrintable(name));
            QCOMPARE(button->text(), captions.value(name));
            QCOMPARE(button->height(), 29);
            QCOMPARE(button->width(), product && name == "sbLast" ? 56 : 50);
            QCOMPARE(button->font().family(), QStringLiteral("細明體"));
            QCOMPARE(button->font().pointSize(), 9);
            QVERIFY2(button->x() > x, qPrintable(name));
            x = button->x();
        }
        auto *close = bar.findChild<QPushButton *>(QStringLiteral("Button2"));
        QVERIFY(close);
        QCOMPARE(close, bar.closeButton);
        QCOMPARE(close->text(), QStringLiteral("結束"));
        QVERIFY(close->x() > x);
        QCOMPARE(close->geometry().right(), bar.width() - 1);
    }

    void toolbarModes()
    {
        RecordToolBar bar(nullptr, RecordToolBar::Order::Standard, QStringLiteral("查詢"),
                          QStringLiteral("Button1"));
        const QList<QAbstractButton *> browseOnly{bar.sbFirst, bar.sbPrior, bar.sbNext,
                                                  bar.sbLast, bar.sbInsert, bar.sbDelete,
                                                  bar.sbEdit, bar.sbRefresh, bar.closeButton};
        const QList<QAbstractButton *> editOnly{bar.sbPost, bar.sbCancel};
        auto check = [&](bool editing, bool insertWhileEditing) {
            for (QAbstractButton *b : browseOnly) {
                const bool expected = !editing || (insertWhileEditing && b == bar.sbInsert);
                QVERIFY2(b->isEnabled() == expected, qPrintable(b->objectName()));
            }
            for (QAbstractButton *b : editOnly)
                QVERIFY2(b->isEnabled() == editing, qPrintable(b->objectName()));
        };
        check(false, false); // created in browse mode
        bar.setEditingMode(true);
        check(true, false);
        bar.setEditingMode(false);
        check(false, false);

        bar.setInsertEnabledWhileEditing(true);
        bar.setEditingMode(true);
        check(true, true);
        bar.setEditingMode(false);
        check(false, true);
    }

    void inputMethodHint()
    {
        QPushButton box;
        QCOMPARE(inputMethodName(&box), QString());
        setInputMethodName(&box, ime::Zhuyin);
        QCOMPARE(inputMethodName(&box), QStringLiteral("中文 (繁體) - 注音"));
    }

    void datePickerTellsOnlyOfChanges()
    {
        DatePicker picker(QDate(2006, 7, 25));
        QSignalSpy picked(&picker, &DatePicker::picked);
        QCOMPARE(picker.date(), QDate(2006, 7, 25));
        picker.pick(QDate(2001, 3, 3));
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toDate(), QDate(2001, 3, 3));
        picker.pick(QDate(2001, 3, 3)); // the same date again changes nothing
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picker.date(), QDate(2001, 3, 3));
    }
};

QTEST_MAIN(TestControlsBasic)
#include "tst_controls_basic.moc"
