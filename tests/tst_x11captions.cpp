// Captions as the window manager reads them from the X server: Qt's X11 platform adds an
// application display name to every caption and puts the program's name into an empty
// one, which the offscreen platform cannot show. Runs under xvfb-run; skips elsewhere.
#include "app/mainform.h"
#include "app/startup.h"
#include "controls/dialogs.h"
#include "maintenance/product.h"
#include "testsupport/testdatabase.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace tb;

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// The window's _NET_WM_NAME, as the window manager shows it.
QString windowManagerName(QWidget *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, xcb_window_t(window->winId()),
                         atom(connection, "_NET_WM_NAME"), atom(connection, "UTF8_STRING"), 0,
                         1024);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply)
        return QStringLiteral("<no reply>");
    const QString name = QString::fromUtf8(
        static_cast<const char *>(xcb_get_property_value(reply)),
        xcb_get_property_value_length(reply));
    std::free(reply);
    return name;
}

} // namespace

class TestX11Captions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void captionsAreExactlyTheirTexts();
    void deleteQuestionCaptionIsEmpty();

private:
    std::unique_ptr<test::TestDatabase> m_db;
};

void TestX11Captions::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run under xvfb-run)");
    m_db = std::make_unique<test::TestDatabase>();
    QVERIFY(startUp());
}

void TestX11Captions::cleanupTestCase()
{
    shutDown();
    m_db.reset();
}

void TestX11Captions::captionsAreExactlyTheirTexts()
{
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QCOMPARE(windowManagerName(main), QStringLiteral("進銷存管理系統"));
    main->N1Click();
    QVERIFY(QTest::qWaitForWindowExposed(Product));
    QCOMPARE(windowManagerName(Product), QStringLiteral("商品資料"));
}

void TestX11Captions::deleteQuestionCaptionIsEmpty()
{
    QString seen = QStringLiteral("<not shown>");
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        seen = windowManagerName(box);
        box->button(QMessageBox::No)->click();
    });
    poll.start(20);
    QVERIFY(!AskYesNoDefaultNo(QStringLiteral("您要刪除此筆資料嗎?")));
    QCOMPARE(seen, QString());
}

QTEST_MAIN(TestX11Captions)
#include "tst_x11captions.moc"
