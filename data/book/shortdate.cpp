#include "data/book/shortdate.h"

#include "data/book/clock.h"

#include <QCalendar>
#include <QVariant>

namespace tb {

namespace {

// Replaces every year field of a Qt date pattern ("yy", "yyyy"), leaving quoted text alone.
QString withYearField(const QString &pattern, QLatin1String year)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('y')) {
            result += c;
            continue;
        }
        while (i + 1 < pattern.size() && pattern.at(i + 1) == QLatin1Char('y'))
            ++i;
        result += year;
    }
    return result;
}

// A two-digit year cannot be told from one a century earlier, so every date shown here
// carries all four digits.
QString fourDigitYears(const QString &pattern)
{
    return withYearField(pattern, QLatin1String("yyyy"));
}

QString patternOf(const QLocale &locale)
{
    return fourDigitYears(locale.dateFormat(QLocale::ShortFormat));
}

QString &currentPattern()
{
    static QString pattern = patternOf(QLocale::system());
    return pattern;
}

// "yyyy/mm/dd" spells the month with lower-case letters; Qt reads "mm" as minutes.
QString normalised(QString pattern)
{
    if (!pattern.contains(QLatin1Char('M'))) {
        pattern.replace(QLatin1String("mm"), QLatin1String("MM"));
        pattern.replace(QLatin1Char('m'), QLatin1Char('M'));
    }
    return pattern;
}

// The year of a two-digit year in the hundred years from 80 years before this year.
int windowedYear(int twoDigits, int thisYear)
{
    const int first = thisYear - 80;
    const int year = first - first % 100 + twoDigits;
    return year < first ? year + 100 : year;
}

// Qt reads a "yy" field as 19yy, which refuses 29 February 2000 as 1900's. The Julian
// calendar has a leap day every fourth year, so it lets the fields through; the date
// built from the windowed year decides.
QDate parseTwoDigitYear(const QString &text, const QDate &today)
{
    const QString pattern = withYearField(currentPattern(), QLatin1String("yy"));
    if (!pattern.contains(QLatin1String("yy")))
        return {};
    const QCalendar julian(QCalendar::System::Julian);
    const QDate read = QLocale::c().toDate(text, pattern, julian);
    if (!read.isValid())
        return {};
    const QCalendar::YearMonthDay fields = julian.partsFromDate(read);
    return QDate(windowedYear(fields.year % 100, today.year()), fields.month, fields.day);
}

} // namespace

QString ShortDate::pattern()
{
    return currentPattern();
}

void ShortDate::setPattern(const QString &pattern)
{
    currentPattern() = fourDigitYears(normalised(pattern));
}

void ShortDate::resetToSystem()
{
    useLocale(QLocale::system());
}

void ShortDate::useLocale(const QLocale &locale)
{
    currentPattern() = patternOf(locale);
}

QString ShortDate::format(const QDate &date)
{
    return date.isValid() ? QLocale::c().toString(date, currentPattern()) : QString();
}

QDate ShortDate::parse(const QString &text)
{
    return parse(text, Clock::today());
}

QDate ShortDate::parse(const QString &text, const QDate &today)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    for (const QString &pattern : {currentPattern(), QStringLiteral("yyyy/M/d")}) {
        const QDate date = QLocale::c().toDate(trimmed, pattern);
        if (date.isValid())
            return date;
    }
    const QDate iso = QDate::fromString(trimmed, Qt::ISODate);
    return iso.isValid() ? iso : parseTwoDigitYear(trimmed, today);
}

QString ShortDate::toStorage(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QDate ShortDate::fromStorage(const QVariant &stored)
{
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::QDate)
        return stored.toDate();
    if (stored.typeId() == QMetaType::QDateTime)
        return stored.toDateTime().date();
    return QDate::fromString(stored.toString().left(10), Qt::ISODate);
}

} // namespace tb
