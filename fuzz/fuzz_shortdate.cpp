// The application's date parsing on arbitrary text, under the patterns it meets: a date it
// accepts is valid, and a date it shows reads back as itself.

#include "data/book/shortdate.h"

#include <QDate>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const patterns[] = {"yyyy/MM/dd", "M/d/yy", "dd.MM.yy", "yyyy/M/d",
                                           "d MMM yyyy"};
    if (size == 0)
        return 0;
    tb::ShortDate::setPattern(QString::fromLatin1(patterns[data[0] % 5]));
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1),
                                           qsizetype(size - 1));
    const QDate parsed = tb::ShortDate::parse(text, QDate(2026, 12, 8));
    if (parsed.isNull())
        return 0;
    if (!parsed.isValid())
        std::abort();
    const QString shown = tb::ShortDate::format(parsed);
    if (tb::ShortDate::parse(shown, QDate(2026, 12, 8)) != parsed)
        std::abort();
    return 0;
}
