#include "file_dialog_driver.h"

#include "win_test_support.h"

namespace wintest {
namespace {

constexpr int kFileNameControl = 0x47c;

void CollectById(HWND parent, int id, std::vector<HWND>* found) {
  for (HWND child : ChildWindows(parent))
    if (GetDlgCtrlID(child) == id) found->push_back(child);
}

bool IsFileDialog(HWND window) {
  if (WindowClass(window) != L"#32770" || !IsWindowVisible(window)) return false;
  std::vector<HWND> fields;
  CollectById(window, kFileNameControl, &fields);
  return !fields.empty();
}

bool IsMessageBox(HWND window) {
  if (WindowClass(window) != L"#32770" || !IsWindowVisible(window)) return false;
  for (HWND child : ChildWindows(window))
    if (GetDlgCtrlID(child) == 0xFFFF && WindowClass(child) == L"Static") return true;
  return false;
}

HWND WaitFor(bool (*match)(HWND), DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    const auto windows = ProcessWindows(match);
    if (!windows.empty()) return windows.front();
    Sleep(10);  // polling from the side thread; the tested thread runs the modal loop
  }
  return nullptr;
}

void WaitGone(HWND window, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (IsWindow(window) && GetTickCount64() < end) Sleep(10);
}

}  // namespace

FileDialogDriver::FileDialogDriver(std::vector<DialogStep> steps, std::function<std::wstring()> onDialog,
                                   DWORD stepTimeoutMs)
    : steps_(std::move(steps)), onDialog_(std::move(onDialog)), stepTimeoutMs_(stepTimeoutMs) {
  seen_.resize(steps_.size());
  thread_ = CreateThread(nullptr, 0, &FileDialogDriver::Run, this, 0, nullptr);
}

FileDialogDriver::~FileDialogDriver() { Result(); }

const std::vector<SeenStep>& FileDialogDriver::Result() {
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  return seen_;
}

DWORD WINAPI FileDialogDriver::Run(void* self) {
  static_cast<FileDialogDriver*>(self)->RunSteps();
  return 0;
}

void FileDialogDriver::RunSteps() {
  for (size_t i = 0; i < steps_.size(); ++i) {
    const DialogStep& step = steps_[i];
    SeenStep& seen = seen_[i];
    if (step.kind == DialogStep::kAnswerBox) {
      HWND box = WaitFor(IsMessageBox, stepTimeoutMs_);
      if (!box) return;
      seen = {true, WindowText(box), WindowText(GetDlgItem(box, 0xFFFF)), L""};
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, step.button)));
      WaitGone(box, stepTimeoutMs_);
      continue;
    }
    HWND dialog = WaitFor(IsFileDialog, stepTimeoutMs_);
    if (!dialog) return;
    std::vector<HWND> fields;
    CollectById(dialog, kFileNameControl, &fields);
    seen = {true, WindowText(dialog), WindowText(fields.back()), onDialog_ ? onDialog_() : L""};
    // A dialog found while it is still filling itself in can lose the name or the click: say
    // it again each second until the dialog goes, and in the end cancel it, so a test that
    // missed its dialog fails on its own checks instead of hanging in the modal loop.
    const int button = step.kind == DialogStep::kTypeName ? IDOK : IDCANCEL;
    const ULONGLONG end = GetTickCount64() + stepTimeoutMs_;
    while (IsWindow(dialog) && GetTickCount64() < end) {
      if (!IsWindowEnabled(dialog)) break;  // a box of its own is up: a later step answers it
      if (step.kind == DialogStep::kTypeName) {
        // The field is a ComboBoxEx holding a ComboBox holding an Edit, all with the same id.
        for (HWND field : fields) SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.name.c_str()));
      }
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
      WaitGone(dialog, 1000);
    }
    if (IsWindow(dialog) && IsWindowEnabled(dialog)) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      WaitGone(dialog, 2000);
    }
  }
}

}  // namespace wintest
