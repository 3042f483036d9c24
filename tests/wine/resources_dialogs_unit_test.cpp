// Every dialog template creates its window, with the window styles the code relies on and
// exactly the named controls of the kinds the code drives.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "res_string.h"
#include "win/module.h"
#include "resources/resource_ids.h"
#include "resources_test_support.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

using wintest::Utf8;
using wintest::WindowClass;

constexpr DWORD kPushLike = 0x10000;  // marks BS_PUSHLIKE beside the button type below

struct ExpectedControl {
  int id;
  const wchar_t* cls;
  DWORD kind;  // Button: BS_ type (| kPushLike); ScrollBar: SBS_VERT; otherwise 0
  bool visible;
};

struct ExpectedTemplate {
  DWORD styleSet;    // bits that must be set
  DWORD styleClear;  // bits that must be clear
  std::vector<ExpectedControl> controls;
};

constexpr wchar_t kButton[] = L"Button";
constexpr wchar_t kEdit[] = L"Edit";
constexpr wchar_t kStatic[] = L"Static";
constexpr wchar_t kScrollBar[] = L"ScrollBar";
constexpr wchar_t kUpDown[] = L"msctls_updown32";
constexpr wchar_t kProgress[] = L"msctls_progress32";

const std::map<int, ExpectedTemplate>& Templates() {
  static const std::map<int, ExpectedTemplate> templates = {
      {IDD_VIEWER,
       {DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME |
            WS_HSCROLL | WS_VSCROLL,
        WS_MINIMIZEBOX | WS_VISIBLE, {}}},
      {IDD_CAPTURE,
       {DS_ABSALIGN | DS_SYSMODAL | DS_SETFOREGROUND | WS_POPUP, WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VISIBLE, {}}},
      {IDD_POPUP, {DS_CENTER | WS_POPUP | WS_BORDER, WS_DLGFRAME | WS_VISIBLE, {}}},
      {IDD_ANY_SIZE,
       {WS_POPUP | WS_VISIBLE,
        0,
        {{IDC_SIZE_WIDTH_EDIT, kEdit, 0, true},
         {IDC_SIZE_HEIGHT_EDIT, kEdit, 0, true},
         {IDC_SIZE_WIDTH_TENS, kUpDown, 0, true},
         {IDC_SIZE_WIDTH_ONES, kUpDown, 0, true},
         {IDC_SIZE_HEIGHT_TENS, kUpDown, 0, true},
         {IDC_SIZE_HEIGHT_ONES, kUpDown, 0, true},
         {IDC_SIZE_RATIO_LOCK, kButton, BS_AUTOCHECKBOX, true},
         {IDC_SIZE_EXECUTE, kButton, BS_PUSHBUTTON, true},
         {IDC_SIZE_CANCEL, kButton, BS_PUSHBUTTON, true},
         {IDC_SIZE_SLOT1, kButton, BS_PUSHBUTTON, true},
         {IDC_SIZE_SLOT2, kButton, BS_PUSHBUTTON, true},
         {IDC_SIZE_SLOT3, kButton, BS_PUSHBUTTON, true},
         {IDC_SIZE_RECORD, kButton, BS_AUTOCHECKBOX | kPushLike, true},
         {IDC_SIZE_TITLE, kStatic, 0, true}}}},
      {IDD_CURSOR_PICKER, {WS_POPUP | WS_DLGFRAME | WS_VISIBLE, 0, {}}},
      {IDD_PROGRESS, {WS_POPUP, WS_VISIBLE, {{IDC_PROGRESS_BAR, kProgress, 0, true}}}},
      {IDD_POSTERISE,
       {WS_POPUP | WS_VISIBLE,
        0,
        {{IDC_POSTER_EVEN, kButton, BS_AUTORADIOBUTTON, true},
         {IDC_POSTER_GAMMA, kButton, BS_AUTORADIOBUTTON, true},
         {IDC_POSTER_DIAGRAM, kStatic, 0, true},
         {IDC_POSTER_LEVELS, kStatic, 0, true},
         {IDC_POSTER_ONES, kScrollBar, SBS_VERT, true},
         {IDC_POSTER_TENS, kScrollBar, SBS_VERT, true},
         {IDC_POSTER_SPARE_SCROLL, kScrollBar, SBS_VERT, false},
         {IDC_POSTER_PREVIEW, kButton, BS_PUSHBUTTON, true},
         {IDC_POSTER_EXECUTE, kButton, BS_PUSHBUTTON, true},
         {IDC_POSTER_PROGRESS, kProgress, 0, false},
         {IDC_POSTER_COLOUR_COUNT, kStatic, 0, false}}}},
      {IDD_COLOUR_COUNT,
       {WS_POPUP | WS_VISIBLE,
        0,
        {{IDC_COUNT_VALUE, kStatic, 0, true}, {IDC_COUNT_CLOSE, kButton, BS_PUSHBUTTON, true}}}},
      {IDD_RGB_GAUGE,
       {WS_POPUP,
        WS_VISIBLE,
        {{IDC_GAUGE_CLOSE, kButton, BS_OWNERDRAW, true},
         {IDC_GAUGE_RED, kStatic, 0, true},
         {IDC_GAUGE_GREEN, kStatic, 0, true},
         {IDC_GAUGE_BLUE, kStatic, 0, true}}}},
      {IDD_OPEN_OWNER, {DS_CENTER | WS_POPUP, WS_VISIBLE, {}}},
      {IDD_JPEG_PREVIEW,
       {WS_POPUP | WS_VISIBLE,
        0,
        {{IDC_PREVIEW_VIEW, kStatic, 0, false},
         {IDC_PREVIEW_RED_PANEL, kStatic, 0, false},
         {IDC_PREVIEW_GREEN_PANEL, kStatic, 0, false},
         {IDC_PREVIEW_BLUE_PANEL, kStatic, 0, false}}}},
      {IDD_JPEG_SETTINGS,
       {WS_CHILD | WS_BORDER,
        WS_POPUP,
        {{IDC_JPEG_PROGRESSIVE, kButton, BS_AUTOCHECKBOX, true},
         {IDC_JPEG_GREY, kButton, BS_AUTOCHECKBOX, true},
         {IDC_JPEG_QUALITY_DOWN, kButton, BS_OWNERDRAW, true},
         {IDC_JPEG_QUALITY_UP, kButton, BS_OWNERDRAW, true}}}},
      {IDD_PIXEL_INSPECTOR, {WS_POPUP, WS_VISIBLE, {}}},
      {IDD_INSPECTOR_READOUT, {WS_CHILD, WS_POPUP | WS_VISIBLE, {}}},
  };
  return templates;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Creates the template's window under a host window: owned when it is a pop-up, as a
// child when it is a child template.
class TemplateWindow {
 public:
  explicit TemplateWindow(int id) {
    window_ = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(id), host_.Get(), QuietDialogProc, 0);
  }
  ~TemplateWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  HWND Get() const { return window_; }

 private:
  wintest::HostWindow host_;
  HWND window_ = nullptr;
};

