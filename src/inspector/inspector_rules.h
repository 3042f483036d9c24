// Pure rules of the pixel inspector, its readout and its settings panel: window layout,
// view bounds, the settings' ranges, slider arithmetic, hit rectangles of the painted
// buttons, the measured size and angle, and where digits go. Portable: no windows.h.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace pictornx {

inline constexpr int kInspectorTitleHeight = 17;  // the height of the title art

struct InspectorSettings {
  int pixelCount = 20;
  int width = 250;
  bool readout = false;
  bool hexadecimal = false;
};

struct SettingRange {
  int min = 0;
  int max = 0;
  int Clamp(int value) const { return value < min ? min : (value > max ? max : value); }
};
inline constexpr SettingRange kPixelCountRange{5, 200};
inline constexpr SettingRange kInspectorWidthRange{160, 700};

// Everything of the inspector's client area that follows from its width and mode.
struct InspectorLayout {
  int width = 0;
  int height = 0;
  int titleHeight = 0;
  bool wide = false;
  int titleEnd = 0;  // E_t: the title tab ends here
  int top = 0;       // T: the view's top row
  int right = 0;     // R
  int bottom = 0;    // B
  int centre = 0;    // C: the divider's middle column in compare mode
  int viewWidth = 0;       // W: the (left) view's columns
  int viewHeight = 0;      // H = B - T
  int rightViewWidth = 0;  // W' of the compare view, right of the divider
  int panelLeft = 0;       // P: the settings panel's left edge
};

InspectorLayout LayoutInspector(int width, bool compare, int titleHeight = kInspectorTitleHeight);

// The margin left for the rulers when the readout option is on.
inline constexpr int kRulerMargin = 5;

// --- Opening position ------------------------------------------------------------------
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};
struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Where the inspector opens: at the remembered rectangle's top left, kept on the desktop,
// or beside the owner when nothing is remembered.
ScreenPoint InspectorOpenPosition(const ScreenRect& remembered, const ScreenRect& desktop, ScreenPoint ownerTopLeft,
                                  int width, int height);
// Where the readout window is created inside an inspector of the given layout.
ScreenPoint ReadoutOpenPosition(const ScreenRect& remembered, const InspectorLayout& layout);
// The readout window (width x height at `at`) moved back inside the inspector's client
// area when it crossed a limit; unchanged otherwise.
ScreenPoint ConfineReadout(ScreenPoint at, int width, int height, const InspectorLayout& layout);

// --- Digits ----------------------------------------------------------------------------
struct DigitPlace {
  int unitsX = 0;
  int pitch = 0;
};
// A title coordinate: units digit at unitsX with pitch 7, or at wideUnitsX with pitch 6 from
// 1000 on, where the separator needs the room.
DigitPlace TitleDigits(int value, int unitsX, int wideUnitsX);
// Decimal RGB value: one digit at base - 10, two at base - 5, three at base.
int ReadoutValueX(int value, int base);
// Measured width or height: 12, 8, 5 or 0 left of base for one to four digits.
int MeasureValueX(int value, int base);
// The angle's units digit: 93, 96 or 98.
int AngleValueX(int angle);
int DecimalDigitCount(int64_t value);

// --- RGB readout -----------------------------------------------------------------------
enum class ReadoutRead {
  kRead,          // the values are read (zeros right of or left of the image)
  kBelowImage,    // row outside the image: unchanged
  kColumnTooFar,  // beyond 9999: unchanged
  kRowTooFar,
};
// Reads the pixel at (x, y) (y from the picture's top) for the readout: columns outside the
// image read as zeros; rows outside it, or points beyond 9999, leave `rgb` unchanged.
ReadoutRead ReadPointedPixel(ConstImageView source, int64_t x, int64_t y, Rgb& rgb);

// --- Measurement -----------------------------------------------------------------------
struct Measurement {
  int width = 0;   // shown value: 0 above 1999
  int height = 0;
  int angle = 0;   // degrees, 0 to 180
  bool above = false;  // the pointer is above the anchor
};
Measurement MeasureFrom(int64_t anchorX, int64_t anchorY, int64_t x, int64_t y);

// --- Settings panel --------------------------------------------------------------------
enum class PanelPage { kPixelCount, kWidth, kReadout };

inline constexpr int kThumbTravel = 46;
int ThumbOffset(int value, SettingRange range);
// The value a click on the track at x sets on a value page (not yet clamped).
int TrackValue(PanelPage page, int x, int panelLeft, SettingRange range);

enum class PanelHit {
  kNone,
  kSettingsButton,
  kPixelCountPage,
  kWidthPage,
  kReadoutPage,
  kApply,
  kMinus,
  kPlus,
  kTrack,
  kThumb,
  kReadoutSwitch,
  kHexSwitch,
};
// What a left press at (x, y) hits: the settings button always, the panel's controls
// only while it is open (the value controls on the value pages, the switches on the readout page).
PanelHit HitInspectorPanel(int x, int y, const InspectorLayout& layout, bool panelOpen, PanelPage page,
                           int thumbOffset);
// While the thumb is dragged, whether a move at (x, y) still holds it.
bool DragHoldsThumb(int x, int y, const InspectorLayout& layout, int thumbOffset);

}  // namespace pictornx
