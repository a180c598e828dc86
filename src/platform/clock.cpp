#include "platform/clock.h"

#include <ctime>

namespace corvela {

namespace {
std::tm local_now(double* fraction) {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    if (fraction) {
        auto since = now.time_since_epoch();
        auto whole = std::chrono::duration_cast<std::chrono::seconds>(since);
        *fraction = std::chrono::duration<double>(since - whole).count();
    }
    return tm;
}
}  // namespace

Date SystemClock::today() const {
    std::tm tm = local_now(nullptr);
    return Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

double SystemClock::seconds_since_midnight() const {
    double fraction = 0;
    std::tm tm = local_now(&fraction);
    return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + fraction;
}

}  // namespace corvela
