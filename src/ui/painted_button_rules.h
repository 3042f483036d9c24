// Painted buttons: buttons a window draws itself from cells of its art and finds by pixel
// rectangles of its client area. Portable (no windows.h); the window feeds the rules its
// mouse messages and draws each button's Look() cell. A click counts only when the left
// button goes down and comes up over the same enabled button.
#pragma once

#include <array>
#include <span>

#include "pixels/image.h"

namespace pictornx {

enum class ButtonLook { kReleased = 0, kHover, kPressed, kDisabled };

struct PaintedButton {
  PixelRect hit;                     // client pixels that belong to the button
  std::array<PixelRect, 4> looks{};  // art cell per ButtonLook; an empty cell is not drawn
  bool enabled = true;
};

// Cell `index` of a strip `stripWidth` x `stripHeight` cut into `count` cells of equal
// width side by side (left to right); empty when index or count is out of range.
PixelRect StripCell(int index, int count, int stripWidth, int stripHeight);

// The first enabled button whose hit rectangle holds (x, y), or -1.
int HitButton(std::span<const PaintedButton> buttons, int x, int y);

// Which button the pointer is over and which one is held down. Indexes are HitButton's.
class ButtonPress {
 public:
  // WM_MOUSEMOVE: true when some button's look changed (the window repaints then).
  bool Move(int hit);
  // WM_LBUTTONDOWN: true when a button was pressed (the window captures the mouse then).
  bool Down(int hit);
  // WM_LBUTTONUP (or the capture lost, with -1): the clicked button, or -1.
  int Up(int hit);

  int Pressed() const { return pressed_; }
  int Hover() const { return hover_; }
  // The look button `index` is drawn with: pressed while held down with the pointer over
  // it, hovered while the pointer is over it and nothing else is held.
  ButtonLook Look(const PaintedButton& button, int index) const;

 private:
  int hover_ = -1;
  int pressed_ = -1;
};

}  // namespace pictornx
