#include "data/shortdate.h"

#include <QLocale>
#include <QVariant>

namespace tb {

namespace {

QString systemPattern()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString &currentPattern()
{
    static QString pattern = systemPattern();
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

} // namespace

QString ShortDate::pattern()
{
    return currentPattern();
}

void ShortDate::setPattern(const QString &pattern)
{
    currentPattern() = normalised(pattern);
}

void ShortDate::resetToSystem()
{
    currentPattern() = systemPattern();
}

QString ShortDate::format(const QDate &date)
{
    return date.isValid() ? QLocale::c().toString(date, currentPattern()) : QString();
}

QDate ShortDate::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    QDate date = QLocale::c().toDate(trimmed, currentPattern());
    if (!date.isValid())
        date = QDate::fromString(trimmed, Qt::ISODate);
    if (!date.isValid() && currentPattern().contains(QLatin1String("yy"))
        && !currentPattern().contains(QLatin1String("yyyy"))) {
        // Two-digit years read as this century, as the system's short format intends.
        date = QLocale::c().toDate(trimmed, QString(currentPattern()).replace(
                                                QLatin1String("yy"), QLatin1String("yyyy")));
    }
    return date;
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
