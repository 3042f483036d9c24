#include "ui/timers.h"

namespace pictornx {

#ifdef PICTORNX_TEST_SEAMS
namespace {
UINT g_timerScale = 1;
}  // namespace

void testing::SetTimerScale(UINT divisor) { g_timerScale = divisor == 0 ? 1 : divisor; }
UINT testing::TimerScale() { return g_timerScale; }

UINT TimerPeriod(UINT milliseconds) {
  const UINT scaled = milliseconds / g_timerScale;
  return scaled == 0 ? 1 : scaled;
}
#else
UINT TimerPeriod(UINT milliseconds) { return milliseconds == 0 ? 1 : milliseconds; }
#endif

}  // namespace pictornx
