#include "ui/painted_button_rules.h"

namespace pictornx {

PixelRect StripCell(int index, int count, int stripWidth, int stripHeight) {
  if (count <= 0 || index < 0 || index >= count || stripWidth <= 0 || stripHeight <= 0) return {};
  const int width = stripWidth / count;
  return {index * width, 0, (index + 1) * width, stripHeight};
}

int HitButton(std::span<const PaintedButton> buttons, int x, int y) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].enabled && buttons[i].hit.Contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

bool ButtonPress::Move(int hit) {
  if (hit == hover_) return false;
  hover_ = hit;
  return true;
}

bool ButtonPress::Down(int hit) {
  hover_ = hit;
  pressed_ = hit;
  return hit >= 0;
}

int ButtonPress::Up(int hit) {
  const int clicked = pressed_ >= 0 && hit == pressed_ ? hit : -1;
  pressed_ = -1;
  hover_ = hit;
  return clicked;
}

ButtonLook ButtonPress::Look(const PaintedButton& button, int index) const {
  if (!button.enabled) return ButtonLook::kDisabled;
  if (pressed_ >= 0) return pressed_ == index && hover_ == index ? ButtonLook::kPressed : ButtonLook::kReleased;
  return hover_ == index ? ButtonLook::kHover : ButtonLook::kReleased;
}

}  // namespace pictornx
