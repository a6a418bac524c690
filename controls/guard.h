#pragma once

#include <QObject>

#include <functional>

namespace tb {

// Runs a handler the way the application's default handler would: a DatabaseError (or
// any std::exception) shows its message in an error box, a SilentAbort ends the handler
// quietly. Qt's event loop is not exception-safe, so every handler a control calls runs
// through here and nothing else catches these exceptions.
void runGuarded(const std::function<void()> &handler);

// connect() whose slot runs guarded.
template<typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, QObject *context,
                                       Handler handler)
{
    return QObject::connect(sender, signal, context, [handler](auto &&...args) {
        runGuarded([&] { handler(args...); });
    });
}

} // namespace tb
