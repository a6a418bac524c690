#pragma once

#include "data/book/schema.h"

#include <QVariant>

namespace tb::fieldvalue {

// Converts a value handed to a field (text, number, date...) into the field's own
// representation: QString, qint32 or QDate; null stays null. Throws DatabaseError with
// the conversion message naming the field.
QVariant convert(FieldType type, const QVariant &value, const QString &fieldName);

// The form a field value is stored in (dates as ISO text) and back. Reading a stored
// value that the field cannot hold (an integer out of the 32-bit range, text in an
// integer or date column) throws the conversion error naming the field and the value; a
// stored fraction in an integer column is rounded half to even.
QVariant toStorage(FieldType type, const QVariant &value);
QVariant fromStorage(FieldType type, const QVariant &stored, const QString &fieldName);

// Orders stored values the way SQLite orders them: null, numbers, text (by UTF-8 bytes).
int compareStored(const QVariant &a, const QVariant &b);

// Full-width digits, signs and spaces (what an input method types in its full-width mode)
// as their ASCII forms; every other character as it is.
QString narrowed(QStringView text);
// True when text, narrowed and trimmed, is a whole number: an optional sign, then digits.
bool isWholeNumber(QStringView text);

// Rounds half to even, as integer fields store computed amounts.
qint64 roundHalfEven(double value);

// Days since 1899-12-30, the numeric form of a date.
double dateToNumber(const QDate &date);
QDate numberToDate(double days);

} // namespace tb::fieldvalue
