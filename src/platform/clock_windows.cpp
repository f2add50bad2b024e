#include "platform/clock.h"

#include <windows.h>

namespace animark {

LocalTime SystemClock::Now() const {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace animark
