#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tb {

// Text as CSV (RFC 4180): fields separated by commas, each record ended by CR LF, a field
// in double quotes (its quotes doubled) when it holds a comma, a quote or a line break.
// Files start with UTF-8's byte-order mark, by which spreadsheet programs know the
// encoding of the Chinese text.
class CsvWriter
{
public:
    static QByteArray byteOrderMark();
    // Text a spreadsheet shows as it is: one that begins like a formula (=, +, -, @, a tab
    // or a carriage return) gets a leading apostrophe, so opening the file runs nothing.
    // Only for text values; numbers and dates are written as they are.
    static QString inertText(const QString &text);
    static QString field(const QString &text);
    static QString record(const QStringList &fields);
};

} // namespace tb
