#include "web/results_api.h"

#include <algorithm>
#include <fstream>

#include "app/program.h"
#include "platform/operation_lock.h"
#include "web/desk_folders.h"
#include "web/request_guard.h"
#include "web/upload.h"
#include "web/zip_files.h"

namespace corvela::web {

namespace {
using json = nlohmann::ordered_json;

// The regular files of the desk's results folder, by name (links and folders left aside).
std::vector<std::filesystem::path> result_files(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file() && !entry.is_symlink() &&
            entry.path().filename().string().front() != '~')
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Streams the file at `path` as the answer, under `name`; `remove` takes it away once sent.
void send_file(httplib::Response& res, const std::filesystem::path& path, const std::string& name,
               const std::string& type, bool remove = false) {
    auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
    const auto size = std::filesystem::file_size(path);
    res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    res.set_content_provider(
        size, type,
        [in](size_t offset, size_t length, httplib::DataSink& sink) {
            char buffer[64 * 1024];
            in->seekg(static_cast<std::streamoff>(offset));
            in->read(buffer, static_cast<std::streamsize>(std::min(length, sizeof buffer)));
            return in->gcount() > 0 && sink.write(buffer, static_cast<size_t>(in->gcount()));
        },
        [in, path, remove](bool) {
            in->close();
            std::error_code ec;
            if (remove) std::filesystem::remove(path, ec);
        });
}

void list_results(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    json files = json::array();
    for (const auto& file : result_files(desk_folders(state.config, session->desk).results())) {
        std::error_code ec;
        files.push_back({{"nombre", file.filename().string()},
                         {"bytes", static_cast<long long>(std::filesystem::file_size(file, ec))}});
    }
    reply(res, 200, files);
}

void send_result(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const std::string name = req.matches[1];
    const auto files = result_files(desk_folders(state.config, session->desk).results());
    const auto found = std::find_if(files.begin(), files.end(),
                                    [&](const auto& f) { return f.filename() == name; });
    if (!is_plain_file_name(name) || found == files.end())
        return refuse(res, 404, "No existe el archivo de resultados " + name + ".");
    send_file(res, *found, name, "application/octet-stream");
}

void send_results_zip(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    const auto folders = desk_folders(state.config, session->desk);
    auto files = result_files(folders.results());
    if (req.has_param("archivo")) {
        std::vector<std::filesystem::path> chosen;
        for (size_t i = 0; i < req.get_param_value_count("archivo"); ++i) {
            const std::string name = req.get_param_value("archivo", i);
            const auto found = std::find_if(files.begin(), files.end(),
                                            [&](const auto& f) { return f.filename() == name; });
            if (found == files.end())
                return refuse(res, 404, "No existe el archivo de resultados " + name + ".");
            chosen.push_back(*found);
        }
        files = chosen;
    }
    if (files.empty()) return refuse(res, 404, "No hay archivos de resultados.");
    std::filesystem::create_directories(folders.reports());
    const auto zip = folders.reports() / ("resultados-" + upload_time_name() + ".zip");
    pack_files(zip, files);
    send_file(res, zip, "resultados.zip", "application/zip", true);
}

void remove_results(ServiceState& state, const httplib::Request& req, httplib::Response& res) {
    auto session = guarded_session(state, req, res);
    if (!session) return;
    OperationLock lock(desk_lock_file(state.config, session->desk));
    if (!lock.held()) return refuse(res, 409, kBusyText);
    long long removed = 0;
    for (const auto& file : result_files(desk_folders(state.config, session->desk).results()))
        removed += std::filesystem::remove(file) ? 1 : 0;
    reply(res, 200, {{"borrados", removed}});
}
}  // namespace

void add_results_routes(httplib::Server& server, ServiceState& state) {
    server.Get("/api/resultados", bound(state, list_results));
    server.Get("/api/resultados.zip", bound(state, send_results_zip));
    server.Get(R"(/api/resultados/([^/]+))", bound(state, send_result));
    server.Delete("/api/resultados", bound(state, remove_results));
}

}  // namespace corvela::web
