// Request 10 broken down into its steps: the shell linked in, the step clock on, the request
// run from call to return and each step's share taken from the marks it leaves
// (win/step_clock.h), beside the bare viewer window painting the same image once. Run
// under Wine: make bench-wine; PICTORNX_SCREEN sets the screen's size.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bare_viewer.h"
#include "host/exports.h"
#include "timing.h"
#include "viewer/viewer.h"
#include "win/module.h"
#include "win/step_clock.h"

namespace {

// Closes the viewer and lets the closing finish.
void CloseViewer() {
  if (HWND viewer = pictornx::ViewerWindow()) SendMessageW(viewer, WM_CLOSE, 0, 0);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

struct Step {
  std::string name;
  std::vector<double> samples;
};

}  // namespace

int main() {
  HWND host = CreateWindowExW(0, L"STATIC", L"timing host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const int rounds = 30;
  std::vector<Step> steps;
  std::vector<double> total;
  for (int i = 0; i < rounds; ++i) {
    pictornx::StartStepClock(true);
    const double start = timing::Now();
    if (RunToolRequest(host, 10, 0) != 0) {
      std::fprintf(stderr, "request failed\n");
      return 1;
    }
    const double end = timing::Now();
    total.push_back(end - start);
    const pictornx::StepMark* marks = nullptr;
    const int count = pictornx::StepMarks(&marks);
    if (steps.empty()) {
      for (int m = 0; m < count; ++m) steps.push_back({marks[m].name, {}});
      steps.push_back({"the rest, to return", {}});
    }
    if (static_cast<size_t>(count) + 1 != steps.size()) {
      std::fprintf(stderr, "the request left %d marks, the first %zu\n", count, steps.size() - 1);
      return 1;
    }
    // Each mark's step runs from the previous mark (the first from the call).
    double previous = start;
    for (int m = 0; m < count; ++m) {
      steps[static_cast<size_t>(m)].samples.push_back(marks[m].milliseconds - previous);
      previous = marks[m].milliseconds;
    }
    steps.back().samples.push_back(end - previous);
    pictornx::StartStepClock(false);
    CloseViewer();
  }
  // The bare window on an image of the screen's size.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<unsigned char> pixels(static_cast<size_t>(((width * 24 + 31) >> 3) & ~3) * height, 0x80);
  const timing::BareImage image{&info, pixels.data(), width, height};
  std::vector<double> window;
  for (int i = 0; i < rounds; ++i) window.push_back(timing::BareViewerMs(pictornx::ModuleInstance(), host, image));
  DestroyWindow(host);

  std::printf("request 10 by steps, screen %d x %d, %d rounds (median ms)\n", width, height, rounds);
  double sum = 0;
  for (const Step& step : steps) {
    const double median = timing::Median(step.samples);
    sum += median;
    std::printf("  %-42s %8.2f\n", step.name.c_str(), median);
  }
  const double request = timing::Median(total), bare = timing::Median(window);
  std::printf("  %-42s %8.2f\n", "sum of the step medians", sum);
  std::printf("  %-42s %8.2f\n", "request, call to return", request);
  std::printf("  %-42s %8.2f\n", "bare viewer window, one paint", bare);
  return 0;
}
