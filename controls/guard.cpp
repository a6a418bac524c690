#include "controls/guard.h"

#include "controls/dialogs.h"
#include "data/book/errors.h"

namespace tb {

void runGuarded(const std::function<void()> &handler)
{
    std::optional<QString> message;
    if (!runCatching(handler, message) && message)
        ShowError(*message);
}

bool runCatching(const std::function<void()> &handler, std::optional<QString> &message)
{
    message.reset();
    if (!handler)
        return true;
    try {
        handler();
        return true;
    } catch (const SilentAbort &) {
        // The operation was stopped on purpose; the user has been told already, or need not be.
    } catch (const DatabaseError &error) {
        message = error.message();
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        // Qt's event loop must never see an exception, whatever its type.
        message = QStringLiteral("發生未預期的錯誤,這項操作沒有完成。請再試一次。\n"
                                 "Unexpected error");
    }
    return false;
}

} // namespace tb
