#pragma once

class QWidget;

namespace tb {

// Makes the caption that the window manager shows for a top-level window really empty.
// On X11 Qt never leaves a caption empty: it puts the program's name there instead, so
// the window's X properties are cleared after Qt has written them. Does nothing on other
// window systems, where an empty caption stays empty.
void clearNativeCaption(QWidget *window);

} // namespace tb
