#include "data/book/fieldvalue.h"

#include "data/book/errors.h"
#include "data/book/shortdate.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace tb::fieldvalue {

namespace {

const QDate &dateOrigin()
{
    static const QDate origin(1899, 12, 30);
    return origin;
}

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long:
    case QMetaType::ULong: case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void notInteger(const QString &text, const QString &fieldName)
{
    throw DatabaseError(formatMessage(
        QStringLiteral("'%s' is not a valid integer value for field '%s'"), {text, fieldName}));
}

QVariant integerFrom(double value, const QString &fieldName)
{
    constexpr double lowest = std::numeric_limits<qint32>::min() - 0.5;
    constexpr double highest = std::numeric_limits<qint32>::max() + 0.5;
    if (!std::isfinite(value) || value < lowest || value > highest)
        notInteger(QString::number(value, 'g', 16), fieldName);
    const qint64 rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<qint32>::min()
        || rounded > std::numeric_limits<qint32>::max())
        notInteger(QString::number(value, 'g', 16), fieldName);
    return QVariant::fromValue(qint32(rounded));
}

QVariant integerFromText(const QString &text, const QString &fieldName)
{
    const QString t = narrowed(text).trimmed();
    if (t.isEmpty())
        return {};
    bool ok = false;
    const qint64 v = isWholeNumber(t) ? t.toLongLong(&ok) : 0;
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        notInteger(text, fieldName);
    return QVariant::fromValue(qint32(v));
}

// A value read from an integer column: whole numbers within range as they are, a fraction
// rounded half to even; anything else (a text, a number out of range) refused.
QVariant storedInteger(const QVariant &stored, const QString &fieldName)
{
    bool ok = false;
    const qint64 whole = stored.toLongLong(&ok);
    if (ok && stored.typeId() != QMetaType::Double && stored.typeId() != QMetaType::Float) {
        if (whole < std::numeric_limits<qint32>::min()
            || whole > std::numeric_limits<qint32>::max())
            notInteger(stored.toString(), fieldName);
        return QVariant::fromValue(qint32(whole));
    }
    const double value = stored.toDouble(&ok);
    if (!ok)
        notInteger(stored.toString(), fieldName);
    return integerFrom(value, fieldName);
}

QVariant dateFromText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return {};
    const QDate d = ShortDate::parse(text);
    if (!d.isValid())
        throw DatabaseError(formatMessage(QStringLiteral("'%s' is not a valid date"), {text}));
    return d;
}

} // namespace

QString narrowed(QStringView text)
{
    // The full-width forms U+FF01..U+FF5E stand 0xFEE0 above their ASCII ones.
    QString result = text.toString();
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        if ((u >= u'\uFF10' && u <= u'\uFF19') || u == u'\uFF0B' || u == u'\uFF0D')
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == u'\u3000')
            c = QLatin1Char(' ');
    }
    return result;
}

bool isWholeNumber(QStringView text)
{
    const QString t = narrowed(text).trimmed();
    qsizetype i = t.startsWith(QLatin1Char('+')) || t.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (i == t.size())
        return false;
    for (; i < t.size(); ++i)
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return false;
    return true;
}

qint64 roundHalfEven(double value)
{
    // The default rounding mode is to nearest, ties even. Beyond the range of qint64 (or not
    // a number) the nearest representable end stands in: a cast there is undefined.
    const double rounded = std::nearbyint(value);
    if (!(rounded > -9.2e18))
        return std::numeric_limits<qint64>::min();
    if (rounded > 9.2e18)
        return std::numeric_limits<qint64>::max();
    return qint64(rounded);
}

double dateToNumber(const QDate &date)
{
    return double(dateOrigin().daysTo(date));
}

QDate numberToDate(double days)
{
    return dateOrigin().addDays(qint64(std::floor(days)));
}

QVariant convert(FieldType type, const QVariant &value, const QString &fieldName)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        if (value.typeId() == QMetaType::QDate)
            return ShortDate::format(value.toDate());
        if (value.typeId() == QMetaType::QDateTime)
            return ShortDate::format(value.toDateTime().date());
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return QString::number(value.toDouble(), 'g', 15);
        return value.toString();
    case FieldType::Integer:
        if (value.typeId() == QMetaType::QString)
            return integerFromText(value.toString(), fieldName);
        if (value.typeId() == QMetaType::QDate)
            return integerFrom(dateToNumber(value.toDate()), fieldName);
        if (value.typeId() == QMetaType::QDateTime)
            return integerFrom(dateToNumber(value.toDateTime().date()), fieldName);
        if (isNumeric(value))
            return integerFrom(value.toDouble(), fieldName);
        return integerFromText(value.toString(), fieldName);
    case FieldType::DateTime:
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().isValid() ? value : QVariant();
        if (value.typeId() == QMetaType::QDateTime) {
            const QDate d = value.toDateTime().date();
            return d.isValid() ? QVariant(d) : QVariant();
        }
        if (isNumeric(value))
            return numberToDate(value.toDouble());
        return dateFromText(value.toString());
    }
    return {};
}

QVariant toStorage(FieldType type, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        return value.toString();
    case FieldType::Integer:
        return QVariant::fromValue(qint32(value.toInt()));
    case FieldType::DateTime:
        return ShortDate::toStorage(value.toDate());
    }
    return value;
}

QVariant fromStorage(FieldType type, const QVariant &stored, const QString &fieldName)
{
    if (stored.isNull() || !stored.isValid())
        return {};
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        return stored.toString();
    case FieldType::Integer:
        return storedInteger(stored, fieldName);
    case FieldType::DateTime: {
        const QDate d = ShortDate::fromStorage(stored);
        if (d.isValid())
            return d;
        if (stored.typeId() == QMetaType::QString && stored.toString().trimmed().isEmpty())
            return {};
        throw DatabaseError(formatMessage(QStringLiteral("'%s' is not a valid date for field '%s'"),
                                          {stored.toString(), fieldName}));
    }
    }
    return stored;
}

int compareStored(const QVariant &a, const QVariant &b)
{
    const bool an = a.isNull() || !a.isValid();
    const bool bn = b.isNull() || !b.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    const bool anum = isNumeric(a);
    const bool bnum = isNumeric(b);
    if (anum && bnum) {
        if (a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double) {
            const qint64 x = a.toLongLong(), y = b.toLongLong();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (anum != bnum)
        return anum ? -1 : 1;
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
        // UTF-16 order equals UTF-8 byte order unless a surrogate pair is involved.
        const QString x = a.toString(), y = b.toString();
        auto plain = [](const QString &t) {
            for (QChar c : t)
                if (c.unicode() >= 0xD800)
                    return false;
            return true;
        };
        if (plain(x) && plain(y)) {
            const int c = QString::compare(x, y, Qt::CaseSensitive);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
    }
    auto text = [](const QVariant &v) {
        return v.typeId() == QMetaType::QDate ? ShortDate::toStorage(v.toDate()).toUtf8()
                                              : v.toString().toUtf8();
    };
    const int c = text(a).compare(text(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace tb::fieldvalue
