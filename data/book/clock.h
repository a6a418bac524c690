#pragma once

#include <QDate>

namespace tb {

// Today's date, for every rule that depends on it (new quotations, their monthly numbers,
// two-digit years). The one place tests set the date instead of waiting for it.
class Clock
{
public:
    static QDate today();
    // Fixes today's date; an invalid date hands back to the system clock.
    static void setToday(const QDate &date);
};

} // namespace tb
