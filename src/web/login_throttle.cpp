#include "web/login_throttle.h"

#include <algorithm>

#include "platform/text.h"

namespace corvela::web {

namespace {
using std::chrono::seconds;
constexpr seconds kLongestDelay{300};
constexpr std::chrono::minutes kRemembered{15};
constexpr int kNameFreeFailures = 0;
constexpr int kAddressFreeFailures = 4;
// Longer texts name no account: keys are cut there, so a long text costs no more memory.
constexpr size_t kKeyLength = 65;

// The delay after `count` failures of which the first `free_failures` cost nothing.
seconds delay_after(int count, int free_failures) {
    const int paid = count - free_failures;
    if (paid <= 0) return seconds{0};
    return std::min(kLongestDelay, seconds{1LL << std::min(paid - 1, 16)});
}

std::string name_key(const std::string& name) {
    // Account names are compared without regard to letter case.
    return to_upper(name.substr(0, kKeyLength));
}
}  // namespace

LoginThrottle::LoginThrottle(Now now) : now_(std::move(now)) {}

std::chrono::steady_clock::duration LoginThrottle::still_to_wait(Ledger& ledger,
                                                                 const std::string& key,
                                                                 int free_failures) {
    auto found = ledger.find(key);
    if (found == ledger.end()) return {};
    const auto& f = found->second;
    const auto until = f.last + delay_after(f.count, free_failures);
    return std::max(std::chrono::steady_clock::duration{}, until - now_());
}

int LoginThrottle::wait_seconds(const std::string& name, const std::string& address) {
    std::lock_guard lock(mutex_);
    forget_old(names_);
    forget_old(addresses_);
    const auto wait = std::max(still_to_wait(names_, name_key(name), kNameFreeFailures),
                               still_to_wait(addresses_, address, kAddressFreeFailures));
    return static_cast<int>(std::chrono::ceil<seconds>(wait).count());
}

void LoginThrottle::failed(const std::string& name, const std::string& address) {
    std::lock_guard lock(mutex_);
    const auto now = now_();
    for (auto [ledger, key] :
         {std::pair{&names_, name_key(name)}, std::pair{&addresses_, address}}) {
        Failures& f = (*ledger)[key];
        ++f.count;
        f.last = now;
    }
}

void LoginThrottle::succeeded(const std::string& name) {
    std::lock_guard lock(mutex_);
    names_.erase(name_key(name));
}

void LoginThrottle::forget_old(Ledger& ledger) {
    const auto now = now_();
    std::erase_if(ledger,
                  [&](const auto& entry) { return now - entry.second.last >= kRemembered; });
}

}  // namespace corvela::web
