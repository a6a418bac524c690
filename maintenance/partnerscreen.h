#pragma once

#include "maintenance/recordscreen.h"

#include <QRect>

#include <array>

class QLabel;

namespace tb {

class DBEdit;

// One check of a partner's save: box n (DBEditn) must not be empty, or, with a second box,
// one of the two.
struct PartnerCheck
{
    int box;
    int orBox; // 0: none
    QString message;
};

// What tells the customer screen from the supplier screen.
struct PartnerSetup
{
    QString name;      // objectName and instance name ("Customer")
    QString caption;   // window caption
    QString tableName;
    QString prefix;    // "CU": six digits follow
    QString idField, attribField, nameField;
    QString idCaption, attribCaption, nameCaption; // captions of the first three boxes
    QRect frame;       // left, top, outer width and height
    QList<PartnerCheck> checks; // in the order the save runs them
    std::function<QWidget *()> queryScreen;
};

// A business partner's screen, shared by customers and suppliers: twelve boxes, the
// business number checked when the user leaves its box (the focus stays until it passes),
// and an E-mail box open in both modes, so that it can be corrected while browsing.
class PartnerScreen : public RecordScreen
{
    Q_OBJECT
public:
    explicit PartnerScreen(const PartnerSetup &setup);

    // The verdict of the last business-number check.
    bool earNoPassed() const { return EarNoOK == 1; }

    void Button1Click();
    // Leaving the business-number box: a number that fails is emptied and the focus
    // returns to it.
    void DBEdit4Exit();
    // Shows its own message when the number fails; records the verdict in EarNoOK.
    bool CheckEarNo(const QString &text);

    static const QString EarNoWrongLength;  // "統一編號長度錯誤,請重新輸入!"
    static const QString EarNoWrong;        // "統一編號錯誤,請重新輸入!"
    static const QString JoinManRequired;   // "聯絡人不可為空白!"
    static const QString TelOrCellPhone;    // "電話或手機擇一填寫!"
    static const QString CompanyAddressRequired;
    static const QString DeliveryAddressRequired;

private:
    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8,
        *DBEdit9, *DBEdit10, *DBEdit11, *DBEdit12;
    QPushButton *Button2; // "結束"
    QLabel *Label13;      // the note beside telephone and mobile
    // The verdict of the last business-number check: 1 passed, 0 failed.
    quint8 EarNoOK = 0;

    void buildBoxes(const PartnerSetup &setup);
    void layOut(QWidget *body, const std::array<QString, 13> &captions);

    std::array<DBEdit *, 13> m_boxes{}; // by number; [0] unused
};

} // namespace tb
