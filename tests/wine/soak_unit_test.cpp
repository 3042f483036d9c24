// Memory running out anywhere in the soak's cycle: with the shell linked in, the k-th DIB
// section of one cycle fails, for every k the cycle reaches, and then the k-th heap
// allocation the library's code makes (make check tries a sample of each;
// PICTORNX_INJECT_ALL tries them all). Each failure must leave the host running, show the
// memory box or a pop-up (or end quietly where the step allows it), leave no hidden
// half-made window, and leave the library usable: the next clean cycle passes with the GDI
// objects, handles and windows it started with.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "heap_seam.h"
#include "host/exports.h"
#include "resources/resource_ids.h"
#include "soak/soak_cycle.h"
#include "ui/popup.h"
#include "ui/tool_windows.h"
#include "viewer/viewer.h"
#include "win/dib.h"
#include "res_string.h"
#include "win/module.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

// The linked shell behind the same function table a host fills from the DLL's ordinals.
struct LinkedLibrary : HostLibrary {
  LinkedLibrary() {
    getToolVersion = &GetToolVersion;
    runToolRequest = &RunToolRequest;
    setHostNotifyWindow = &SetHostNotifyWindow;
    getImageBits = &GetImageBits;
    getImageSize = &GetImageSize;
    showToolWindows = &ShowToolWindows;
  }
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

class SoakInjection : public ::testing::Test {
 public:
  void SetUp() override {
    wintest::InitCommonControlsForHost();
    lib.setHostNotifyWindow(notify.Window(), 1);
  }
  void TearDown() override { testing::FailDibSectionsAfter(-1); }

  // Closes what a failure left open, as the user would: the viewer, then the pop-up.
  void CloseLeftovers() {
    if (HWND viewer = ViewerWindow()) SendMessageW(viewer, WM_COMMAND, IDM_CLOSE_VIEWER, 0);
    ClosePopup();
    cycle.viewer = nullptr;
    wintest::PumpPending();
    if (std::getenv("PICTORNX_SOAK_TRACE"))
      std::fprintf(stderr, "leftovers closed: GDI %d\n", wintest::CountGdiObjects());
  }

  bool CleanCycle(int number) {
    cycle.strict = true;
    cycle.number = number;
    cycle.failure.clear();
    return soak::RunCycle(cycle);
  }

  // Runs one cycle with the (k+1)-th DIB section and every later one failing until the
  // step that met the failure ends; returns that step, null when the cycle never got that
  // far.
  const soak::Step* CycleFailingAt(int64_t k) {
    cycle.strict = false;
    cycle.number = 0;
    const int from = testing::DibSectionsRequested();
    const soak::Step* failedStep = nullptr;
    testing::FailDibSectionsAfter(static_cast<int>(k));
    soak::RunCycle(cycle, [&](const soak::Step& step) {
      if (testing::DibSectionsRequested() - from <= k) return NoticesClosed();
      failedStep = &step;
      return false;
    });
    testing::FailDibSectionsAfter(-1);
    return failedStep;
  }

  // Between the steps before the failure: a pop-up found after the failing step is then
  // one that step showed, not an earlier step's notice still on the screen.
  static bool NoticesClosed() {
    ClosePopup();
    return true;
  }

  // Runs one cycle with the k-th heap allocation of the library's code (counted from the
  // cycle's start) failing, and no other; returns the step that met the failure, null when
  // the cycle never got that far.
  const soak::Step* CycleFailingHeapAt(int64_t k) {
    cycle.strict = false;
    cycle.number = 0;
    const int64_t failedBefore = heapseam::Failed();
    const soak::Step* failedStep = nullptr;
    heapseam::FailAt(heapseam::Requested() + k);
    soak::RunCycle(cycle, [&](const soak::Step& step) {
      if (heapseam::Failed() == failedBefore) return NoticesClosed();
      failedStep = &step;
      return false;
    });
    heapseam::FailAt(-1);
    return failedStep;
  }

  // GDI objects and the handles the library holds (Wine's file dialogs keep one handle per
  // showing, docs/wine.md).
  struct Held {
    int gdi, handles;
    bool operator==(const Held&) const = default;
  };
  Held HeldNow(int dialogsAtBase) const {
    const soak::Counts counts = soak::Measure();
    const int dialogs = wintest::RunningUnderWine() ? answerer.dialogsAnswered - dialogsAtBase : 0;
    return Held{counts.gdi, counts.handles - dialogs};
  }

  static std::set<HWND> HiddenWindows() {
    std::set<HWND> hidden;
    for (HWND window : ThreadWindows())
      if (!IsWindowVisible(window)) hidden.insert(window);
    return hidden;
  }
  // A failure half-way must not leave a window made and never shown.
  static void ExpectNoNewHiddenWindow(const std::set<HWND>& hiddenBefore) {
    for (HWND window : ThreadWindows()) {
      if (IsWindowVisible(window) || hiddenBefore.count(window) || window == ToolWindowHandle(ToolWindow::kProgress))
        continue;
      ADD_FAILURE() << "a hidden window was left: " << wintest::Utf8(wintest::WindowClass(window)) << " \""
                    << wintest::Utf8(wintest::WindowText(window)) << "\"";
    }
  }

  // What a sweep fails: how many of these the library asked for so far, and a cycle with
  // the k-th of them (from the cycle's start) failing.
  struct Injection {
    const char* what;
    int64_t (*requested)();
    const soak::Step* (SoakInjection::*cycleFailingAt)(int64_t k);
    bool messageUnlessQuietStep;  // each failure shows a message, unless its step may be quiet
  };

