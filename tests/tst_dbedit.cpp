#include "controls/dbedit.h"
#include "controls/dbmemo.h"
#include "controls/guard.h"
#include "data/book/big5.h"
#include "data/records/dataset.h"
#include "data/records/datasource.h"
#include "data/book/errors.h"
#include "data/records/field.h"
#include "data/book/shortdate.h"
#include "data/records/tablecursor.h"
#include "testsupport/modalanswer.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace tb;
using tb::test::ModalAnswer;
using tb::test::TestDatabase;

namespace {

// Types text the way a keyboard with an input method delivers it: one key event per
// character, carrying the character.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void commitText(QWidget *widget, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// A product screen in miniature: edit boxes on the Product table and a box to move to.
struct Screen
{
    TableCursor table;
    DataSource source;
    QWidget window;
    DBEdit *name = nullptr;
    DBEdit *stock = nullptr;
    DBEdit *date = nullptr;
    QLineEdit *other = nullptr;

    Screen()
    {
        table.setObjectName(QStringLiteral("Table1"));
        table.setTableName(QStringLiteral("Product"));
        source.setDataSet(&table);
        auto *layout = new QVBoxLayout(&window);
        name = add(layout, "EditName", "ProductName");
        stock = add(layout, "EditSafeStock", "SafeStock");
        date = add(layout, "EditDate", "LastPurchaseDate");
        other = new QLineEdit(&window);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    DBEdit *add(QVBoxLayout *layout, const char *objectName, const char *field)
    {
        auto *edit = new DBEdit(&window);
        edit->setObjectName(QLatin1String(objectName));
        edit->setDataSource(&source);
        edit->setDataField(QLatin1String(field));
        layout->addWidget(edit);
        return edit;
    }
    void focus(QWidget *w)
    {
        if (!window.isActiveWindow()) {
            QApplication::setActiveWindow(&window);
            QTRY_VERIFY(window.isActiveWindow());
        }
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus());
    }
    // Leaves a box the way a user does, with the Tab key.
    void leave(QWidget *w) { QTest::keyClick(w, Qt::Key_Tab); }
};

} // namespace

