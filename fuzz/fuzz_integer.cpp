// Integer fields on arbitrary input, typed or read back from the file: either a 32-bit
// value or the layer's conversion error, never a wrapped number.

#include "data/errors.h"
#include "data/fieldvalue.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    tryConvert(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
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