  // Fails each point of a cycle in turn (PICTORNX_INJECT_ALL: every point up to 3,000, evenly
  // sampled above; else `sample` points, or PICTORNX_INJECT_SAMPLE; PICTORNX_INJECT_AT=k
  // alone) and prints the outcomes by step.
  void Sweep(const Injection& injection, int sample) {
    // Warm-up: a clean cycle, then one memory box (Wine builds its pieces once).
    ASSERT_TRUE(CleanCycle(0)) << cycle.failure;
    CycleFailingAt(0);
    CloseLeftovers();
    ASSERT_TRUE(CleanCycle(1)) << cycle.failure;

    const soak::Counts base = soak::Measure();
    const int dialogsAtBase = answerer.dialogsAnswered;
    const std::set<HWND> hiddenBefore = HiddenWindows();
    const int64_t from = injection.requested();
    ASSERT_TRUE(CleanCycle(0)) << cycle.failure;
    const int64_t points = injection.requested() - from;
    ASSERT_GT(points, 0) << "no " << injection.what << " was counted";

    const char* sampleText = std::getenv("PICTORNX_INJECT_SAMPLE");
    const int64_t limit = std::getenv("PICTORNX_INJECT_ALL") ? 3000 : sampleText ? std::atoi(sampleText) : sample;
    std::vector<int64_t> ks;
    for (int64_t i = 0; i < std::min(points, limit); ++i) ks.push_back(points <= limit ? i : i * points / limit);
    if (const char* only = std::getenv("PICTORNX_INJECT_AT")) ks = {std::atoll(only)};
    const std::wstring memoryText = LoadResString(IDS_MEMORY_ERROR);
    struct Outcomes {
      int box = 0, popup = 0, quiet = 0;
    };
    std::map<std::string, Outcomes> byStep;
    int reached = 0, leaks = 0, cleanAfter = 0;
    Held kept = HeldNow(dialogsAtBase);
    for (const int64_t k : ks) {
      SCOPED_TRACE(std::string(injection.what) + " " + std::to_string(k + 1) + " of " + std::to_string(points));
      const int boxes = answerer.messageBoxesDismissed;
      const soak::Step* step = (this->*injection.cycleFailingAt)(k);
      if (!step) continue;  // the failing cycle took a shorter path
      ++reached;
      SCOPED_TRACE(std::string("in step ") + step->name);
      // Still here: the failure did not take the process down.
      const bool box = answerer.messageBoxesDismissed > boxes && answerer.lastBoxText == memoryText;
      const bool popup = !box && PopupWindow() != nullptr;
      if (injection.messageUnlessQuietStep) {
        EXPECT_TRUE(box || popup || step->quietWhenMemoryFails) << "no message";
      }
      if (!box && !popup && !step->quietWhenMemoryFails)
        std::printf("%s %lld (%s): no message\n", injection.what, static_cast<long long>(k + 1), step->name);
      Outcomes& outcome = byStep[step->name];
      ++(box ? outcome.box : popup ? outcome.popup : outcome.quiet);
      ExpectNoNewHiddenWindow(hiddenBefore);
      CloseLeftovers();
      ASSERT_TRUE(CleanCycle(static_cast<int>(k % 1000) + 1)) << "the clean cycle after: " << cycle.failure;
      ++cleanAfter;
      EXPECT_EQ(soak::Measure().windows, base.windows);
      // Objects the system makes once on a rare path stay (under Wine, a memory box over the
      // size panel's command leaves some device contexts and bitmaps for good); a leak grows
      // again when the same failure comes round a second time.
      if (const Held grown = HeldNow(dialogsAtBase); grown != kept) {
        (this->*injection.cycleFailingAt)(k);
        CloseLeftovers();
        ASSERT_TRUE(CleanCycle(1)) << "the clean cycle after the second try: " << cycle.failure;
        const Held again = HeldNow(dialogsAtBase);
        leaks += again != grown;
        EXPECT_TRUE(again == grown) << "a leak: GDI objects " << kept.gdi << ", " << grown.gdi << ", " << again.gdi
                                    << "; handles " << kept.handles << ", " << grown.handles << ", " << again.handles;
        std::printf("%s %lld (%s): GDI objects %d -> %d, handles %d -> %d once, not again\n", injection.what,
                    static_cast<long long>(k + 1), step->name, kept.gdi, grown.gdi, kept.handles, grown.handles);
        kept = again;
      }
      if (HasFailure()) break;  // one failure's consequences would repeat for every later k
    }
    std::printf("%ss in a cycle: %lld; tried %zu, reached %d, terminations 0, leaks %d, clean cycles after %d of %d\n",
                injection.what, static_cast<long long>(points), ks.size(), reached, leaks, cleanAfter, reached);
    for (const auto& [name, o] : byStep)
      std::printf("  %s: memory box %d, pop-up %d, quiet %d\n", name.c_str(), o.box, o.popup, o.quiet);
  }

  LinkedLibrary lib;
  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
  wintest::TempFolder folder;
  wintest::ModalAnswerer answerer;
  soak::Cycle cycle{lib, host.Get(), answerer, folder.Path()};
};

TEST_F(SoakInjection, EveryDibSectionOfACycleFailsInTurnWithItsMessageAndNothingLeft) {
  Sweep({"DIB section", [] { return int64_t{testing::DibSectionsRequested()}; }, &SoakInjection::CycleFailingAt, true},
        4);
}

// Every heap allocation the library's code makes (tests/wine/support/heap_seam.h): the
// host must run on after each, whether it ends in a message or quietly.
TEST_F(SoakInjection, EveryHeapAllocationOfACycleFailsInTurnAndTheHostRunsOn) {
  Sweep({"heap allocation", heapseam::Requested, &SoakInjection::CycleFailingHeapAt, false}, 3);
}

}  // namespace
}  // namespace pictornx
