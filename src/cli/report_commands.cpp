// `corvela deliveries` and `corvela report summary|inconsistencies`: the report window's lists and
// reports of saved deliveries, printed as aligned tables, and the page export.
#include <cstdio>

#include "cli/command.h"
#include "headless/aligned_table.h"
#include "headless/delivery_choice.h"
#include "headless/json_output.h"
#include "platform/text.h"
#include "reports/delivery_report.h"
#include "reports/report_workbook.h"

namespace corvela::cli {

namespace {
struct ReportOptions {
    std::string ips_name, delivery_text, kind, html_file, today, xlsx;
    bool html = false, json = false;
};

int run_deliveries(Program& program, const std::string& ips_name) {
    if (!reports_available(program).ok()) return kExitStopped;
    auto rows = ips_rows(*program.work);
    const IpsRow* only = ips_name.empty() ? nullptr : find_ips(rows, ips_name);
    if (!ips_name.empty() && !only) {
        std::fprintf(stderr, "No existe la IPS \"%s\" entre las que tienen entregas guardadas.\n",
                     ips_name.c_str());
        return kExitFailure;
    }
    for (const auto& r : rows) {
        if (only && &r != only) continue;
        std::printf("%s  %s\n", r.code.c_str(), r.shown().c_str());
        for (const auto& e : delivery_entries(*program.work, r.code, DeliveryKey::Eapb))
            std::printf("  %s\n", e.c_str());
    }
    return kExitDone;
}

// The report's table and the page written, when asked for: its exit status.
int show_report(DeliveryReport& report, const ReportOptions& opt, std::string& page) {
    const Status shown =
        opt.kind == "summary" ? report.show_summary() : report.show_inconsistencies();
    if (!shown.ok()) return kExitStopped;
    if (!opt.json) {
        std::printf("%s\n", report.title().c_str());
        std::fputs(aligned_table(report.list().column_headers, report.list().items).c_str(),
                   stdout);
    }
    if (opt.html) {
        std::string target = opt.html_file.empty()
                                 ? std::string()
                                 : std::filesystem::absolute(opt.html_file).string();
        const Result<std::string> written = report.export_page(target);
        if (!written.ok()) return kExitFailure;
        page = written.value();
        if (!opt.json) std::printf("%s\n", page.c_str());
    }
    if (!opt.xlsx.empty()) {
        try {
            write_report_workbook(std::filesystem::absolute(opt.xlsx), report.title(),
                                  report.list());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "corvela: %s\n", e.what());
            return kExitFailure;
        }
    }
    return kExitDone;
}

int run_report(Program& program, ConsoleUi& ui, const ReportOptions& opt) {
    if (!reports_available(program).ok()) {
        if (opt.json) print_json(report_json(kExitStopped, ui, "", {}, ""));
        return kExitStopped;
    }
    auto chosen =
        choose_delivery(*program.work, opt.ips_name, opt.delivery_text, DeliveryKey::Eapb);
    if (!chosen.ok()) {
        std::fprintf(stderr, "%s\n", chosen.why().c_str());
        return kExitFailure;
    }
    DeliveryReport report(program);
    report.load();
    report.select_ips(find_ips(report.ips(), opt.ips_name)->shown());
    report.select_delivery(chosen.value().delivery);
    std::string page;
    int status = show_report(report, opt, page);
    if (!opt.json) return status;
    if (status == kExitFailure) {
        // A page that could not be written is a failure: its boxes go where failures go.
        ui.print_recorded(stderr);
        return status;
    }
    print_json(report_json(status, ui, report.title(), report.list(), page,
                           opt.kind == "summary" ? ReportCells::Texts : ReportCells::TypedCounts));
    return status;
}
}  // namespace

Command add_deliveries(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("deliveries", "Lista las IPS y sus entregas guardadas");
    auto ips_name = std::make_shared<std::string>();
    sub->add_option("--ips", *ips_name, "Nombre de la IPS");
    return {sub, [ips_name, &global] {
                return run_session(global, {}, [&](Program& program, ConsoleUi&) {
                    return run_deliveries(program, *ips_name);
                });
            }};
}

Command add_report(CLI::App& app, const GlobalOptions& global) {
    auto* sub = app.add_subcommand("report", "Informe de una entrega guardada");
    auto opt = std::make_shared<ReportOptions>();
    sub->add_option("KIND", opt->kind, "summary o inconsistencies")
        ->required()
        ->check(CLI::IsMember({"summary", "inconsistencies"}));
    sub->add_option("--ips", opt->ips_name, "Nombre de la IPS")->required();
    sub->add_option("--delivery", opt->delivery_text, "Remisión/radicado, p. ej. 000001/1")
        ->required();
    auto* html =
        sub->add_option("--html", opt->html_file, "Exporta el informe a HTML")->expected(0, 1);
    sub->add_option("--xlsx", opt->xlsx, "Escribe el informe en este archivo como libro de Excel");
    sub->add_option("--today", opt->today, "Fecha de hoy (AAAA-MM-DD)");
    sub->add_flag("--json", opt->json, "Imprime un documento JSON para programas en vez del texto");
    return {sub, [opt, html, &global] {
                opt->html = html->count() > 0;
                SessionOptions session;
                session.today = opt->today;
                session.json = opt->json;
                return run_session(global, session, [&](Program& program, ConsoleUi& ui) {
                    return run_report(program, ui, *opt);
                });
            }};
}

}  // namespace corvela::cli
