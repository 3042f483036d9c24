// Plays the user at a file dialog from a second thread while the tested thread sits in
// the dialog's modal loop: each step waits for the next dialog or message box of this
// process, then types a name and presses OK, cancels, or answers the box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

struct DialogStep {
  enum Kind { kTypeName, kCancelDialog, kAnswerBox } kind = kTypeName;
  std::wstring name;  // kTypeName: the full path typed into the name field
  int button = IDOK;  // kAnswerBox: the button pressed
};

// What the driver saw at each step.
struct SeenStep {
  bool seen = false;
  std::wstring title;   // the dialog's or the box's caption
  std::wstring text;    // the box's text; the name field's text of a dialog as it opened
  std::wstring extra;   // what onDialog returned
};

class FileDialogDriver {
 public:
  // onDialog runs on the driver's thread when each file dialog has appeared, before the
  // step acts on it; what it returns is recorded as SeenStep::extra.
  explicit FileDialogDriver(std::vector<DialogStep> steps, std::function<std::wstring()> onDialog = nullptr,
                            DWORD stepTimeoutMs = 10000);
  ~FileDialogDriver();
  FileDialogDriver(const FileDialogDriver&) = delete;
  FileDialogDriver& operator=(const FileDialogDriver&) = delete;
  // Waits for the driver to finish and returns what each step saw.
  const std::vector<SeenStep>& Result();

  static DialogStep Type(std::wstring path) { return {DialogStep::kTypeName, std::move(path), IDOK}; }
  static DialogStep Cancel() { return {DialogStep::kCancelDialog, L"", IDCANCEL}; }
  static DialogStep Answer(int button) { return {DialogStep::kAnswerBox, L"", button}; }

 private:
  static DWORD WINAPI Run(void* self);
  void RunSteps();
  std::vector<DialogStep> steps_;
  std::function<std::wstring()> onDialog_;
  DWORD stepTimeoutMs_;
  std::vector<SeenStep> seen_;
  HANDLE thread_ = nullptr;
};

}  // namespace wintest
