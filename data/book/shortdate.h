#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace tb {

// The application's one short date format: the system's until changed, then the new one
// for the rest of the run. Every date shown or parsed by a bound control goes through here.
// Years are always shown with four digits (a "yy" in a format becomes "yyyy"), so a date
// shown reads back as the same date.
class ShortDate
{
public:
    // Qt date pattern currently in force (for example "yyyy/MM/dd").
    static QString pattern();
    // Accepts a Qt pattern; "yyyy/mm/dd" style (lower-case month) is read as month too.
    static void setPattern(const QString &pattern);
    static void resetToSystem();
    // Takes the short date format of a locale (resetToSystem() takes the system's).
    static void useLocale(const QLocale &locale);

    static QString format(const QDate &date);
    // Invalid QDate when the text is not a date in the current format, in ISO yyyy-MM-dd
    // or in yyyy/MM/dd. A two-digit year typed in the current format is read within the
    // hundred years from 80 years before today's year (in 2026: 50 is 1950, 24 is 2024).
    static QDate parse(const QString &text);
    static QDate parse(const QString &text, const QDate &today);

    // Canonical storage form: ISO-8601 "yyyy-MM-dd".
    static QString toStorage(const QDate &date);
    static QDate fromStorage(const QVariant &stored);
};

} // namespace tb
