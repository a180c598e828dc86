// What every request handler of the web service shares: the settings, whether the browser
// reaches the service over TLS (its own or a proxy's), the accounts, the sessions and the
// slowing of failed log-ins.
#pragma once

#include "platform/config.h"
#include "web/account_directory.h"
#include "web/login_throttle.h"
#include "web/sessions.h"

namespace corvela::web {

struct ServiceState {
    ServiceState(const Configuration& config, bool tls, AccountDirectory& directory)
        : settings(config.web),
          secure(tls || config.web.proxy_tls),
          accounts(directory),
          sessions(std::chrono::minutes(config.web.session_minutes)) {}

    const WebSettings settings;
    // Cookies go only over TLS.
    const bool secure;
    AccountDirectory& accounts;
    SessionTable sessions;
    LoginThrottle throttle;
};

}  // namespace corvela::web
