#include "maintenance/nextid.h"

#include "data/book/errors.h"

#include <QStringList>

#include <limits>

namespace tb {

namespace {

const QString NotAnInteger = QStringLiteral("'%s' is not a valid integer value");

// Reads an optional sign and at least one ASCII digit, nothing else; false otherwise or
// when the value does not fit a 64-bit integer.
bool parseDecimal(QStringView text, qint64 *value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 result = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        if (result > (std::numeric_limits<qint64>::max() - 9) / 10)
            return false;
        result = result * 10 + (c - u'0');
    }
    *value = negative ? -result : result;
    return true;
}

qint64 power10(int digits)
{
    qint64 p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p;
}

QString padded(qint64 number, int digits)
{
    return QString::number(number).rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QString IdentifierRule::firstValue() const
{
    return prefix + padded(1, digits);
}

std::optional<QString> nextIdentifier(const QString &last, const IdentifierRule &rule)
{
    if (last.isEmpty())
        return rule.firstValue();
    const QString tail = last.mid(2, 29);
    qint64 number = 0;
    if (!parseDecimal(tail, &number))
        throw DatabaseError(formatMessage(NotAnInteger, {tail}));
    const qint64 next = number + 1;
    if (next < 1 || next >= power10(rule.digits))
        return std::nullopt;
    return rule.prefix + padded(next, rule.digits);
}

QString identifiersExhaustedMessage(const QString &last)
{
    return QStringLiteral("編號已用完(最後一筆為 %1),無法再新增資料!").arg(last);
}

} // namespace tb
