#pragma once

#include "maintenance/recordscreen.h"

#include <array>

class QComboBox;

namespace tb {

class DatePicker;

// Maintenance screen of the Employee table. Sex, blood type and marital status are filled
// only through their lists, the dates typed or picked, department and duty typed or picked
// from their code tables; the national identity number is checked when the user leaves its
// box. "查詢" leaves the screen shown under its query screen.
class Temployee : public RecordScreen
{
    Q_OBJECT
public:
    Temployee();

    // The verdict of the last national-ID check.
    bool idPassed() const { return IDOK == 1; }

    void Button1Click();
    // Close; the query screen, if it is up, goes too.
    void Button2Click();
    void Button3Click();
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void DateTimePicker3Change();
    // Leaving the national-ID box: upper-cased, then checked; a number that fails is
    // emptied and the focus returns to it.
    void DBEdit3Exit();
    // Shows its own message when the number fails; records the verdict in IDOK.
    bool CheckID(const QString &text);

    static const QString IdWrongLength;  // "身份證字號長度錯誤,請重新輸入!"
    static const QString IdFirstLetter;  // "身份證字號第一個字母必須是英文字母,請重新輸入!"
    static const QString IdDigits;       // "身份證號碼第2至第10個字必須是數字!"
    static const QString IdWrongContent; // "身份證號碼內容有誤,請重新輸入!"

private:
    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8,
        *DBEdit9, *DBEdit10, *DBEdit11, *DBEdit12, *DBEdit13, *DBEdit14, *DBEdit15,
        *DBEdit16, *DBEdit17;
    DBMemo *DBMemo1;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3;                     // sex, blood, marriage
    DatePicker *DateTimePicker1, *DateTimePicker2, *DateTimePicker3; // birth, joining, leaving
    QPushButton *Button1; // department "▼"
    QPushButton *Button2; // "結束"
    QPushButton *Button3; // duty "▼"
    // The verdict of the last national-ID check: 1 passed, 0 failed.
    quint8 IDOK = 0;

    void buildBoxes(QWidget *body);
    void buildChoices(QWidget *body);
    void buildPickers(QWidget *body);
    void layOut(QWidget *body);
    // The list's position (the item chosen, or the item the typed text names) decides the
    // text written into its box.
    void writeChoice(int list, int position);
    void writeDate(DatePicker *picker, DBEdit *box);

    std::array<DBEdit *, 18> m_boxes{}; // by number; [0] unused
    std::array<QString, 18> m_captions;
};

extern Temployee *employee;

} // namespace tb
