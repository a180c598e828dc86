// What every request handler of the web service shares: the installation's configuration and
// settings, whether the browser reaches the service over TLS (its own or a proxy's), the accounts,
// the sessions and what they do (their events, operations and windows), the slowing of failed
// log-ins, and the clock of the operations.
#pragma once

#include "platform/clock.h"
#include "platform/config.h"
#include "web/account_directory.h"
#include "web/login_throttle.h"
#include "web/session_work.h"
#include "web/sessions.h"

namespace corvela::web {

struct ServiceState {
    ServiceState(const Configuration& configuration, std::filesystem::path configuration_file,
                 bool tls, AccountDirectory& directory, QuestionWaits waits)
        : config(configuration),
          config_file(std::move(configuration_file)),
          settings(configuration.web),
          secure(tls || configuration.web.proxy_tls),
          accounts(directory),
          sessions(std::chrono::minutes(configuration.web.session_minutes)),
          works(waits) {}

    const Configuration config;
    // The file it was read from, which start-up's messages name.
    const std::filesystem::path config_file;
    const WebSettings settings;
    // Cookies go only over TLS.
    const bool secure;
    AccountDirectory& accounts;
    SessionTable sessions;
    LoginThrottle throttle;
    SessionWorks works;
    SystemClock clock;

    // A session ends here (log-out, a new log-in, its account gone): so does its work.
    void end_session(const std::string& id) {
        sessions.close(id);
        works.end(id);
    }

    // The largest upload, in bytes.
    uint64_t upload_limit() const { return static_cast<uint64_t>(settings.upload_mb) << 20; }
};

}  // namespace corvela::web
