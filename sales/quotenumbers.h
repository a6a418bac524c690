#pragma once

#include <QDate>
#include <QString>

namespace tb::quotenumbers {

// Refusals when a number range is used up (they would otherwise start again at zero).
inline const QString MonthUsedUpMessage =
    QStringLiteral("本月份的 9999 個報價單編號已經用完,無法新增報價單!");
inline const QString LinesUsedUpMessage =
    QStringLiteral("報價單明細的序號已用到 999,無法再新增明細!");

// "OD" followed by the two-digit year and the two-digit month of the date: "OD2405".
QString monthPrefix(const QDate &date);

// The number after the month's highest one ("" when the month has none yet): the prefix
// and a four-digit running number from 0001. The running number of the highest is read
// as a decimal number (the layer's conversion error when it is not one). Throws
// MonthUsedUpMessage after 9999.
QString nextQuoteId(const QString &prefix, const QString &highest);

// A line number of three digits: 1 gives "001".
QString lineNumber(int n);

// The line number after the highest one of the quotation ("" when it has none): "001",
// "002", ... Throws the conversion error naming the field when the highest is not a
// number, and LinesUsedUpMessage after 999.
QString nextLineNumber(const QString &highest, const QString &fieldName);

} // namespace tb::quotenumbers
