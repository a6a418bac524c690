#pragma once

namespace tb {

// The wait cursor for as long as the scope lasts: a save may wait for another copy of the
// application to finish writing (the database's busy wait), and the user sees that it waits.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace tb
