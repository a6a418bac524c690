#include "controls/datepicker.h"

#include <QCalendarWidget>

namespace tb {

DatePicker::DatePicker(const QDate &initial, QWidget *parent) : QDateEdit(initial, parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    // The screen never sets a picker's date after this: every change is the user's, typed
    // into the picker or chosen in its calendar.
    connect(this, &QDateEdit::dateChanged, this, &DatePicker::picked);
}

void DatePicker::pick(const QDate &date)
{
    if (!date.isValid())
        return;
    calendarWidget()->setSelectedDate(date);
    emit calendarWidget()->clicked(date);
}

} // namespace tb
