#include "web/eapb_api.h"

#include <deque>
#include <map>

#include "eapb/registry.h"
#include "headless/json_output.h"
#include "web/desk_program.h"
#include "web/operation_api.h"
#include "web/request_guard.h"

namespace corvela::web {

namespace {
using json = nlohmann::ordered_json;

// The UI of a window that outlives its operations: each button's operation lends it its own UI
// while the button runs. Input boxes take the answers the request gave first.
class RelayUi : public Ui {
  public:
    explicit RelayUi(Ui& first) : target(&first) {}
    Ui* target;
    std::deque<std::string> inputs;

    void message(const std::string& text, const std::string& title, Icon icon) override {
        if (target) target->message(text, title, icon);
    }
    void message_with_hint(const std::string& text, const std::string& title, Icon icon,
                           const std::string& hint) override {
        if (target) target->message_with_hint(text, title, icon, hint);
    }
    using Ui::ask_yes_no;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon,
                    bool no_is_default) override {
        return target ? target->ask_yes_no(text, title, icon, no_is_default) : !no_is_default;
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& initial) override {
        if (!inputs.empty()) {
            std::string given = inputs.front();
            inputs.pop_front();
            return given;
        }
        return target ? target->input(prompt, title, initial) : std::string();
    }
};
}  // namespace

// A session's open registry window: its program on the desk and the window's state.
struct EapbWindow {
    // Opened by an operation, whose UI hears start-up's message when a database does not open.
    EapbWindow(ServiceState& state, const std::string& desk, Ui& opener)
        : ui(opener), program(state, desk, ui) {
        if (program.ok()) window.emplace(*program->work, ui);
    }
    RelayUi ui;
    DeskProgram program;
    std::optional<EapbRegistry> window;
    bool loaded = false;
};

namespace {
const std::map<std::string, void (EapbRegistry::*)()>& buttons() {
    static const std::map<std::string, void (EapbRegistry::*)()> table = {
        {"abrir", &EapbRegistry::open},        {"primero", &EapbRegistry::first},
        {"anterior", &EapbRegistry::previous}, {"siguiente", &EapbRegistry::next},
        {"ultimo", &EapbRegistry::last},       {"buscar", &EapbRegistry::search},
        {"agregar", &EapbRegistry::add},       {"actualizar", &EapbRegistry::update},
        {"eliminar", &EapbRegistry::remove},   {"cerrar", &EapbRegistry::close},
        {"renovar", &EapbRegistry::renew},
    };
    return table;
}

// The window's boxes by the names the API gives them.
const std::array<std::pair<const char*, std::string EapbRegistry::Texts::*>, 6> kBoxes = {{
    {"codigo", &EapbRegistry::Texts::code},
    {"responsable", &EapbRegistry::Texts::manager},
    {"direccion", &EapbRegistry::Texts::address},
    {"fax", &EapbRegistry::Texts::fax},
    {"telefono", &EapbRegistry::Texts::telephone},
    {"nombre", &EapbRegistry::Texts::name},
}};

// The window's lists, in the order an edit is applied (the municipalities follow the department).
struct List {
    const char* name;
    ComboState EapbRegistry::*combo;
    void (EapbRegistry::*choose)(int);
};
const std::array<List, 3> kLists = {{
    {"tipo", &EapbRegistry::institution_types, &EapbRegistry::select_institution_type},
    {"departamento", &EapbRegistry::departments, &EapbRegistry::select_department},
    {"municipio", &EapbRegistry::municipalities, &EapbRegistry::select_municipality},
}};

json window_json(const EapbRegistry& w) {
    json shown;
    for (const auto& [name, box] : kBoxes) shown[name] = w.texts.*box;
    for (const auto& list : kLists)
        shown[list.name] = {{"opciones", (w.*list.combo).items},
                            {"elegido", (w.*list.combo).index}};
    return shown;
}

// The operator's edits, as the window's boxes and lists take them before a button.
void apply_edits(EapbRegistry& w, const json& edits) {
    for (const auto& [name, box] : kBoxes)
        if (edits.contains(name) && edits[name].is_string()) w.texts.*box = edits[name];
    for (const auto& list : kLists)
        if (edits.contains(list.name) && edits[list.name].is_number_integer() &&
            edits[list.name].get<int>() != (w.*list.combo).index)
            (w.*list.choose)(edits[list.name].get<int>());
}

json press_button(ServiceState& state, SessionWork& work, const std::string& desk,
                  const std::string& action, const json& edits, ConsoleUi& ui) {
    std::shared_ptr<EapbWindow> w;
    {
        std::lock_guard lock(work.mutex);
        if (!work.eapb || action == "abrir")
            work.eapb = std::make_shared<EapbWindow>(state, desk, ui);
        w = work.eapb;
    }
    w->ui.target = &ui;
    if (!w->program.ok()) {
        // Start-up's message went to the window's first UI: the operation's own.
        std::lock_guard lock(work.mutex);
        work.eapb.reset();
        return boxes_document(kExitFailure, ui);
    }
    EapbRegistry& window = *w->window;
    // A window that a button other than "abrir" opens loads first, as opening it does.
    if (!w->loaded && action != "abrir") window.open();
    w->loaded = true;
    apply_edits(window, edits);
    w->ui.inputs.clear();
    if (edits.contains("entradas") && edits["entradas"].is_array())
        for (const auto& given : edits["entradas"])
            if (given.is_string()) w->ui.inputs.push_back(given);
    (window.*buttons().at(action))();
    w->ui.target = nullptr;
    json document = boxes_document(kExitDone, ui);
    document["registro"] = window_json(window);
    if (window.closed()) {
        std::lock_guard lock(work.mutex);
        work.eapb.reset();
    }
    return document;
}

void start_button(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const std::string action = req.matches[1];
    if (!buttons().count(action))
        return refuse(res, 404, "El registro de EAPB no tiene " + action + ".");
    const auto edits = json_body(req, res);
    if (!edits) return;
    // The session's work owns the operation, which ends before the work does.
    SessionWork* work = state.works.of(session->id).get();
    start_operation(
        state, *session, res, "eapb",
        [&state, work, desk = session->desk, action, edits = json(*edits)](ConsoleUi& ui) {
            return press_button(state, *work, desk, action, edits, ui);
        });
}
}  // namespace

void add_eapb_routes(httplib::Server& server, ServiceState& state) {
    server.Post(R"(/api/eapb/([a-z]+))", bound(state, start_button));
}

}  // namespace corvela::web
