// Integer fields on arbitrary input, typed or read back from the file: either a 32-bit
// value or the layer's conversion error, never a wrapped number; full-width digits read as
// the digits.

#include "data/book/errors.h"
#include "data/book/fieldvalue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(const QVariant &converted)
{
    if (!converted.isNull() && converted.typeId() != QMetaType::Int)
        std::abort();
}

void tryConvert(const QVariant &value)
{
    using namespace tb;
    try {
        check(fieldvalue::convert(FieldType::Integer, value, QStringLiteral("Stock")));
    } catch (const DatabaseError &) {
    }
    try {
        check(fieldvalue::fromStorage(FieldType::Integer, value, QStringLiteral("Stock")));
    } catch (const DatabaseError &) {
    }
}

// Full-width digits and signs read as their ASCII forms: a text and its narrowed form
// convert alike, and a whole number within range always converts.
void checkNarrowing(const QString &text)
{
    using namespace tb;
    QVariant wide, narrow;
    bool wideFailed = false, narrowFailed = false;
    try {
        wide = fieldvalue::convert(FieldType::Integer, text, QStringLiteral("Stock"));
    } catch (const DatabaseError &) {
        wideFailed = true;
    }
    try {
        narrow = fieldvalue::convert(FieldType::Integer, fieldvalue::narrowed(text),
                                     QStringLiteral("Stock"));
    } catch (const DatabaseError &) {
        narrowFailed = true;
    }
    if (wideFailed != narrowFailed || wide != narrow)
        std::abort();
    if (wideFailed && fieldvalue::isWholeNumber(text) && fieldvalue::narrowed(text).size() < 10)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    tryConvert(text);
    checkNarrowing(text);
    if (size >= sizeof(double)) {
        double number = 0;
        std::memcpy(&number, data, sizeof number);
        tryConvert(number);
        qint64 whole = 0;
        std::memcpy(&whole, data, sizeof whole);
        tryConvert(whole);
    }
    return 0;
}
