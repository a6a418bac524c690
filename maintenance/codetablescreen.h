#pragma once

#include "maintenance/recordscreen.h"

namespace tb {

class DBEdit;
class DBMemo;

// What one code-table screen is made of (one row of the table in codetables.cpp).
struct CodeTableSetup
{
    QString name;            // objectName and instance name ("punit")
    QString caption;         // window caption
    QString tableName;
    QString readingOrder;    // the identifier column, or empty for the table's default
    QString prefix;          // "UN": four digits follow
    QString idCaption, idField;
    QString nameCaption, nameField;
    int nameWidth = 264;
    QString memoCaption;     // empty: the screen has no memo
    QString closeButtonName; // "Button1" or "Button2"
    QString nameRequired;    // the message when the name is empty
    std::function<QWidget *()> queryScreen;
};

// A code-table screen: an identifier box, a name box (the one required field) and, on
// some screens, a memo; otherwise the record maintenance pattern as it stands.
class CodeTableScreen : public RecordScreen
{
    Q_OBJECT
public:
    explicit CodeTableScreen(const CodeTableSetup &setup);

    // The close button's handler, whatever the button is called.
    void Button1Click();

private:
    DBEdit *DBEdit1; // identifier, read-only
    DBEdit *DBEdit2; // name
    DBMemo *DBMemo1; // nullptr on the screens without a memo
};

} // namespace tb
