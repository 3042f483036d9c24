// One scripted cycle through every window of the library, as a host and its user drive
// it: requests through the ordinals, then commands, clicks and keys as window messages.
// The soak through the real DLL and the out-of-memory sweep through the linked shell run
// the same table of steps; a new window is one more row.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host_library.h"
#include "open_test_support.h"

namespace soak {

struct Cycle {
  Cycle(HostLibrary& library, HWND hostWindow, wintest::ModalAnswerer& modalAnswerer, std::wstring files)
      : lib(library), host(hostWindow), answerer(modalAnswerer), folder(std::move(files)) {}

  HostLibrary& lib;
  HWND host;
  wintest::ModalAnswerer& answerer;  // answers the file dialogs and message boxes
  std::wstring folder;               // saved and opened files, with a trailing backslash
  // A strict cycle checks that every window came and went as it should and stops at the
  // first step that did not; a cycle with memory failing only drives on where it can.
  bool strict = true;
  // Cycle 0 saves in every type and opens every kind of file; cycle n saves in one type
  // and opens one kind in turn, so a long run covers them all at a tenth of the dialogs.
  int number = 0;
  std::string failure;  // what went wrong first, in a strict cycle
  HWND viewer = nullptr;
};

struct Step {
  const char* name;
  bool (*run)(Cycle& cycle);  // false: the step saw something wrong (or could not go on)
  // Whether running out of memory here may pass without a message: the inspector and its
  // readout close again, silently, when their images cannot be made.
  bool quietWhenMemoryFails;
};

const std::vector<Step>& Steps();

// Runs every step in order. `afterStep`, when given, runs after each and stops the cycle
// by returning false. Returns whether every step went right.
bool RunCycle(Cycle& cycle, const std::function<bool(const Step&)>& afterStep = nullptr);

// What the process holds: GDI objects, USER objects (0 where Wine does not count them),
// kernel handles, windows, and memory.
struct Counts {
  int gdi = 0;
  int user = 0;
  int handles = 0;
  int windows = 0;
  size_t privateBytes = 0;
  size_t workingSet = 0;
};
Counts Measure();
std::string Describe(const Counts& counts);

// PICTORNX_SOAK_CYCLES, or `fallback`.
int SoakCycles(int fallback);

}  // namespace soak
