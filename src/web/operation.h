// One operation of a session that shows messages and may ask (a validation run, a save, "Limpiar
// DB", a deletion, an action of the EAPB registry). It runs on a thread of its own, so that the
// request that started it answers at once; its boxes are recorded as the command line records
// them for --json, and everything it shows reaches the browser as events while it happens:
//   progreso  {"operacion", "estado", "valor", "maximo"}   the status text and the progress bar
//   mensaje   {"operacion", "title", "text", "answer"?, "hint"?}   a box, once shown or answered
//   pregunta  {"operacion", "pregunta", "title", "text", "tipo", "por_omision"}   a question waits
//   meses     {"operacion", "months"}                       the months grid
//   fin       {"operacion", "resultado"}                    the operation's document
// A question waits for the session's answer with the desktop program's texts and default button.
// Unanswered for the question wait, or once the browser has gone away, it takes its default
// button: the answer that keeps data (Sí for "Existe Información.", No where Sí deletes or
// empties); an input box takes nothing, as when cancelled.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>

#include "headless/console_ui.h"
#include "web/event_channel.h"

namespace corvela::web {

struct QuestionWaits {
    // How long a question waits for its answer.
    std::chrono::seconds unanswered{600};
    // How long a session may be without its event stream before its browser counts as gone.
    std::chrono::seconds browser_gone{30};
};

class Operation {
  public:
    // What the operation does, on its thread, with the UI it shows and asks through; its result
    // document (with the boxes of `ui`, as the command line's --json documents hold them).
    using Body = std::function<nlohmann::ordered_json(ConsoleUi& ui)>;

    Operation(uint64_t id, std::string kind, EventChannel& events, QuestionWaits waits);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    void start(Body body);
    uint64_t id() const { return id_; }
    bool finished() const;
    // Waits for the end of the operation's thread.
    void wait();

    // What the operation shows now: {"operacion", "tipo", "estado" ("en curso", "pregunta",
    // "terminada"), "pregunta", "progreso", "messages", "resultado"}.
    nlohmann::ordered_json state() const;
    // The browser's answer to the question numbered `question`: "Sí" or "No" (or true, false)
    // for a Yes/No question, a text for an input box. False when that question is not waiting or
    // the value does not answer it.
    bool answer(uint64_t question, const nlohmann::json& value);
    // From now on every question takes its default at once, the waiting one too (the session
    // ended, or the service stops).
    void give_up_questions();

  private:
    class OperationUi;
    struct Question {
        uint64_t id = 0;
        std::string title, text;
        bool yes_no = true;
        bool no_is_default = false;
        std::string initial;
    };
    // Publishes the question and waits for its answer; none when it takes its default, after
    // `why` was set to the reason.
    std::optional<nlohmann::json> ask(Question question, std::string& why);
    void publish(const std::string& name, nlohmann::ordered_json data);

    const uint64_t id_;
    const std::string kind_;
    EventChannel& events_;
    const QuestionWaits waits_;
    std::unique_ptr<OperationUi> ui_;

    mutable std::mutex mutex_;
    std::condition_variable answered_;
    std::optional<Question> pending_;
    std::optional<nlohmann::json> answer_;
    uint64_t questions_ = 0;
    bool giving_up_ = false;
    nlohmann::ordered_json progress_ = nullptr;
    std::optional<nlohmann::ordered_json> result_;
    std::thread thread_;
};

}  // namespace corvela::web
