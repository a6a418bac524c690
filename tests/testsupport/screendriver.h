#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace tb::test {

// The control or record set a window names so (its objectName), as a user or a debugger
// finds it; the test stops when the window has none of that type.
template<typename T = QWidget>
T *named(const QObject *window, const QString &name)
{
    T *found = window ? window->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("%s has no %s", window ? qPrintable(window->objectName()) : "(none)",
               qPrintable(name));
    return found;
}

// Drives one screen as a user would: controls found by object name, buttons clicked with
// the mouse, text typed key by key.
class ScreenDriver
{
public:
    explicit ScreenDriver(QWidget *screen) : m_screen(screen) {}

    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        T *found = m_screen->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    QLineEdit *box(const QString &name) const { return control<QLineEdit>(name); }
    QString text(const QString &name) const { return box(name)->text(); }
    bool enabled(const QString &name) const { return control(name)->isEnabled(); }
    // The control the user returns to: the screen's focus widget. (The offscreen platform
    // does not give the window back its activation after a message box.)
    QString focused() const
    {
        QWidget *focus = m_screen->focusWidget();
        return focus ? focus->objectName() : QString();
    }
    // The user is back on the screen after a message box.
    [[nodiscard]] bool reactivate() const
    {
        QApplication::setActiveWindow(m_screen);
        return QTest::qWaitForWindowActive(m_screen);
    }

    void press(const QString &name) const
    {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }

    // Types as a keyboard (and, for Chinese, an input method committing one character at
    // a time as a key with text) would, into the widget that has the focus.
    static void typeInto(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }

    // Clicks into the control and types.
    void type(const QString &name, const QString &text) const
    {
        QWidget *widget = control(name);
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, 4));
        typeInto(widget, text);
    }

    // Tab from the control that has the focus.
    static void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

private:
    QWidget *m_screen;
};

} // namespace tb::test
