// The library's window timers, one identifier per use. Two uses share 112; they live on
// different windows (the host's and the posterisation panel's).
#pragma once

#include <windows.h>

namespace pictornx {

inline constexpr UINT_PTR kCaptureTimeoutTimer = 110;  // each full-screen capture window, 120 s
inline constexpr UINT_PTR kPopupTimer = 111;           // owner of the message pop-up, 2 to 5 s
inline constexpr UINT_PTR kDelayedCaptureTimer = 112;  // the host window, 5 s
inline constexpr UINT_PTR kPosterPauseTimer = 112;     // posterisation panel, 300 ms
inline constexpr UINT_PTR kHintShowTimer = 113;        // the hinted window, 500 ms
inline constexpr UINT_PTR kHintHideTimer = 114;        // the hinted window, 2,500 ms
inline constexpr UINT_PTR kRangeNoticeTimer = 116;     // the JPEG preview's image view, 1 s

// Every SetTimer of the library takes its period from here: the period itself in the DLL,
// divided by the time scale in the test programs, so tests of timed windows run in
// milliseconds. Never less than 1 ms.
UINT TimerPeriod(UINT milliseconds);

#ifdef PICTORNX_TEST_SEAMS
namespace testing {
// Divides every later timer period by `divisor` (1: real time).
void SetTimerScale(UINT divisor);
UINT TimerScale();
}  // namespace testing
#endif

}  // namespace pictornx
