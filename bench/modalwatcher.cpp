#include "bench/modalwatcher.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>

namespace tb {

ModalWatcher::ModalWatcher(QObject *parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
    m_timer.start(20);
}

QString ModalWatcher::takeMessages()
{
    QString messages;
    messages.swap(m_messages);
    return messages;
}

void ModalWatcher::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    // A long operation's progress is no message: it closes by itself.
    if (!modal || qobject_cast<QProgressDialog *>(modal))
        return;
    const auto *box = qobject_cast<QMessageBox *>(modal);
    const QString text = box ? box->text() : modal->windowTitle();
    if (!m_messages.isEmpty())
        m_messages += QStringLiteral(" / ");
    m_messages += text.isEmpty() ? modal->objectName() : text;
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->done(QDialog::Rejected);
    else
        modal->close();
}

} // namespace tb
