#pragma once

#include <QMessageBox>
#include <QString>

namespace tb {

// Every dialog of one kind looks and answers alike; all go through QMessageBox. A box is
// never empty: a text with nothing to read shows a sentence saying the operation did not
// complete and what to do.

// The application title: the main window's caption and the caption of plain messages and
// error boxes. It is not made the application's display name, which Qt would add to every
// other window's caption.
QString applicationTitle();

// Plain message: caption the application title, one OK button, no icon.
void ShowMessage(const QString &text);
// The default handler's error box: caption the application title, error icon, OK.
void ShowError(const QString &text);
// Warning dialog: caption "Warning", warning icon, OK.
void ShowWarning(const QString &text);
// Confirmation dialog: caption "Confirm", question icon, Yes (default) and No; Escape is No.
bool Confirm(const QString &text);
// The maintenance screens' delete question: empty caption, question icon, Yes and No,
// No the default. True on Yes.
bool AskYesNoDefaultNo(const QString &text);
// The grid's delete question: "Delete record?", buttons OK and Cancel. True on OK.
bool AskOkCancel(const QString &text);

} // namespace tb
