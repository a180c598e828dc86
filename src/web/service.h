// The web service's HTTP frame: the server (with TLS when a certificate is given), its pool of
// worker threads and time-outs, the headers every answer carries, the limit on request bodies,
// the log of requests on standard error, and the routes of the API.
#pragma once

#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/config.h"
#include "web/account_directory.h"
#include "web/listen_address.h"
#include "web/service_state.h"

namespace corvela::web {

struct ServiceOptions {
    ListenAddress listen;
    std::string tls_cert, tls_key;  // both, or neither
    // Threads serving requests: each open connection (a browser keeps a few) holds one while
    // it lasts.
    int workers = 32;
};

class Service {
  public:
    // Throws std::runtime_error with the operator's message when the certificate or key does not
    // load.
    Service(const Configuration& config, const ServiceOptions& options, AccountDirectory& accounts);

    // Takes the address; the port taken (the one asked for, or a free one for port 0), or -1.
    int bind();
    // Serves until `stop`.
    void run();
    // Ends `run`, also when called before it: it waits for the server to start, then stops it.
    void stop();
    bool tls() const { return tls_; }

  private:
    void set_up();

    ServiceOptions options_;
    bool tls_;
    std::unique_ptr<httplib::Server> server_;
    ServiceState state_;
    std::atomic<bool> stopping_ = false, finished_ = false;
};

}  // namespace corvela::web
