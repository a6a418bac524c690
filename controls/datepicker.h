#pragma once

#include <QDate>
#include <QDateEdit>

namespace tb {

// A date picker beside a date box: little more than its drop-down button, which opens a
// calendar. It keeps its own date (it starts on the date the screen gives it and then holds
// whatever was last picked) and never follows the record; picked() tells the screen when
// the user chose a date, so that the screen can write it into its box.
class DatePicker : public QDateEdit
{
    Q_OBJECT
public:
    DatePicker(const QDate &initial, QWidget *parent = nullptr);

    // Chooses a date in the calendar, as the user does with the mouse.
    void pick(const QDate &date);

signals:
    void picked(const QDate &date);
};

} // namespace tb
