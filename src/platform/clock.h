// Today's date and the seconds since midnight come from an injected clock, so that tests and
// the `--today` option can fix them.
#pragma once

#include <chrono>

namespace corvela {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    // clang-tidy 14 takes the defaulted comparison's zero for a null pointer.
    friend auto operator<=>(const Date&, const Date&) = default;  // NOLINT(modernize-use-nullptr)
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
    virtual double seconds_since_midnight() const = 0;
};

// The workstation's clock.
class SystemClock : public Clock {
  public:
    Date today() const override;
    double seconds_since_midnight() const override;
};

// A clock whose date is fixed; the seconds still run, so that elapsed times stay real.
class FixedDateClock : public Clock {
  public:
    explicit FixedDateClock(Date d) : date_(d) {}
    Date today() const override { return date_; }
    double seconds_since_midnight() const override {
        return SystemClock{}.seconds_since_midnight();
    }

  private:
    Date date_;
};

}  // namespace corvela
