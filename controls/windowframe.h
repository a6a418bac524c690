#pragma once

class QWidget;

namespace tb {

// The window sizes of the screens are outer sizes: frame and caption bar included, as on
// the desktop the screens were drawn for (4-pixel borders, 19-pixel caption). Qt sizes a
// top-level widget by its client area, so the frame is taken off here, in one place.
inline constexpr int FrameExtraWidth = 8;
inline constexpr int FrameExtraHeight = 27;

// Puts a top-level window's frame at (left, top) and gives it the outer size.
void placeWindow(QWidget *window, int left, int top, int outerWidth, int outerHeight);

} // namespace tb
