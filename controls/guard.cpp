#include "controls/guard.h"

#include "controls/dialogs.h"
#include "data/book/errors.h"

namespace tb {

void runGuarded(const std::function<void()> &handler)
{
    if (!handler)
        return;
    try {
        handler();
    } catch (const SilentAbort &) {
        // The operation was stopped on purpose; the user has been told already, or need not be.
    } catch (const DatabaseError &error) {
        ShowError(error.message());
    } catch (const std::exception &error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        // Qt's event loop must never see an exception, whatever its type.
        ShowError(QStringLiteral("發生未預期的錯誤,這項操作沒有完成。請再試一次。\n"
                                 "Unexpected error"));
    }
}

} // namespace tb
