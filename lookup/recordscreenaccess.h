#pragma once

#include <QString>

class QWidget;

namespace tb {

// What a query screen may ask of its maintenance screen. Start-up hands each query screen
// one, so that lookup/ never needs to know the maintenance screens themselves.
class RecordScreenAccess
{
public:
    virtual ~RecordScreenAccess() = default;

    // The maintenance screen's window; nullptr while it is not made.
    virtual QWidget *window() const = 0;
    // A record of the screen's table is in edit or insert.
    virtual bool recordEditing() const = 0;
    // Posts a record the screen's boxes put into edit while browsing, through its checks;
    // throws when they refuse (their message shown).
    virtual void postAutomaticEdit() = 0;
    // Opens the screen's table and moves it onto the record whose field holds the key (it
    // stays where it is when none does).
    virtual void openAt(const QString &field, const QString &key) = 0;
};

} // namespace tb
