#include "pixels/screen_palette.h"

#include <cstddef>

namespace pictornx {
namespace {

constexpr PaletteColour Rgb(uint32_t rrggbb) {
  return {static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8), static_cast<uint8_t>(rrggbb)};
}

// Cube colours that give their places to the tints and greys.
constexpr bool IsLeftOutOfCube(uint32_t rrggbb) {
  return rrggbb == 0x0033FF || rrggbb == 0x00FF33 || rrggbb == 0x3300FF || rrggbb == 0x33FF00;
}

// The eight cube corners sit at the top of the table (entries 248 to 255), as the
// system's static colours do.
constexpr uint32_t kTopEntries[8] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x000000};

constexpr bool IsTopEntry(uint32_t rrggbb) {
  for (uint32_t c : kTopEntries)
    if (c == rrggbb) return true;
  return false;
}

std::array<PaletteColour, 256> BuildTable() {
  std::array<PaletteColour, 256> table{};
  int at = 0;
  auto put = [&](uint32_t rrggbb) { table[static_cast<size_t>(at++)] = Rgb(rrggbb); };

  for (uint32_t c : {0x800000u, 0x008000u, 0x808000u, 0x000080u, 0x800080u, 0x008080u, 0xC0C0C0u, 0xC0DCC0u, 0xA6CAF0u})
    put(c);
  // Entries 9 to 20: twelve dark greys from 0x04 to 0x55.
  for (uint32_t v : {0x04u, 0x08u, 0x0Cu, 0x11u, 0x16u, 0x1Cu, 0x22u, 0x29u, 0x39u, 0x42u, 0x4Du, 0x55u})
    put(v * 0x010101u);
  for (uint32_t c : {0xFF7C80u, 0xFF5050u, 0xD60093u, 0xCCECFFu, 0xEFD6C6u, 0xE7E7D6u, 0xADA990u}) put(c);
  // Entries 28 to 231: the cube without its corners and the four left-out colours.
  for (uint32_t r = 0; r < 6; ++r)
    for (uint32_t g = 0; g < 6; ++g)
      for (uint32_t b = 0; b < 6; ++b) {
        const uint32_t c = (r * 0x33) << 16 | (g * 0x33) << 8 | (b * 0x33);
        if (!IsLeftOutOfCube(c) && !IsTopEntry(c)) put(c);
      }
  // Entries 232 to 247.
  put(0xA50021);
  // A light grey ramp; its steps avoid the greys already in the table (0xC0, 0x80, 0xCC...).
  for (uint32_t v : {0x5Fu, 0x6Eu, 0x7Du, 0x8Cu, 0x9Bu, 0xAAu, 0xB9u, 0xC8u, 0xD7u, 0xE3u, 0xEEu, 0xF8u})
    put(v * 0x010101u);
  for (uint32_t c : {0xFFFBF0u, 0xA0A0A4u, 0x808080u}) put(c);
  for (uint32_t c : kTopEntries) put(c);
  return table;
}

}  // namespace

const std::array<PaletteColour, 256>& ScreenPaletteColours() {
  static const std::array<PaletteColour, 256> table = BuildTable();
  return table;
}

}  // namespace pictornx
