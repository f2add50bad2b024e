#pragma once
// The local clock, behind a seam so that tests and scheduled runs can fix "now".

namespace animark {

struct LocalTime {
  int year = 0;   // in full, e.g. 2001
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// The machine's local time zone.
class SystemClock final : public Clock {
 public:
  LocalTime Now() const override;
};

}  // namespace animark
