#include "data/book/threadpriority.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tb {

namespace {

#if defined(Q_OS_LINUX)
// From linux/ioprio.h, which not every system installs.
constexpr int IoprioWhoProcess = 1;
constexpr int IoprioClassBestEffort = 2;
constexpr int IoprioLowest = 7;
constexpr int IoprioClassShift = 13;
#endif

} // namespace

void yieldToUserThreads()
{
#if defined(Q_OS_LINUX)
    // On Linux a thread's nice value and disk class are its own, named by its thread id.
    const auto thread = id_t(::syscall(SYS_gettid));
    ::setpriority(PRIO_PROCESS, thread, 10);
    // The lowest of the ordinary disk class, not the idle one: a copy that other programs'
    // disk work starved would hold its read transaction, and the book's log would grow.
    ::syscall(SYS_ioprio_set, IoprioWhoProcess, int(thread),
              (IoprioClassBestEffort << IoprioClassShift) | IoprioLowest);
#endif
}

} // namespace tb
