// The whole library through the real DLL, cycle after cycle in one process: every window
// opened, driven and closed by the scripted cycle (soak/soak_cycle.h), with the process's
// GDI objects, USER objects, handles, windows and memory recorded after each cycle.
// make check runs 20 cycles; make soak runs 1,000 and prints a line per 100.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "open_test_support.h"
#include "soak/soak_cycle.h"
#include "win_test_support.h"

namespace {

TEST(Soak, EveryWindowCycleAfterCycleLeavesNothingBehind) {
  wintest::InitCommonControlsForHost();
  wintest::LoadedLibrary lib;
  ASSERT_NE(lib.module, nullptr);
  wintest::HostWindow host;
  wintest::NotifyRecorder notify;
  lib.setHostNotifyWindow(notify.Window(), 1);
  wintest::TempFolder folder;
  wintest::ModalAnswerer answerer;
  soak::Cycle cycle{lib, host.Get(), answerer, folder.Path()};

  // The warm-up: Wine and the common dialogs create some objects once.
  ASSERT_TRUE(soak::RunCycle(cycle)) << "warm-up: " << cycle.failure;
  const soak::Counts first = soak::Measure();
  // Wine's file dialogs keep one kernel handle per showing (docs/wine.md); the handles the
  // library holds are what remains without them.
  const int dialogsBefore = answerer.dialogsAnswered;
  const auto libraryHandles = [&](const soak::Counts& counts) {
    return counts.handles - (wintest::RunningUnderWine() ? answerer.dialogsAnswered - dialogsBefore : 0);
  };
  const int cycles = soak::SoakCycles(20);
  std::vector<soak::Counts> record;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 1; i <= cycles; ++i) {
    cycle.number = i;
    ASSERT_TRUE(soak::RunCycle(cycle)) << "cycle " << i << ": " << cycle.failure;
    record.push_back(soak::Measure());
    record.back().handles = libraryHandles(record.back());
    if (i % 100 == 0 || i == cycles || std::getenv("PICTORNX_SOAK_TRACE")) {
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::printf("cycle %d (%.0f s, %d file dialogs): %s\n", i, seconds, answerer.dialogsAnswered - dialogsBefore,
                  soak::Describe(record.back()).c_str());
      std::fflush(stdout);
    }
  }
  std::printf("after the warm-up: %s\n", soak::Describe(first).c_str());
  const soak::Counts& last = record.back();
  // GDI objects and windows come back exactly, cycle after cycle.
  for (size_t i = 0; i < record.size(); ++i) {
    ASSERT_EQ(record[i].gdi, first.gdi) << "cycle " << i + 1;
    ASSERT_EQ(record[i].windows, first.windows) << "cycle " << i + 1;
  }
  // Handles and USER objects may wobble with the system's own threads and caches, never climb.
  int handlesHigh = 0, userHigh = 0;
  for (const soak::Counts& counts : record) {
    handlesHigh = std::max(handlesHigh, counts.handles);
    userHigh = std::max(userHigh, counts.user);
  }
  EXPECT_LE(handlesHigh, first.handles + 8);
  EXPECT_LE(userHigh, first.user + 8);
  // Over a few cycles Wine's heap still settles; the memory bound is for the long run.
  if (cycles >= 100) {
    const soak::Counts& settled = record[record.size() / 10];
    EXPECT_LT(last.privateBytes, settled.privateBytes + 2 * 1024 * 1024) << soak::Describe(settled);
  }
}

}  // namespace