class TestDBEdit : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestDatabase> m_db;

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral("INSERT INTO Product (ProductID, ProductName, SafeStock) "
                                  "VALUES ('PR000001', '', 5)"));
        ShortDate::setPattern(QStringLiteral("yyyy/MM/dd"));
    }
    void cleanup() { m_db.reset(); }

    void showsTheCurrentRowAndNothingWhenClosed()
    {
        Screen s;
        QCOMPARE(s.name->text(), QString());
        QCOMPARE(s.stock->text(), QString());
        s.table.Open();
        QCOMPARE(s.stock->text(), QStringLiteral("5"));
        s.table.Close();
        QCOMPARE(s.stock->text(), QString());

        // Typing into a box whose set is closed changes nothing.
        s.focus(s.name);
        QTest::keyClicks(s.name, QStringLiteral("abc"));
        QCOMPARE(s.name->text(), QString());
    }

    void widthIsCountedInBig5Bytes()
    {
        Screen s;
        s.table.Open();
        QCOMPARE(s.table.State(), DataSetState::Browse);
        s.focus(s.name);
        const QString thirty = QString(30, QChar(0x4E2D)); // 中
        typeText(s.name, thirty);
        // Typing put the record into edit (automatic edit).
        QCOMPARE(s.table.State(), DataSetState::Edit);
        QCOMPARE(s.name->text(), thirty);
        QCOMPARE(big5::width(s.name->text()), 60);
        // The 31st character does not fit, nor does a single letter.
        typeText(s.name, QStringLiteral("文"));
        QTest::keyClicks(s.name, QStringLiteral("a"));
        QCOMPARE(s.name->text(), thirty);
        // Room made by deleting one character takes two letters.
        QTest::keyClick(s.name, Qt::Key_Backspace);
        QTest::keyClicks(s.name, QStringLiteral("abc"));
        QCOMPARE(s.name->text(), QString(29, QChar(0x4E2D)) + QStringLiteral("ab"));

        // Input-method commits follow the same rule.
        s.name->clear();
        commitText(s.name, QString(29, QChar(0x6587)) + QStringLiteral("文字"));
        QCOMPARE(s.name->text(), QString(30, QChar(0x6587)));
    }

    void charactersBig5CannotEncodeAreRefused()
    {
        Screen s;
        s.table.Open();
        s.focus(s.name);
        typeText(s.name, QStringLiteral("磁磚"));
        typeText(s.name, QStringLiteral("한")); // Hangul is not in Big5
        commitText(s.name, QStringLiteral("😀"));
        commitText(s.name, QStringLiteral("地板"));
        QCOMPARE(s.name->text(), QStringLiteral("磁磚地板"));

        // Ideographs of names that Big5 lacks are kept, at two bytes each.
        s.name->clear();
        commitText(s.name, QStringLiteral("陳喆堃犇峯"));
        QCOMPARE(s.name->text(), QStringLiteral("陳喆堃犇峯"));
        s.name->clear();
        commitText(s.name, QString(31, QChar(0x5586))); // 喆
        QCOMPARE(s.name->text(), QString(30, QChar(0x5586)));

        // Pasted text loses what Big5 cannot hold and is cut at the width.
        s.name->clear();
        QApplication::clipboard()->setText(QStringLiteral("한") + QString(40, QChar(0x78DA)));
        QTest::keySequence(s.name, QKeySequence::Paste);
        QCOMPARE(s.name->text(), QString(30, QChar(0x78DA)));
    }

    void integerFieldsTakeOnlyDigitsAndSigns()
    {
        Screen s;
        s.table.Open();
        s.focus(s.stock);
        s.stock->selectAll();
        QTest::keyClicks(s.stock, QStringLiteral("1x2.3 a"));
        QCOMPARE(s.stock->text(), QStringLiteral("123"));
        s.leave(s.stock);
        QCOMPARE(s.table.FieldByName(QStringLiteral("SafeStock"))->AsInteger(), 123);

        // A text of digits and signs that is still no number is refused on leaving,
        // with the layer's message, and the box keeps the focus.
        s.focus(s.stock);
        s.stock->selectAll();
        QTest::keyClicks(s.stock, QStringLiteral("1-2"));
        ModalAnswer answer(QMessageBox::Ok);
        s.leave(s.stock);
        QTRY_COMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(),
                 QStringLiteral("'1-2' is not a valid integer value for field 'SafeStock'"));
        // (The offscreen platform does not give the window back its activation after a
        // dialog; the window's focus widget is what the user returns to.)
        QTRY_COMPARE(s.window.focusWidget(), s.stock);
        QCOMPARE(s.stock->text(), QStringLiteral("1-2"));
        QCOMPARE(s.table.FieldByName(QStringLiteral("SafeStock"))->AsInteger(), 123);

        // Posting with that text fails the same way and leaves the record in edit.
        ModalAnswer none(QMessageBox::Ok);
        bool posted = false;
        try {
            s.table.Post();
            posted = true;
        } catch (const DatabaseError &error) {
            QCOMPARE(error.message(),
                     QStringLiteral("'1-2' is not a valid integer value for field 'SafeStock'"));
        }
        QVERIFY(!posted);
        QCOMPARE(s.table.State(), DataSetState::Edit);
    }

    // Digits typed by an input method in full-width mode are the digits; a pasted text is
    // a number whole or not at all, never filtered into another number.
    void fullWidthDigitsAndPastedNumbers()
    {
        Screen s;
        s.table.Open();
        Field *stock = s.table.FieldByName(QStringLiteral("SafeStock"));
        s.focus(s.stock);
        s.stock->selectAll();
        typeText(s.stock, QStringLiteral("１２３"));
        QCOMPARE(s.stock->text(), QStringLiteral("123"));
        s.leave(s.stock);
        QCOMPARE(stock->AsInteger(), 123);

        s.focus(s.stock);
        s.stock->clear();
        commitText(s.stock, QStringLiteral("－４５"));
        QCOMPARE(s.stock->text(), QStringLiteral("-45"));
        s.stock->clear();
        commitText(s.stock, QStringLiteral("＋６"));
        QCOMPARE(s.stock->text(), QStringLiteral("+6"));

        const auto paste = [&](const QString &text) {
            QApplication::clipboard()->setText(text);
            QTest::keySequence(s.stock, QKeySequence::Paste);
        };
        s.stock->clear();
        paste(QStringLiteral("　７７０ "));
        QCOMPARE(s.stock->text(), QStringLiteral("770"));
        for (const char *refused : {"1.5", "1e10", "0x10", "12abc", "1,000", "１．５"}) {
            paste(QString::fromUtf8(refused));
            QCOMPARE(s.stock->text(), QStringLiteral("770"));
        }
        s.stock->selectAll();
        paste(QStringLiteral("1.5")); // over a selection: the selection stays as it was
        QCOMPARE(s.stock->text(), QStringLiteral("770"));
        s.leave(s.stock);
        QCOMPARE(stock->AsInteger(), 770);
        s.table.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT SafeStock FROM Product")).toInt(), 770);

        // Code that writes a full-width number gets the number, too.
        s.table.Edit();
        stock->setAsString(QStringLiteral("８"));
        QCOMPARE(stock->AsInteger(), 8);
        s.table.Cancel();
    }

    // A value the field cannot hold is told in Chinese, naming the box by its caption, the
    // layer's text below; the field keeps its value.
    void refusedValueNamesTheCaption()
    {
        Screen s;
        s.stock->setCaption(QStringLiteral("安全存量"));
        s.table.Open();
        s.focus(s.stock);
        s.stock->selectAll();
        typeText(s.stock, QStringLiteral("2147483648"));
        ModalAnswer answer(QMessageBox::Ok);
        s.leave(s.stock);
        QTRY_COMPARE(answer.seen(), 1);
        const QStringList lines = answer.text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("「安全存量」")), qPrintable(lines[0]));
        QVERIFY2(lines[0].contains(QStringLiteral("2147483648")), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("'2147483648' is not a valid integer value for "
                                          "field 'SafeStock'"));
        QCOMPARE(s.table.FieldByName(QStringLiteral("SafeStock"))->AsInteger(), 5);
        QTRY_COMPARE(s.window.focusWidget(), s.stock);

        // The caption stays with the field when the set is opened again.
        s.table.Cancel();
        s.table.Close();
        s.table.Open();
        s.table.Edit();
        try {
            s.table.FieldByName(QStringLiteral("SafeStock"))->setAsString(QStringLiteral("1-2"));
            QFAIL("1-2 was taken");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("「安全存量」只能填入整數")),
                     qPrintable(error.message()));
        }
    }

    // Text the column cannot hold is refused in Chinese too, naming the box by its caption.
    void refusedTextNamesTheCaption()
    {
        Screen s;
        s.name->setCaption(QStringLiteral("產品名稱"));
        s.table.Open();
        s.table.Edit();
        Field *name = s.table.FieldByName(QStringLiteral("ProductName"));
        const QString before = name->AsString();
        const auto refusal = [&](const QString &text) {
            try {
                name->setAsString(text);
            } catch (const DatabaseError &error) {
                return error.message().split(QLatin1Char('\n'));
            }
            return QStringList();
        };
        const QStringList wide = refusal(QString(60, QChar(0x5EAB)));
        QCOMPARE(wide.size(), 2);
        QVERIFY2(wide[0].startsWith(QStringLiteral("「產品名稱」最多可存")), qPrintable(wide[0]));
        QVERIFY2(wide[1].startsWith(QStringLiteral("Text of 120 bytes is too long")),
                 qPrintable(wide[1]));
        const QStringList emoji = refusal(QStringLiteral("地磚\U0001F600"));
        QCOMPARE(emoji.size(), 2);
        QVERIFY2(emoji[0].startsWith(QStringLiteral("「產品名稱」不能存入這個字元")),
                 qPrintable(emoji[0]));
        QCOMPARE(emoji[1],
                 QStringLiteral("Field 'ProductName' cannot store the character U+1F600"));
        QCOMPARE(name->AsString(), before);
    }

    void emptyTextMakesTheFieldNull()
    {
        Screen s;
        s.table.Open();
        s.focus(s.stock);
        s.stock->selectAll();
        QTest::keyClick(s.stock, Qt::Key_Delete);
        QCOMPARE(s.table.State(), DataSetState::Edit);
        s.leave(s.stock);
        QVERIFY(s.table.FieldByName(QStringLiteral("SafeStock"))->IsNull());
        s.table.Post();
        QVERIFY(m_db->scalar(QStringLiteral("SELECT SafeStock FROM Product")).isNull());
    }

    void textIsWrittenOnPost()
    {
        Screen s;
        s.table.Open();
        s.focus(s.name);
        typeText(s.name, QStringLiteral("拋光石英磚"));
        // Not left yet: the field still holds the old value until the record is posted.
        QCOMPARE(s.table.FieldByName(QStringLiteral("ProductName"))->AsString(), QString());
        s.table.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product")).toString(),
                 QStringLiteral("拋光石英磚"));
        QCOMPARE(s.table.State(), DataSetState::Browse);

        // Text a screen puts into the box (a pick-list) is written on post as well.
        s.table.Edit();
        s.name->setText(QStringLiteral("木紋地板"));
        s.table.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product")).toString(),
                 QStringLiteral("木紋地板"));
    }

    void datesUseTheShortDateFormat()
    {
        m_db->exec(QStringLiteral("UPDATE Product SET LastPurchaseDate = '2024-05-17'"));
        Screen s;
        s.table.Open();
        QCOMPARE(s.date->text(), QStringLiteral("2024/05/17"));
        s.focus(s.date);
        s.date->selectAll();
        QTest::keyClicks(s.date, QStringLiteral("2024/12/31"));
        s.leave(s.date);
        QCOMPARE(s.table.FieldByName(QStringLiteral("LastPurchaseDate"))->AsDateTime().date(),
                 QDate(2024, 12, 31));
    }

    void readOnlyBoxNeverEdits()
    {
        Screen s;
        s.table.Open();
        s.name->setReadOnly(true);
        s.focus(s.name);
        typeText(s.name, QStringLiteral("磁磚"));
        QTest::keyClick(s.name, Qt::Key_Backspace);
        commitText(s.name, QStringLiteral("磁磚"));
        QCOMPARE(s.name->text(), QString());
        QCOMPARE(s.table.State(), DataSetState::Browse);
        s.leave(s.name);
        QCOMPARE(s.table.State(), DataSetState::Browse);
    }

    void exitHandlerRunsAfterTheWrite()
    {
        Screen s;
        s.table.Open();
        QString seen;
        int runs = 0;
        auto counting = connectGuarded(s.name, &DBEdit::exited, &s.window, [&] {
            ++runs;
            seen = s.table.FieldByName(QStringLiteral("ProductName"))->AsString();
        });
        s.focus(s.name);
        typeText(s.name, QStringLiteral("磁磚"));
        s.leave(s.name);
        QCOMPARE(runs, 1);
        QCOMPARE(seen, QStringLiteral("磁磚"));

        // An exit handler that fails shows its message through the guard.
        QObject::disconnect(counting);
        connectGuarded(s.name, &DBEdit::exited, &s.window,
                       [] { throw DatabaseError(QStringLiteral("統一編號錯誤")); });
        s.focus(s.name);
        ModalAnswer answer(QMessageBox::Ok);
        s.leave(s.name);
        QTRY_COMPARE(answer.seen(), 1);
        QCOMPARE(answer.text(), QStringLiteral("統一編號錯誤"));
    }

    // A screen disables its boxes when it leaves editing mode; the box under the focus
    // must neither run its exit handler nor write its text then. Only the user leaves it.
    void disablingIsNotLeaving()
    {
        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName, Memo) "
                                  "VALUES ('UN0001', '箱', '舊備註')"));
        Screen s;
        auto *memo = new DBMemo(&s.window);
        s.window.layout()->addWidget(memo);
        memo->show();
        TableCursor units;
        units.setTableName(QStringLiteral("Unit"));
        DataSource unitSource;
        unitSource.setDataSet(&units);
        memo->setDataSource(&unitSource);
        memo->setDataField(QStringLiteral("Memo"));
        s.table.Open();
        units.Open();
        int exits = 0;
        connect(s.name, &DBEdit::exited, &s.window, [&exits] { ++exits; });
        const auto name = [&s] {
            return s.table.FieldByName(QStringLiteral("ProductName"))->AsString();
        };
        const auto note = [&units] {
            return units.FieldByName(QStringLiteral("Memo"))->AsString();
        };

        s.focus(s.name);
        typeText(s.name, QStringLiteral("磁磚"));
        s.name->setEnabled(false);
        QCOMPARE(exits, 0);
        QCOMPARE(name(), QString());

        s.focus(memo);
        memo->selectAll();
        typeText(memo, QStringLiteral("新"));
        memo->setEnabled(false);
        QCOMPARE(note(), QStringLiteral("舊備註"));

        // Enabled again and left with Tab: now the text is written and the handler runs.
        s.name->setEnabled(true);
        s.focus(s.name);
        s.leave(s.name);
        QCOMPARE(exits, 1);
        QCOMPARE(name(), QStringLiteral("磁磚"));
        memo->setEnabled(true);
        s.focus(memo);
        s.leave(memo);
        QCOMPARE(note(), QStringLiteral("新"));
    }

    void escapeTakesBackTheTypedText()
    {
        Screen s;
        s.table.Open();
        s.focus(s.stock);
        s.stock->selectAll();
        QTest::keyClicks(s.stock, QStringLiteral("77"));
        QTest::keyClick(s.stock, Qt::Key_Escape);
        QCOMPARE(s.stock->text(), QStringLiteral("5"));
    }

    void memoFollowsTheSameRules()
    {
        m_db->exec(QStringLiteral("INSERT INTO Unit (UnitID, UnitName, Memo) "
                                  "VALUES ('UN0001', '箱', '舊備註')"));
        TableCursor table;
        table.setTableName(QStringLiteral("Unit"));
        DataSource source;
        source.setDataSet(&table);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *memo = new DBMemo(&window);
        memo->setDataSource(&source);
        memo->setDataField(QStringLiteral("Memo"));
        auto *other = new QLineEdit(&window);
        layout->addWidget(memo);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(memo->toPlainText(), QString());

        table.Open();
        QCOMPARE(memo->toPlainText(), QStringLiteral("舊備註"));
        memo->setFocus();
        QTRY_VERIFY(memo->hasFocus());
        memo->selectAll();
        typeText(memo, QStringLiteral("新한備註"));
        QCOMPARE(table.State(), DataSetState::Edit);
        QCOMPARE(memo->toPlainText(), QStringLiteral("新備註"));
        table.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Memo FROM Unit")).toString(),
                 QStringLiteral("新備註"));

        // Emptied and left: null.
        memo->selectAll();
        QTest::keyClick(memo, Qt::Key_Delete);
        other->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(other->hasFocus());
        QVERIFY(table.FieldByName(QStringLiteral("Memo"))->IsNull());

        // A paste keeps the memo's line breaks and tabs and drops the other control
        // characters, NUL included.
        const QString pasted = QStringLiteral("一\t二\n三") + QChar(0x7F) + QChar(0)
                               + QStringLiteral("四\r");
        QApplication::clipboard()->setText(pasted);
        memo->setFocus();
        QTRY_VERIFY(memo->hasFocus());
        QTest::keySequence(memo, QKeySequence::Paste);
        QVERIFY(!memo->toPlainText().contains(QChar(0)));
        QVERIFY(!memo->toPlainText().contains(QChar(0x7F)));
        QVERIFY(memo->toPlainText().startsWith(QStringLiteral("一\t二\n三四")));
    }

    void pastedControlCharactersAreDroppedFromABox()
    {
        Screen s;
        s.table.Open();
        s.focus(s.name);
        QApplication::clipboard()->setText(QStringLiteral("磁\t磚\n地\r板") + QChar(0x7F)
                                           + QChar(0) + QStringLiteral("A"));
        QTest::keySequence(s.name, QKeySequence::Paste);
        QCOMPARE(s.name->text(), QStringLiteral("磁磚地板A"));
        s.leave(s.name);
        s.table.Post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT ProductName FROM Product")).toString(),
                 QStringLiteral("磁磚地板A"));
    }
};

QTEST_MAIN(TestDBEdit)
#include "tst_dbedit.moc"
