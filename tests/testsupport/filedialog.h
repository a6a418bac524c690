#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>

namespace tb::test {

// Answers a save dialog as a user does: the path typed into its file name box, then
// "Save". (Qt's own dialog; selectFile() from outside would race its folder loading.)
inline void saveAs(QFileDialog *dialog, const QString &path)
{
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    else
        dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept();
}

} // namespace tb::test
