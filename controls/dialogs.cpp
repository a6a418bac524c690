#include "controls/dialogs.h"

#include "controls/nativecaption.h"

#include <QApplication>

namespace tb {

namespace {

const QString EmptyTextFallback = QStringLiteral(
    "這項操作沒有完成,也沒有取得原因的說明。請再試一次;若一再發生,請重新啟動程式。");

QMessageBox::StandardButton ask(const QString &caption, const QString &text,
                                QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton,
                                QMessageBox::StandardButton escapeButton)
{
    // A box with nothing to read leaves the user guessing: say at least what to do.
    const QString shown = text.trimmed().isEmpty() ? EmptyTextFallback : text;
    QMessageBox box(icon, caption, shown, buttons, QApplication::activeWindow());
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    if (escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(escapeButton);
    if (caption.isEmpty())
        clearNativeCaption(&box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("進銷存管理系統");
}

void ShowMessage(const QString &text)
{
    ask(applicationTitle(), text, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok,
        QMessageBox::Ok);
}

void ShowError(const QString &text)
{
    ask(applicationTitle(), text, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok,
        QMessageBox::Ok);
}

void ShowWarning(const QString &text)
{
    ask(QStringLiteral("Warning"), text, QMessageBox::Warning, QMessageBox::Ok,
        QMessageBox::Ok, QMessageBox::Ok);
}

bool Confirm(const QString &text)
{
    return ask(QStringLiteral("Confirm"), text, QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No)
           == QMessageBox::Yes;
}

bool AskYesNoDefaultNo(const QString &text)
{
    return ask(QString(), text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

bool AskOkCancel(const QString &text)
{
    // The user asked for the deletion with a deliberate Ctrl+Delete, so OK is the default;
    // Escape (or closing the box) cancels.
    return ask(QStringLiteral("Confirm"), text, QMessageBox::Question,
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel)
           == QMessageBox::Ok;
}

} // namespace tb
