// The fixed 256-colour palette the library realises on 8-bit (palette) displays.
#pragma once

#include <array>
#include <cstdint>

namespace pictornx {

struct PaletteColour {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

// The 256 entries: the 20 static system colours around both ends, seven tints, a light
// grey ramp and 212 colours of the 6 x 6 x 6 web cube (channels 0, 0x33, ..., 0xFF).
const std::array<PaletteColour, 256>& ScreenPaletteColours();

}  // namespace pictornx
