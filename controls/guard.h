#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <type_traits>

namespace tb {

// Runs a handler the way the application's default handler would: a DatabaseError (or
// any std::exception) shows its message in an error box, a SilentAbort ends the handler
// quietly. Qt's event loop is not exception-safe, so every handler a control calls runs
// through here and nothing else catches these exceptions.
void runGuarded(const std::function<void()> &handler);

// Runs a handler under the same catch as runGuarded, but hands back what runGuarded would
// show instead of showing it, for code that must not open a box where it runs (an item
// model's setData): true when the handler went through; otherwise message holds the text
// to show, or nothing for a silent abort.
bool runCatching(const std::function<void()> &handler, std::optional<QString> &message);

// connect() whose slot runs guarded. The handler may take the signal's arguments or none
// (a button's handler ignores clicked(bool)).
template<typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, QObject *context,
                                       Handler handler)
{
    return QObject::connect(sender, signal, context, [handler](auto &&...args) {
        runGuarded([&] {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                handler(args...);
            else
                handler();
        });
    });
}

} // namespace tb
