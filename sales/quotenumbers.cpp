#include "sales/quotenumbers.h"

#include "data/book/errors.h"
#include "data/book/fieldvalue.h"

namespace tb::quotenumbers {

namespace {

// The rightmost digits of a zero-padded number.
QString padded(int value, int digits)
{
    return (QString(digits, QLatin1Char('0')) + QString::number(value)).right(digits);
}

// A stored number read as the layer reads a text into an integer field, with its message.
int numberIn(const QString &text, const QString &fieldName)
{
    const QVariant value = fieldvalue::convert(FieldType::Integer, text, fieldName);
    if (value.isNull()) // blanks only: not a number either
        throw DatabaseError(formatMessage(
            QStringLiteral("'%s' is not a valid integer value for field '%s'"),
            {text, fieldName}));
    return value.toInt();
}

} // namespace

QString monthPrefix(const QDate &date)
{
    return QStringLiteral("OD") + padded(date.year() % 100, 2) + padded(date.month(), 2);
}

QString nextQuoteId(const QString &prefix, const QString &highest)
{
    if (highest.isEmpty())
        return prefix + padded(1, 4);
    const int last = numberIn(highest.mid(6, 4), QStringLiteral("QuoteID"));
    if (last >= 9999)
        throw DatabaseError(MonthUsedUpMessage);
    return prefix + padded(last + 1, 4);
}

QString lineNumber(int n)
{
    return padded(n, 3);
}

QString nextLineNumber(const QString &highest, const QString &fieldName)
{
    if (highest.isEmpty())
        return lineNumber(1);
    const int last = numberIn(highest, fieldName);
    if (last >= 999)
        throw DatabaseError(LinesUsedUpMessage);
    return lineNumber(last + 1);
}

} // namespace tb::quotenumbers
