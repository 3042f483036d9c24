// The JPEG preview's module state and the functions its source files share. There is at
// most one preview window; everything here lives from its opening to its closing except
// the saved placement.
#pragma once

#include <windows.h>

#include <cstdint>

#include "codecs/jpeg_codec.h"
#include "jpegpreview/preview_rules.h"
#include "jpegpreview/quality_search_rules.h"
#include "ui/surface.h"
#include "win/dib.h"
#include "win/handles.h"

namespace pictornx {

inline constexpr int kViewLeft = 8;  // MainView's place; its client area starts 2 pixels in
inline constexpr int kViewTop = 8;
inline constexpr int kViewClientLeft = 10;
inline constexpr int kViewClientTop = 10;
inline constexpr int kViewPointerRight = 455;  // the view's area for the pointer, inclusive
inline constexpr int kViewPointerBottom = 439;

enum class HeldButton { kNone, kSave, kClose };

struct PreviewState {
  HWND window = nullptr;
  HWND viewer = nullptr;
  HWND view = nullptr;  // MainView
  HWND panels[3] = {};
  Surface face;         // PreviewFace
  Surface viewImage;    // ViewImage; its DC draws the range frame
  DibSection jpegImage;
  DibSection diffA;
  DibSection diffB;     // made on demand after each refresh
  bool diffBCurrent = false;  // diffB holds the difference of the current JPEG
  // The previous refresh's JPEG and difference A: the next refresh decodes into them, so a
  // refresh of an unchanged size allocates nothing while the shown images stay intact
  // until the new ones are complete.
  DibSection spareJpeg;
  DibSection spareDiffA;
  DibSection saveClose; // the save and close buttons' art
  int imageWidth = 0;
  int imageHeight = 0;
  ViewGeometry geometry;
  PreviewPoint offset;  // ScrollOffset
  uint32_t fileBytes = 0;
  int viewMode = 0;     // 0 JPEG, 1 difference A, 2 difference B
  bool firstRefresh = false;
  bool subclassed = false;
  HCURSOR openingCursor = nullptr;
  // Left button in the view: a press outside range selection may start a drag.
  bool leftDown = false;
  bool dragging = false;
  PreviewPoint dragFrom;
  HeldButton held = HeldButton::kNone;
  OwnedFont noticeFont;  // the processing notice's
  // The size box's hint: the measures of the last refresh (and of the range), made when
  // the pointer first rests on the box after a refresh or a range change.
  wchar_t qualityText[256] = L"";
  bool qualityStale = true;
  JpegOptions shownOptions;  // the settings jpegImage was made with
  // The lowest quality that still looks the same, searched when the hint is first shown
  // after the image, the range, progressive or grey output changed: the quality alone does
  // not change the answer, so applying it or moving the slider keeps it.
  QualitySuggestion suggestion;
  bool suggestionValid = false;
  JpegOptions suggestionOptions;
  PixelRect suggestionRange;  // empty: no range was set
  const uint8_t* suggestionImage = nullptr;
};

// The size box, in window coordinates: its hint and its double click.
inline constexpr PixelRect kSizeBoxArea{612, 165, 709, 260};

PreviewState& Preview();

// preview_face.cpp
// PreviewFace's background, frame and fixed pictures. False: out of memory.
bool BuildPreviewFace(PreviewState& s);
// The size box with its labels, digits and divider (the file size as last measured).
void DrawSizeBox(PreviewState& s);
// After a refresh: the width, height and file-size digits on the face and on the screen.
void ShowRefreshedSizes(PreviewState& s);
// The save and close buttons, each up or pressed.
void DrawSaveCloseButtons(PreviewState& s);
void InvalidateFaceRect(const PreviewState& s, int left, int top, int right, int bottom, bool now = false);

// preview_view.cpp
LRESULT CALLBACK MainViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);
// Refills ViewImage from `image` (picture rows of the image size) at the scroll offset.
void CopyToViewImage(PreviewState& s, ConstImageView image);
// Makes MainView repaint from ViewImage.
void InvalidateView(const PreviewState& s);
// A DC of MainView for drawing straight on the screen (notices, the rubber band), clipped
// to the view itself: the static class would otherwise hand out its parent's clipping,
// which leaves the children out. Empty while there is no view.
inline WindowDc MainViewDc(const PreviewState& s) {
  return s.view ? WindowDc(s.view, DCX_CACHE | DCX_CLIPSIBLINGS) : WindowDc();
}
// WM_MOUSEMOVE of the window inside the view's area: cursors and the scrolling drag.
void ViewMouseMove(PreviewState& s, int x, int y, bool leftDown);
// WM_LBUTTONDOWN in the view's area outside range selection.
void ViewLeftDown(PreviewState& s, int x, int y);
void ViewLeftUp(PreviewState& s, int x, int y);
bool InViewArea(int x, int y);
// Sets the cursor of resource `id` (or the one current when the window opened, for 0).
void SetPreviewCursor(const PreviewState& s, int id);

// preview_diff_views.cpp
// Tab and button pictures, the channel panels' pictures and the initial looks. False: out
// of memory.
bool OpenDiffViews(PreviewState& s);
void CloseDiffViews(PreviewState& s);
// The image of the current view mode (difference B made on demand; the JPEG when it
// cannot be made).
ConstImageView ShownImage(PreviewState& s);
// After a refresh swapped in new images: the view, the range frame, the channel panels and,
// on the first refresh, the loupe.
void AfterRefresh(PreviewState& s);
// The window's mouse messages for the tabs, buttons, range and right button. True when the
// message was taken.
bool DiffLeftDown(PreviewState& s, int x, int y);
bool DiffMouseMove(PreviewState& s, int x, int y, WPARAM keys);
void DiffLeftUp(PreviewState& s, int x, int y);
void DiffLeftDoubleClick(PreviewState& s, int x, int y);
void DiffRightDown(PreviewState& s, int x, int y);
void DiffRightUp(PreviewState& s, int x, int y);
void DiffViewTimer(PreviewState& s);
bool SelectingRange();
bool RangeIsSet();
bool RubberBandActive();
bool TabHeld();
// The selected range in picture coordinates; false without one.
bool SelectedRange(const PreviewState& s, PixelRect& range);

// preview_quality.cpp
// The JPEG or the range changed: the size box's hint measures them again when next shown.
void UpdateQualityHint(PreviewState& s);
// Over the size box the hint shows the measures; true when the pointer is there.
bool TrackQualityHint(PreviewState& s, int x, int y);
// The channel panels' paint.
LRESULT CALLBACK ChannelPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// preview_suggestion.cpp
// Adds the suggested quality's line to the hint's text (of `capacity` characters), searching
// first when nothing is kept; the text stays as it was when the line does not fit.
void AppendQualitySuggestion(PreviewState& s, wchar_t* text, size_t capacity);
// A double click at (x, y): on the size box it sets the suggested quality as the slider
// would and returns true.
bool ApplyQualitySuggestion(PreviewState& s, int x, int y);

}  // namespace pictornx
