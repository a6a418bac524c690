// Big5 widths and the storable-character rule on arbitrary UTF-16 text: never crashes, and
// agrees with itself (a cut text fits, a storable text is measured without surprises).

#include "data/book/big5.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data),
                                            qsizetype(size / 2));
    const int width = tb::big5::width(text);
    if (width < 0 || width > 2 * text.size())
        std::abort();
    const int limit = size > 0 ? data[0] % 64 : 0;
    const QString cut = tb::big5::truncated(text, limit);
    if (tb::big5::width(cut) > limit || !text.startsWith(cut))
        std::abort();
    const bool storable = tb::big5::isStorable(text, true);
    if (storable != (tb::big5::firstUnstorable(text, true) < 0))
        std::abort();
    tb::big5::isEncodable(text);
    return 0;
}
