#include "win/step_clock.h"

#include <windows.h>

namespace pictornx {
namespace {

struct StepClock {
  bool on = false;
  int count = 0;
  StepMark marks[kMaxSteps];
};

StepClock& Clock() {
  static StepClock clock;
  return clock;
}

}  // namespace

void StartStepClock(bool on) {
  Clock().on = on;
  Clock().count = 0;
}

void MarkStep(const char* name) {
  StepClock& clock = Clock();
  if (!clock.on || clock.count == kMaxSteps) return;
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  clock.marks[clock.count++] = {
      name, 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart)};
}

int StepMarks(const StepMark** marks) {
  *marks = Clock().marks;
  return Clock().count;
}

}  // namespace pictornx
