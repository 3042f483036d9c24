#include "inspector/rgb_gauge.h"

#include <array>

#include "imagestore/image_buffers.h"
#include "pixels/level_tables.h"
#include "resources/resource_ids.h"
#include "ui/draw.h"
#include "ui/hint.h"
#include "ui/panel_frame.h"
#include "ui/popup.h"
#include "ui/surface.h"
#include "ui/tool_windows.h"
#include "win/module.h"
#include "win/paint.h"

namespace pictornx {
namespace {

constexpr int kWidth = 180;
constexpr int kHeight = 285;
constexpr int kGaugeIds[3] = {IDC_GAUGE_RED, IDC_GAUGE_GREEN, IDC_GAUGE_BLUE};
constexpr COLORREF kGaugeColours[3] = {0x000000EE, 0x0000EE00, 0x00EE0000};
constexpr int kButtonWidth = 63;
constexpr int kButtonHeight = 26;
constexpr int kPressedRow = 27;

struct GaugeState {
  Surface face;
  LevelTables tables;
  LOGFONTW font{};  // this window's own record: each text group changes some fields
};

GaugeState& Gauge() {
  static GaugeState state;
  return state;
}

const std::array<uint8_t, 256>& TableOf(int id) {
  const LevelTables& tables = Gauge().tables;
  return id == IDC_GAUGE_RED ? tables.red : id == IDC_GAUGE_GREEN ? tables.green : tables.blue;
}

// One horizontal line for every level present: level 255 on the top row, 0 on row 255.
void PaintGaugeControl(HWND gauge) {
  PaintScope paint(gauge);
  HDC dc = paint.Dc();
  if (!dc) return;
  RECT client{};
  GetClientRect(gauge, &client);
  const int id = GetDlgCtrlID(gauge);
  const int index = id == IDC_GAUGE_RED ? 0 : id == IDC_GAUGE_GREEN ? 1 : 2;
  {
    SelectionGuard blackPen(dc, GetStockObject(BLACK_PEN));
    SelectionGuard whiteBrush(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, client.right, client.bottom);
    OwnedPen pen(CreatePen(PS_SOLID, 1, kGaugeColours[index]));
    SelectionGuard channelPen(dc, pen.Get());
    const std::array<uint8_t, 256>& table = TableOf(id);
    for (int v = 0; v < 256; ++v) {
      if (!table[v]) continue;
      MoveToEx(dc, 0, 255 - v, nullptr);
      LineTo(dc, client.right - 1, 255 - v);
    }
  }
}

LRESULT CALLBACK GaugeControlProc(HWND gauge, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintGaugeControl(gauge);
    return 0;
  }
  return CallOldProc(gauge, message, wParam, lParam);
}

void Text(HDC dc, int x, int y, COLORREF colour, const wchar_t* text) {
  OwnedFont font(CreateFontIndirectW(&Gauge().font));
  SelectionGuard select(dc, font.Get());
  SetTextColor(dc, colour);
  TextOutW(dc, x, y, text, lstrlenW(text));
}

void SetFont(int height, int weight, bool italic, int width) {
  LOGFONTW& font = Gauge().font;
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfWidth = width;
}

// Bands around the top right corner, pale yellow outside to orange-yellow at the corner:
// pie i is centred on (W, 0) with radii |W - i| and H - i, in colour c(i) with red 255,
// green 255 - i / 4 and blue (190 - i) mod 256.
void PaintBands(HDC dc) {
  for (int i = 0; i < kHeight; ++i) {
    const COLORREF colour = static_cast<COLORREF>(65535 - 256 * (i / 4) - 65536 * i - 0x420000) & 0x00FFFFFF;
    OwnedPen pen(CreatePen(PS_SOLID, 1, colour));
    OwnedBrush brush(CreateSolidBrush(colour));
    SelectionGuard selectPen(dc, pen.Get());
    SelectionGuard selectBrush(dc, brush.Get());
    Pie(dc, i, i - kHeight, 2 * kWidth - i, kHeight - i, i, 0, kHeight - i, 0);
  }
}

void PaintBackground(HDC dc) {
  const RECT all{0, 0, kWidth, kHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintBands(dc);
  BlitResourceBitmap(dc, IDB_EMBLEM, 96, 30, 71, 42, 0, 0);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetFont(11, FW_NORMAL, false, 0);
  Text(dc, 12, 10, 0, L"255");
  Text(dc, 12, 124, 0, L"127");
  Text(dc, 20, 258, 0, L"0");
  SetFont(12, FW_BOLD, false, 0);
  Text(dc, 33, 267, 0x000000AA, L"R");
  Text(dc, 55, 267, 0x0000AA00, L"G");
  Text(dc, 77, 267, 0x00AA0000, L"B");
  SetFont(11, FW_NORMAL, true, 8);
  wchar_t light[32];
  LoadResString(IDS_GAUGE_LIGHT, light, 32);
  Text(dc, 114, 72, 0, light);
  Text(dc, 113, 71, 0x0088FFFF, light);
  SetFont(8, FW_NORMAL, false, 0);
  Text(dc, 140, 273, 0x000000EE, L"PAT.P");
}

void PaintCounts(HDC dc) {
  const LevelTables& tables = Gauge().tables;
  SetFont(12, FW_NORMAL, false, 0);
  wchar_t line[64];
  LoadResString(IDS_GAUGE_LEVEL_COUNT, line, 64);
  Text(dc, 110, 110, 0, line);
  const struct {
    UINT label;
    const std::array<uint8_t, 256>* table;
    int y;
  } rows[] = {{IDS_GAUGE_RED, &tables.red, 126}, {IDS_GAUGE_GREEN, &tables.green, 140}, {IDS_GAUGE_BLUE, &tables.blue, 154}};
  for (const auto& row : rows) {
    const int length = LoadResString(row.label, line, 48);
    wsprintfW(line + length, L"%d", LevelsPresent(*row.table));
    Text(dc, 110, row.y, 0, line);
  }
}

void DrawCloseButton(const DRAWITEMSTRUCT& item) {
  // The pressed face while the button is held down.
  const int row = (item.itemState & ODS_SELECTED) ? kPressedRow : 0;
  BlitResourceBitmap(item.hDC, IDB_GAUGE_CLOSE_BUTTON, item.rcItem.left, item.rcItem.top, kButtonWidth,
                     kButtonHeight, 0, row);
}

bool OnInitDialog(HWND window) {
  GaugeState& state = Gauge();
  for (int id : kGaugeIds) SubclassControl(GetDlgItem(window, id), GaugeControlProc);
  SetWindowPos(window, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < 3; ++i)
    SetWindowPos(GetDlgItem(window, kGaugeIds[i]), nullptr, 30 + 22 * i, 10, 15, 257, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(GetDlgItem(window, IDC_GAUGE_CLOSE), nullptr, 100, 240, kButtonWidth, kButtonHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  state.font = {};
  LoadResString(IDS_LABEL_FONT_FACE, state.font.lfFaceName, LF_FACESIZE);
  state.font.lfCharSet = SHIFTJIS_CHARSET;
  const ImageBuffersState& images = Images();
  HPALETTE palette = images.displayDepth == 8 ? images.screenPalette.Get() : nullptr;
  if (!state.face.Create(window, kWidth, kHeight, palette)) return false;
  PaintBackground(state.face.Dc());
  ShapePanel(window);
  return true;
}

void OnPaint(HWND window) {
  PaintScope paint(window);
  if (HDC dc = paint.Dc()) {
    Gauge().face.CopyTo(dc, 0, 0);
    PaintPanelFrame(window, dc);
  }
}

void OnDestroy(HWND window) {
  CloseHint();
  for (int id : kGaugeIds) RemoveSubclass(GetDlgItem(window, id));
  Gauge().face.Reset();
  SetToolWindowHandle(ToolWindow::kRgbGauge, nullptr);
}

INT_PTR CALLBACK GaugeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static constexpr HintSpot kHints[] = {{IDC_GAUGE_RED, {}, IDS_HINT_GAUGE_RED},
                                        {IDC_GAUGE_GREEN, {}, IDS_HINT_GAUGE_GREEN},
                                        {IDC_GAUGE_BLUE, {}, IDS_HINT_GAUGE_BLUE},
                                        {IDC_GAUGE_CLOSE, {}, IDS_HINT_CLOSE_WINDOW}};
  if (message == WM_PAINT) {
    OnPaint(window);
    return TRUE;
  }
  if (PanelMessage(window, message, kHints)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      // A window without its face is closed again by the opener.
      return TRUE;
    case WM_DRAWITEM:
      if (wParam == IDC_GAUGE_CLOSE) DrawCloseButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GAUGE_CLOSE || LOWORD(wParam) == IDCANCEL) {
        CloseHint();
        SendMessageW(window, WM_CLOSE, 0, 0);
      }
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(window);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int OpenRgbGauge(HWND owner) {
  if (ToolWindowHandle(ToolWindow::kRgbGauge)) return -1;
  HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_RGB_GAUGE), owner, GaugeProc, 0);
  if (!window) {
    ShowMemoryError(owner);
    return -1;
  }
  SetToolWindowHandle(ToolWindow::kRgbGauge, window);
  if (!OnInitDialog(window)) {
    DestroyWindow(window);
    ShowMemoryError(owner);
    return -1;
  }
  GaugeState& state = Gauge();
  state.tables = CountLevels(Images().workImage.View());
  PaintCounts(state.face.Dc());
  ShowWindow(window, SW_SHOWNA);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

void RgbGaugeCommand(HWND viewer) { OpenRgbGauge(viewer); }

}  // namespace pictornx
