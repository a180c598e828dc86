#include "web/operation.h"

#include "headless/json_output.h"
#include "platform/failure.h"

namespace corvela::web {

namespace {
using json = nlohmann::ordered_json;
constexpr auto kStatusEvery = std::chrono::milliseconds(250);

std::string answer_text(bool yes) {
    return yes ? "Sí" : "No";
}

// A box's text as the recorded boxes hold it: "\n" where the box shows CR.
std::string with_line_feeds(std::string text) {
    for (char& c : text)
        if (c == '\r') c = '\n';
    return text;
}
}  // namespace

// The operation's UI: the command line's recording of boxes, with every box, question, progress
// step and months grid also published to the browser, and questions answered by it.
class Operation::OperationUi : public ConsoleUi {
  public:
    explicit OperationUi(Operation& op) : ConsoleUi(false, false, true), op_(op) {}

    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon,
                    bool no_is_default) override {
        std::string why;
        const auto given =
            op_.ask({0, title.empty() ? kDefaultTitle : title, text, true, no_is_default, ""}, why);
        const bool yes = given ? given->get<bool>() : !no_is_default;
        show_box(title, text, yes, why);
        return yes;
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& initial) override {
        std::string why;
        const auto given =
            op_.ask({0, title.empty() ? kDefaultTitle : title, prompt, false, false, initial}, why);
        return given ? given->get<std::string>() : std::string();
    }

    bool wants_status() override {
        return std::chrono::steady_clock::now() - last_status_ >= kStatusEvery;
    }
    void set_status(const std::string& text) override {
        last_status_ = std::chrono::steady_clock::now();
        status_ = text;
        publish_progress();
    }
    void set_progress_range(int, int maximum) override { maximum_ = maximum; }
    void set_progress(int value) override {
        value_ = value;
        publish_progress();
    }
    void show_months(const std::string& caption, const std::string& month_title,
                     const std::string& year_title,
                     const std::vector<std::pair<int, int>>& rows) override {
        {
            std::lock_guard lock(op_.mutex_);
            ConsoleUi::show_months(caption, month_title, year_title, rows);
        }
        json months = json::array();
        for (const auto& [month, year] : rows) months.push_back({{"month", month}, {"year", year}});
        op_.publish("meses", {{"months", months}});
    }

  protected:
    void show_box(const std::string& title, const std::string& text, std::optional<bool> answer,
                  const std::string& hint) override {
        json box;
        {
            std::lock_guard lock(op_.mutex_);
            ConsoleUi::show_box(title, text, answer, hint);
            const ShownBox& shown = boxes().back();
            box = {{"title", shown.title}, {"text", shown.text}};
            if (shown.answer) box["answer"] = answer_text(*shown.answer);
            if (!shown.hint.empty()) box["hint"] = shown.hint;
        }
        op_.publish("mensaje", box);
    }

  private:
    void publish_progress() {
        json progress = {{"estado", status_}, {"valor", value_}, {"maximo", maximum_}};
        {
            std::lock_guard lock(op_.mutex_);
            op_.progress_ = progress;
        }
        op_.publish("progreso", progress);
    }

    Operation& op_;
    std::string status_;
    int value_ = 0, maximum_ = 0;
    std::chrono::steady_clock::time_point last_status_{};
};

Operation::Operation(uint64_t id, std::string kind, EventChannel& events, QuestionWaits waits)
    : id_(id),
      kind_(std::move(kind)),
      events_(events),
      waits_(waits),
      ui_(std::make_unique<OperationUi>(*this)) {}

Operation::~Operation() {
    give_up_questions();
    wait();
}

void Operation::start(Body body) {
    thread_ = std::thread([this, body = std::move(body)] {
        json document;
        try {
            document = body(*ui_);
        } catch (const std::exception& e) {
            // A database that failed under the operation: its message, as a command says it.
            show_failure(*ui_, e, "");
            std::lock_guard lock(mutex_);
            document = {{"exit_status", 2}, {"messages", messages_json(*ui_)}};
        }
        {
            std::lock_guard lock(mutex_);
            result_ = document;
        }
        publish("fin", {{"resultado", document}});
    });
}

bool Operation::finished() const {
    std::lock_guard lock(mutex_);
    return result_.has_value();
}

void Operation::wait() {
    if (thread_.joinable()) thread_.join();
}

void Operation::publish(const std::string& name, json data) {
    json event = {{"operacion", id_}};
    event.update(data);
    events_.publish(name, event);
}

json Operation::state() const {
    std::lock_guard lock(mutex_);
    json question = nullptr;
    if (pending_) {
        question = {{"pregunta", pending_->id},
                    {"title", pending_->title},
                    {"text", with_line_feeds(pending_->text)},
                    {"tipo", pending_->yes_no ? "si_no" : "texto"}};
        question["por_omision"] = pending_->yes_no ? json(answer_text(!pending_->no_is_default))
                                                   : json(pending_->initial);
    }
    return {{"operacion", id_},
            {"tipo", kind_},
            {"estado", result_    ? "terminada"
                       : pending_ ? "pregunta"
                                  : "en curso"},
            {"pregunta", question},
            {"progreso", progress_},
            {"messages", messages_json(*ui_)},
            {"resultado", result_ ? *result_ : json(nullptr)}};
}

bool Operation::answer(uint64_t question, const nlohmann::json& value) {
    std::lock_guard lock(mutex_);
    if (!pending_ || pending_->id != question || answer_) return false;
    if (pending_->yes_no) {
        if (value.is_boolean())
            answer_ = value;
        else if (value == "Sí" || value == "Si" || value == "No")
            answer_ = value != "No";
        else
            return false;
    } else {
        if (!value.is_string()) return false;
        answer_ = value;
    }
    answered_.notify_all();
    return true;
}

void Operation::give_up_questions() {
    std::lock_guard lock(mutex_);
    giving_up_ = true;
    answered_.notify_all();
}

std::optional<nlohmann::json> Operation::ask(Question question, std::string& why) {
    json shown;
    {
        std::lock_guard lock(mutex_);
        question.id = ++questions_;
        pending_ = question;
        answer_.reset();
    }
    shown = state()["pregunta"];
    shown.erase("operacion");
    publish("pregunta", shown);

    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + waits_.unanswered;
    const auto default_text = question.yes_no ? answer_text(!question.no_is_default) : "";
    // The browser's presence is looked at every second.
    while (!answer_) {
        if (giving_up_) {
            why = "La sesión terminó: se tomó «" + default_text +
                  "», la respuesta que conserva los datos.";
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            why = "La pregunta quedó sin respuesta: se tomó «" + default_text +
                  "», la respuesta que conserva los datos.";
            break;
        }
        if (!events_.browser_present(waits_.browser_gone)) {
            why = "El navegador se fue: se tomó «" + default_text +
                  "», la respuesta que conserva los datos.";
            break;
        }
        answered_.wait_until(
            lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::seconds(1)));
    }
    auto given = answer_;
    pending_.reset();
    answer_.reset();
    if (!question.yes_no && !given) why.clear();
    return given;
}

}  // namespace corvela::web
