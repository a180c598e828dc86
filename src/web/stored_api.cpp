#include "web/stored_api.h"

#include <fstream>

#include "app/cleanup.h"
#include "headless/aligned_table.h"
#include "headless/delivery_choice.h"
#include "headless/json_output.h"
#include "platform/text.h"
#include "reports/report_workbook.h"
#include "web/desk_folders.h"
#include "web/desk_program.h"
#include "web/operation_api.h"
#include "web/request_guard.h"
#include "web/upload.h"

namespace corvela::web {

namespace {
using json = nlohmann::ordered_json;

// The IPS that have saved deliveries, each with its deliveries as a window lists them.
json ips_lists(Database& work, DeliveryKey key) {
    json list = json::array();
    for (const auto& ips : ips_rows(work))
        list.push_back({{"codigo", ips.code},
                        {"nombre", ips.shown()},
                        {"entregas", delivery_entries(work, ips.code, key)}});
    return list;
}

void list_reports(ServiceState& state, const httplib::Request& req, httplib::Response& res,
                  DeliveryKey key) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    ConsoleUi ui(false, false, true);
    DeskProgram program(state, session->desk, ui);
    if (!program.ok()) return reply(res, 500, boxes_document(kExitFailure, ui));
    // The report window says when there is nothing to report; the delete window only lists.
    if (key == DeliveryKey::Eapb && !reports_available(*program).ok())
        return reply(res, 200, boxes_document(kExitStopped, ui));
    json document = boxes_document(kExitDone, ui);
    document["ips"] = ips_lists(*program->work, key);
    reply(res, 200, document);
}

// Sends the file written at `path` (then removed) as a download named `name`.
void send_written(httplib::Response& res, const std::filesystem::path& path,
                  const std::string& name, const std::string& type) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    res.set_content(bytes, type);
}

void show_report(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const std::string kind = req.matches[1];
    const std::string format = req.has_param("formato") ? req.get_param_value("formato") : "json";
    if (format != "json" && format != "texto" && format != "html" && format != "xlsx")
        return refuse(res, 400, "formato es json, texto, html o xlsx.");
    ConsoleUi ui(false, false, true);
    DeskProgram program(state, session->desk, ui);
    if (!program.ok()) return reply(res, 500, boxes_document(kExitFailure, ui));
    if (!reports_available(*program).ok()) return reply(res, 404, boxes_document(kExitStopped, ui));
    const std::string ips_name = req.get_param_value("ips");
    const auto chosen = choose_delivery(*program->work, ips_name, req.get_param_value("entrega"),
                                        DeliveryKey::Eapb);
    if (!chosen.ok()) return refuse(res, 404, chosen.why());
    DeliveryReport report(*program);
    report.load();
    report.select_ips(find_ips(report.ips(), ips_name)->shown());
    report.select_delivery(chosen.value().delivery);
    const Status shown = kind == "resumen" ? report.show_summary() : report.show_inconsistencies();
    if (!shown.ok()) return reply(res, 404, boxes_document(kExitStopped, ui));
    if (format == "texto") {
        res.set_content(report.title() + "\n" +
                            aligned_table(report.list().column_headers, report.list().items),
                        "text/plain; charset=utf-8");
        return;
    }
    if (format == "html" || format == "xlsx") {
        const auto folder = desk_folders(state.config, session->desk).reports();
        std::filesystem::create_directories(folder);
        const auto file = folder / ("reporte-" + upload_time_name() + "." + format);
        if (format == "xlsx") {
            write_report_workbook(file, report.title(), report.list());
            return send_written(
                res, file, "reporte.xlsx",
                "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
        }
        const Result<std::string> page = report.export_page(file.string());
        if (!page.ok()) return reply(res, 500, boxes_document(kExitFailure, ui));
        return send_written(res, page.value(), "reporte.html", "text/html; charset=utf-8");
    }
    reply(res, 200,
          report_json(kExitDone, ui, report.title(), report.list(), "",
                      kind == "resumen" ? ReportCells::Texts : ReportCells::TypedCounts));
}

void start_deletion(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const auto body = json_body(req, res);
    if (!body) return;
    const std::string ips_name = body->value("ips", ""), delivery = body->value("entrega", "");
    start_operation(state, *session, res, "borrado",
                    [&state, desk = session->desk, ips_name, delivery](ConsoleUi& ui) {
                        DeskProgram program(state, desk, ui);
                        if (!program.ok()) return boxes_document(kExitFailure, ui);
                        const auto chosen = choose_delivery(*program->work, ips_name, delivery,
                                                            DeliveryKey::EapbSede);
                        if (!chosen.ok()) {
                            json document = boxes_document(kExitFailure, ui);
                            document["error"] = chosen.why();
                            return document;
                        }
                        const Status deleted = delete_delivery(*program, chosen.value().ips_code,
                                                               chosen.value().delivery);
                        return boxes_document(exit_status(deleted), ui);
                    });
}

void start_clean_up(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    start_operation(state, *session, res, "limpieza",
                    [&state, desk = session->desk](ConsoleUi& ui) {
                        DeskProgram program(state, desk, ui);
                        if (!program.ok()) return boxes_document(kExitFailure, ui);
                        return boxes_document(exit_status(empty_final_tables(*program)), ui);
                    });
}
}  // namespace

void add_stored_routes(httplib::Server& server, ServiceState& state) {
    server.Get("/api/informes", bound(state, [](ServiceState& s, const httplib::Request& req,
                                                httplib::Response& res) {
                   list_reports(s, req, res, DeliveryKey::Eapb);
               }));
    server.Get(R"(/api/informes/(resumen|inconsistencias))", bound(state, show_report));
    server.Get("/api/borrado", bound(state, [](ServiceState& s, const httplib::Request& req,
                                               httplib::Response& res) {
                   list_reports(s, req, res, DeliveryKey::EapbSede);
               }));
    server.Post("/api/borrado", bound(state, start_deletion));
    server.Post("/api/limpieza", bound(state, start_clean_up));
}

}  // namespace corvela::web