DWORD ControlKind(HWND control) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  const std::wstring cls = WindowClass(control);
  if (!lstrcmpiW(cls.c_str(), kButton)) return (style & BS_TYPEMASK) | ((style & BS_PUSHLIKE) ? kPushLike : 0);
  if (!lstrcmpiW(cls.c_str(), kScrollBar)) return style & SBS_VERT;
  return 0;
}

class DialogTemplates : public ::testing::Test {
 protected:
  void SetUp() override { wintest::InitCommonControlsForHost(); }
};

TEST_F(DialogTemplates, EveryNamedTemplateIsDescribedHere) {
  const auto ids = restest::ResourceIdsWithPrefix("IDD_");
  ASSERT_EQ(ids.size(), Templates().size());
  for (const auto& id : ids) EXPECT_EQ(Templates().count(id.value), 1u) << id.name;
}

TEST_F(DialogTemplates, CreateWithTheirStylesAndExactlyTheirNamedControls) {
  for (const auto& [id, expected] : Templates()) {
    SCOPED_TRACE("template " + std::to_string(id));
    TemplateWindow dialog(id);
    ASSERT_NE(dialog.Get(), nullptr) << "error " << GetLastError();
    const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog.Get(), GWL_STYLE));
    EXPECT_EQ(style & expected.styleSet, expected.styleSet) << std::hex << style;
    EXPECT_EQ(style & expected.styleClear, 0u) << std::hex << style;
    // Only the viewer has a caption; the other windows are shaped or painted whole.
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, id == IDD_VIEWER) << std::hex << style;

    std::map<int, HWND> named;
    for (HWND child : wintest::ChildWindows(dialog.Get())) {
      if (GetParent(child) != dialog.Get()) continue;  // parts of a control, not the template's
      const int controlId = GetDlgCtrlID(child);
      if (static_cast<WORD>(controlId) == static_cast<WORD>(IDC_STATIC)) continue;
      EXPECT_EQ(named.count(controlId), 0u) << "control " << controlId << " twice";
      named[controlId] = child;
    }
    EXPECT_EQ(named.size(), expected.controls.size());
    for (const ExpectedControl& control : expected.controls) {
      SCOPED_TRACE("control " + std::to_string(control.id));
      ASSERT_EQ(named.count(control.id), 1u);
      HWND window = named[control.id];
      EXPECT_EQ(lstrcmpiW(WindowClass(window).c_str(), control.cls), 0) << Utf8(WindowClass(window));
      EXPECT_EQ(ControlKind(window), control.kind);
      EXPECT_EQ((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0, control.visible);
    }
  }
}

