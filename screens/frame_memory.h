// A window's frame is a screenful of memory that the first paint after showing it would take from
// the kernel a page at a time, one fault each: at 3840x2160, eight thousand of them, before the
// player sees anything.
#pragma once

class QWidget;

namespace screens {

// Has the frame of a top-level window sized to the window and its memory taken in one request to the
// kernel, so that the paint that follows writes into memory that is already there. Does nothing
// where the platform draws the frame elsewhere or the kernel cannot take it at once.
void takeFrameMemory(QWidget &window);

}  // namespace screens
