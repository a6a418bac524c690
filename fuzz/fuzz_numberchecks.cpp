// The business number and national identity checks on arbitrary text: a verdict for every
// input, and a passing number keeps passing when typed again in other case.

#include "maintenance/numberchecks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    tb::checkBusinessNumber(text);
    const tb::NationalIdVerdict verdict = tb::checkNationalId(text);
    const QString upper = tb::upperCaseLatin(text);
    if (upper.size() != text.size())
        std::abort();
    if (verdict == tb::NationalIdVerdict::Passes
        && tb::checkNationalId(upper) != tb::NationalIdVerdict::Passes)
        std::abort();
    return 0;
}
