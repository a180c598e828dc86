#include "web/delivery_api.h"

#include "app/months.h"
#include "app/save.h"
#include "app/validation_run.h"
#include "headless/json_output.h"
#include "platform/file_list.h"
#include "platform/operation_lock.h"
#include "reports/errors_workbook.h"
#include "web/desk_folders.h"
#include "web/desk_program.h"
#include "web/operation_api.h"
#include "web/request_guard.h"
#include "web/upload.h"

namespace corvela::web {

namespace {
using json = nlohmann::ordered_json;

// The folder of the desk's uploaded delivery `name`; empty when there is none of that name.
std::filesystem::path upload_folder(const ServiceState& state, const Session& session,
                                    const std::string& name) {
    if (!is_plain_file_name(name) || name.front() == '.') return {};
    const auto folder = desk_folders(state.config, session.desk).uploads() / name;
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::symlink_status(folder, ec))
               ? folder
               : std::filesystem::path();
}

json upload_json(const std::string& name, const std::filesystem::path& folder) {
    return {{"entrega", name}, {"archivos", list_text_files(folder).names}};
}

void receive_upload(ServiceState& state, const httplib::Request& req, httplib::Response& res,
                    const httplib::ContentReader& read) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    if (!req.is_multipart_form_data())
        return refuse(res, 415,
                      "La entrega se sube como multipart/form-data: los archivos de una carpeta, "
                      "o un ZIP.");
    const auto uploads = desk_folders(state.config, session->desk).uploads();
    UploadReceiver upload(uploads, state.upload_limit());
    const bool complete =
        read([&](const httplib::MultipartFormData& part) { return upload.begin_part(part); },
             [&](const char* data, size_t length) { return upload.receive(data, length); });
    const std::string name = upload.finish(complete);
    if (name.empty()) {
        // What was not read of the body is left on the connection: it ends with this answer.
        if (!complete) res.set_header("Connection", "close");
        return refuse(res, upload.status(), upload.refusal());
    }
    reply(res, 201, upload_json(name, uploads / name));
}

void list_uploads(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    json list = json::array();
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(
             desk_folders(state.config, session->desk).uploads(), ec))
        if (entry.is_directory() && !entry.is_symlink() &&
            entry.path().filename().string().front() != '.')
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const auto& name : names)
        list.push_back(
            upload_json(name, desk_folders(state.config, session->desk).uploads() / name));
    reply(res, 200, list);
}

void remove_upload(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const auto folder = upload_folder(state, *session, req.matches[1]);
    if (folder.empty())
        return refuse(res, 404, "No existe la entrega " + req.matches[1].str() + ".");
    // Not while a run of the desk may be reading it.
    OperationLock lock(desk_lock_file(state.config, session->desk));
    if (!lock.held()) return refuse(res, 409, kBusyText);
    std::filesystem::remove_all(folder);
    reply(res, 200, {{"entrega", req.matches[1].str()}, {"borrada", true}});
}

void start_run(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const auto body = json_body(req, res);
    if (!body) return;
    const std::string name = body->value("entrega", "");
    const auto folder = upload_folder(state, *session, name);
    if (folder.empty()) return refuse(res, 404, "No existe la entrega \"" + name + "\".");
    start_operation(
        state, *session, res, "validacion", [&state, desk = session->desk, folder](ConsoleUi& ui) {
            return on_kept_run(state, desk, ui, [&](Program& program) {
                // The errors workbook of the IPS goes beside the error files, as the desktop
                // program writes it.
                AttachedWorkbook workbook(program, keep_errors_workbook);
                const Status outcome = run_validation(program, folder);
                return validate_json(exit_status(outcome), program, ui, ui.months(), std::nullopt);
            });
        });
}

void start_save(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const auto body = json_body(req, res);
    if (!body) return;
    // Each value given replaces the header's, as the options of `corvela save` do.
    std::map<std::string, std::string> given;
    for (const char* key : {"remitente", "direccion", "telefono", "fax", "periodo"})
        if (body->contains(key)) {
            if (!(*body)[key].is_string())
                return refuse(res, 400, std::string("\"") + key + "\" lleva un texto.");
            given[key] = (*body)[key].get<std::string>();
        }
    start_operation(
        state, *session, res, "guardado", [&state, desk = session->desk, given](ConsoleUi& ui) {
            return on_kept_run(state, desk, ui, [&](Program& program) {
                DeliveryHeader& h = program.delivery.header;
                for (const auto& [key, value] : given)
                    (key == "remitente"   ? h.sender
                     : key == "direccion" ? h.address
                     : key == "telefono"  ? h.telephone
                     : key == "fax"       ? h.fax
                                          : h.period) = value;
                const Status saved = save_delivery(program);
                return json{{"exit_status", exit_status(saved)},
                            {"radicacion",
                             saved.ok() ? json(static_cast<long long>(program.delivery.radicacion))
                                        : json(nullptr)}};
            });
        });
}

void show_kept_run(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    ConsoleUi ui(false, false, true);
    DeskProgram program(state, session->desk, ui);
    if (!program.ok()) return reply(res, 500, boxes_document(kExitFailure, ui));
    program->load_run_state();
    const DeliveryHeader& h = program->delivery.header;
    json months = json::array();
    for (const auto& [month, year] : reported_months(*program->work))
        months.push_back({{"month", month}, {"year", year}});
    reply(res, 200,
          {{"run_state", state_letter(program->run_state)},
           {"header",
            {{"cod_ips", h.ips_code},
             {"nombre_ips", h.ips_name},
             {"remitente", h.sender},
             {"direccion", h.address},
             {"telefono", h.telephone},
             {"fax", h.fax},
             {"remision", h.remission},
             {"fecha_remision", h.remission_date},
             {"periodo", h.period}}},
           {"months", months}});
}
}  // namespace

bool is_upload(const httplib::Request& req) {
    return req.method == "POST" && req.path == "/api/entregas";
}

void add_delivery_routes(httplib::Server& server, ServiceState& state) {
    server.Post("/api/entregas", [&state](const httplib::Request& req, httplib::Response& res,
                                          const httplib::ContentReader& read) {
        receive_upload(state, req, res, read);
    });
    server.Get("/api/entregas", bound(state, list_uploads));
    server.Delete(R"(/api/entregas/([^/]+))", bound(state, remove_upload));
    server.Post("/api/validacion", bound(state, start_run));
    server.Post("/api/guardado", bound(state, start_save));
    server.Get("/api/corrida", bound(state, show_kept_run));
}

}  // namespace corvela::web