TEST_F(DialogTemplates, UseTheJapaneseDialogFont) {
  const std::wstring face = LoadResString(IDS_LABEL_FONT_FACE);
  for (const auto& entry : Templates()) {
    TemplateWindow dialog(entry.first);
    ASSERT_NE(dialog.Get(), nullptr);
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(dialog.Get(), WM_GETFONT, 0, 0));
    ASSERT_NE(handle, nullptr) << entry.first;
    ASSERT_EQ(GetObjectW(handle, sizeof(font), &font), static_cast<int>(sizeof(font)));
    EXPECT_EQ(std::wstring(font.lfFaceName), face) << entry.first;
    EXPECT_EQ(font.lfHeight, -MulDiv(9, 96, 72)) << entry.first;  // 9 points at 96 dots per inch
  }
}

TEST_F(DialogTemplates, ViewerHasTheMenuAndAnEmptyCaption) {
  TemplateWindow viewer(IDD_VIEWER);
  ASSERT_NE(viewer.Get(), nullptr);
  HMENU menu = GetMenu(viewer.Get());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 6);
  EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_RESET));
  EXPECT_EQ(wintest::WindowText(viewer.Get()), L"");
}

TEST_F(DialogTemplates, PanelsShowTheirFixedTexts) {
  TemplateWindow count(IDD_COLOUR_COUNT);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(count.Get(), IDC_COUNT_VALUE)), L"? ....");
  TemplateWindow size(IDD_ANY_SIZE);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(size.Get(), IDC_SIZE_SLOT3)), L"\x30FB\x30FB\x30FB");  // ・・・
  EXPECT_EQ(wintest::WindowText(GetDlgItem(size.Get(), IDC_SIZE_RECORD)), L"\x25CF");            // ●
  TemplateWindow settings(IDD_JPEG_SETTINGS);
  EXPECT_EQ(wintest::WindowText(GetDlgItem(settings.Get(), IDC_JPEG_PROGRESSIVE)), L"");
  TemplateWindow preview(IDD_JPEG_PREVIEW);
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(preview.Get(), IDC_PREVIEW_VIEW), GWL_EXSTYLE) & WS_EX_STATICEDGE);
  // The views leave the mouse to the preview window, which hit-tests its own face.
  for (int id : {IDC_PREVIEW_VIEW, IDC_PREVIEW_RED_PANEL, IDC_PREVIEW_GREEN_PANEL, IDC_PREVIEW_BLUE_PANEL})
    EXPECT_FALSE(GetWindowLongW(GetDlgItem(preview.Get(), id), GWL_STYLE) & SS_NOTIFY) << id;
}

}  // namespace
}  // namespace pictornx
