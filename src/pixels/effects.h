// Whole-picture colour effects. Each works in place on the pixel bytes of every row and
// leaves row padding alone.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

// Every byte b becomes 255 - b.
void InvertImage(ImageView image);

// Every pixel becomes B = G = R = GreyLevel of it.
void GreyImage(ImageView image);

// Every pixel becomes R = min(v + 40, 255), G = v, B = max(v - 20, 0) with v = SepiaLevel.
void SepiaImage(ImageView image);

// truncate(0.587 * G + 0.288 * R + 0.114 * B), the products and sums taken as IEEE doubles
// in that order. The weights add up to 0.989, so white gives 252.
uint8_t GreyLevel(uint8_t blue, uint8_t green, uint8_t red);

// truncate(0.3 * R + 0.6 * G + 0.1 * B) as IEEE doubles in that order; white gives 255.
uint8_t SepiaLevel(uint8_t blue, uint8_t green, uint8_t red);

}  // namespace pictornx
