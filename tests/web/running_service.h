// The built corvela-web as the web tests drive it: started on a free loopback port over a test
// installation and ended at the end of the test, the accounts made with `corvela usuarios`, and a
// browser's part (log-in, its cookie and CSRF token, requests, uploads, the event stream).
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>
#include <thread>

#include "support/command.h"

extern char** environ;

namespace corvela::testing {

using nlohmann::json;

// `corvela-web` started on a free loopback port, ended at the end of the test.
class RunningService {
  public:
    RunningService(const Installation& inst, const std::vector<std::string>& extra = {})
        : out_(inst.dir / "web.out") {
        std::vector<std::string> args = {CORVELA_WEB_BINARY, "--config", inst.config.string(),
                                         "--workers", "4"};
        args.insert(args.end(), extra.begin(), extra.end());
        if (std::find(extra.begin(), extra.end(), "--listen") == extra.end())
            args.insert(args.end(), {"--listen", "127.0.0.1:0"});
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        // It says where it listens once it is ready.
        const std::regex ready("escucha en https?://127\\.0\\.0\\.1:(\\d+)");
        for (int i = 0; i < 200 && port_ == 0 && running(); ++i) {
            std::smatch m;
            const std::string text = read_file(out_);
            if (std::regex_search(text, m, ready))
                port_ = std::stoi(m[1]);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~RunningService() {
        // Asked to end, it ends at once and cleanly.
        if (running()) {
            kill(pid_, SIGTERM);
            EXPECT_EQ(exit_status(), 0) << output();
        }
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    int port() const { return port_; }
    std::string output() const { return read_file(out_); }
    // Its exit status once it has ended, waiting up to 10 seconds; -1 while it runs.
    int exit_status() {
        for (int i = 0; i < 200 && running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return ended_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

  private:
    bool running() {
        if (ended_) return false;
        ended_ = waitpid(pid_, &status_, WNOHANG) == pid_;
        return !ended_;
    }
    std::filesystem::path out_;
    pid_t pid_ = 0;
    int port_ = 0;
    int status_ = 0;
    bool ended_ = false;
};

// `corvela usuarios ARGS` with `password` as its standard input; its exit status, and its output
// in `out`.
inline int usuarios(const Installation& inst, const std::string& args, const std::string& password,
                    std::string* out = nullptr) {
    std::ofstream(inst.dir / "clave", std::ios::binary) << password << "\n";
    const int status =
        run_corvela(inst, "usuarios " + args + " < '" + (inst.dir / "clave").string() + "'",
                    inst.dir / "usuarios.out");
    if (out) *out = read_file(inst.dir / "usuarios.out");
    return status;
}

// A browser's part: log-in, the session cookie it was given, and requests carrying it.
struct Browser {
    // `port`, the service's, lets the browser open more connections (the event stream).
    explicit Browser(httplib::Client& c, int p = 0) : client(c), port(p) {}

    httplib::Result log_in(const std::string& name, const std::string& password) {
        auto res =
            client.Post("/api/sesion", headers(),
                        json{{"usuario", name}, {"clave", password}}.dump(), "application/json");
        if (res && res->status == 200) {
            set_cookie = res->get_header_value("Set-Cookie");
            cookie = set_cookie.substr(0, set_cookie.find(';'));
            csrf = json::parse(res->body)["csrf"];
        }
        return res;
    }
    httplib::Headers headers(const std::string& token = "") const {
        httplib::Headers h;
        if (!cookie.empty()) h.emplace("Cookie", cookie);
        if (!token.empty()) h.emplace("X-CSRF-Token", token);
        return h;
    }
    int session_status() { return client.Get("/api/sesion", headers())->status; }
    httplib::Result log_out(const std::string& token) {
        return client.Delete("/api/sesion", headers(token));
    }

    // A change (POST) with a JSON body and the session's token; the answer's JSON, `status` set.
    json post(const std::string& path, const json& body, int* status = nullptr) {
        auto res = client.Post(path, headers(csrf), body.dump(), "application/json");
        if (status) *status = res ? res->status : 0;
        return res ? json::parse(res->body, nullptr, false) : json();
    }
    json get(const std::string& path, int* status = nullptr) {
        auto res = client.Get(path, headers());
        if (status) *status = res ? res->status : 0;
        return res ? json::parse(res->body, nullptr, false) : json();
    }
    // Uploads files (name, bytes) as one delivery; the answer.
    httplib::Result upload(const std::vector<std::pair<std::string, std::string>>& files) {
        httplib::MultipartFormDataItems items;
        for (const auto& [name, bytes] : files)
            items.push_back({"archivos", bytes, name, "application/octet-stream"});
        return client.Post("/api/entregas", headers(csrf), items);
    }
    // Starts an operation and follows it on the event stream (a client of its own) to its end,
    // answering each question with the next of `answers` (none left: the question is left
    // unanswered); the operation's document.
    json operate(const std::string& path, const json& body, std::vector<std::string> answers = {}) {
        httplib::Client stream("127.0.0.1", port);
        json result;
        std::string pending;
        bool open = false;
        std::mutex m;
        std::condition_variable opened;
        std::thread reader([&] {
            stream.Get("/api/eventos", headers(), [&](const char* bytes, size_t length) {
                {
                    std::lock_guard lock(m);
                    open = true;
                }
                opened.notify_all();
                pending.append(bytes, length);
                for (size_t end; (end = pending.find("\n\n")) != std::string::npos;) {
                    const std::string event = pending.substr(0, end);
                    pending.erase(0, end + 2);
                    std::smatch found;
                    if (!std::regex_search(event, found, std::regex("event: (\\w+)\ndata: (.*)")))
                        continue;
                    const json data = json::parse(found[2].str());
                    if (found[1] == "fin") {
                        result = data["resultado"];
                        return false;
                    }
                    if (found[1] == "pregunta" && !answers.empty()) {
                        httplib::Client answering("127.0.0.1", port);
                        answering.Post(
                            "/api/operacion/respuesta", headers(csrf),
                            json{{"pregunta", data["pregunta"]}, {"respuesta", answers.front()}}
                                .dump(),
                            "application/json");
                        answers.erase(answers.begin());
                    }
                }
                return true;
            });
        });
        {
            std::unique_lock lock(m);
            opened.wait(lock, [&] { return open; });
        }
        int status = 0;
        const json started = post(path, body, &status);
        EXPECT_EQ(status, 202) << started.dump();
        if (status != 202) stream.stop();
        reader.join();
        return result;
    }

    httplib::Client& client;
    int port;
    std::string set_cookie, cookie, csrf;
};

}  // namespace corvela::testing
