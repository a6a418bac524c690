#pragma once

#include <QDate>
#include <QString>

namespace tb {

// The application's one short date format: the system's until changed, then the new one
// for the rest of the run. Every date shown or parsed by a bound control goes through here.
class ShortDate
{
public:
    // Qt date pattern currently in force (for example "yyyy/MM/dd").
    static QString pattern();
    // Accepts a Qt pattern; "yyyy/mm/dd" style (lower-case month) is read as month too.
    static void setPattern(const QString &pattern);
    static void resetToSystem();

    static QString format(const QDate &date);
    // Invalid QDate when the text is not a date in the current format (or ISO yyyy-MM-dd).
    static QDate parse(const QString &text);

    // Canonical storage form: ISO-8601 "yyyy-MM-dd".
    static QString toStorage(const QDate &date);
    static QDate fromStorage(const QVariant &stored);
};

} // namespace tb
