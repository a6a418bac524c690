#pragma once

#include "data/book/bookcheck.h"

#include <QObject>
#include <QString>

class QThread;

namespace tb {

// Runs a BookCheck of a book file in a worker thread, so that the user can work meanwhile,
// and tells what it found through a signal received in the thread that started it. One
// check per object; the destructor stops a check still running and waits for it to end.
class BackgroundBookCheck : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundBookCheck(QObject *parent = nullptr);
    ~BackgroundBookCheck() override;

    // Starts the check; does nothing when one has been started already.
    void start(const QString &path);
    bool running() const;

signals:
    // The book is damaged: the message names the file and says to restore a copy.
    void damaged(const QString &message);
    // The check has ended, whatever it found.
    void finished();

private:
    BookCheck m_check;
    QThread *m_thread = nullptr;
};

} // namespace tb
