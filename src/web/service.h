// The web service's HTTP frame: the server (with TLS when a certificate is given), its pool of
// worker threads and time-outs, the headers every answer carries, the limits on request bodies
// (a small one, and the upload's), the log of requests on standard error, the routes of the API,
// the operator's pages (static files under a policy that lets them load nothing but the
// service's own scripts and styles), and its housekeeping: sessions that ended let go of their
// work every minute, and the desks' old files are swept at start and every hour.
#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/config.h"
#include "platform/result.h"
#include "web/account_directory.h"
#include "web/listen_address.h"
#include "web/service_state.h"

namespace corvela::web {

struct ServiceOptions {
    ListenAddress listen;
    std::string tls_cert, tls_key;  // both, or neither
    // Threads serving requests: each open connection (a browser keeps a few, and its event
    // stream one) holds one while it lasts.
    int workers = 32;
    QuestionWaits waits;
    // The configuration file read at start-up, which start-up's messages name.
    std::filesystem::path config_file;
    // The folder of the operator's pages, served at /; none: the API alone.
    std::filesystem::path pages;
};

// The HTTP server the options ask for, with TLS when a certificate is given. Failed, with the
// operator's message, when the certificate or key does not load.
Result<std::unique_ptr<httplib::Server>> make_http_server(const ServiceOptions& options);

class Service {
  public:
    // Serves on `server`, made by make_http_server for the same options.
    Service(const Configuration& config, const ServiceOptions& options, AccountDirectory& accounts,
            std::unique_ptr<httplib::Server> server);

    // Takes the address; the port taken (the one asked for, or a free one for port 0), or -1.
    int bind();
    // Serves until `stop`.
    void run();
    // Ends `run`, also when called before it: it waits for the server to start, then stops it.
    // Every session's work ends first: streams close, waiting questions take their defaults.
    void stop();
    // After `run`: waits up to `wait` for the operations still running; false when one still runs.
    bool wait_operations(std::chrono::seconds wait);
    bool tls() const { return tls_; }
    ~Service();

  private:
    void set_up();
    void keep_house();

    ServiceOptions options_;
    bool tls_;
    std::unique_ptr<httplib::Server> server_;
    ServiceState state_;
    std::atomic<bool> stopping_ = false, finished_ = false;
    std::mutex house_mutex_;
    std::condition_variable house_wake_;
    std::thread house_;
};

}  // namespace corvela::web
