// A delivery's way through the built corvela-web (also on the test server): the sample uploaded,
// validated with its question answered through the API, saved and reported as the command line
// does it, byte for byte; two desks validating at once, their results apart; questions left
// unanswered taking the answer that keeps data; uploads refused, naming the file, with nothing
// written.
#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <set>

#include "web/running_service.h"

namespace corvela {
namespace {

using testing::Browser;
using testing::Installation;
using testing::json;
using testing::read_file;
using testing::RunningService;
using testing::usuarios;
using Files = std::vector<std::pair<std::string, std::string>>;

const char* const kSampleIps = "IPS Salud Valle Sede Norte";
const char* const kSampleIpsInUrl = "IPS%20Salud%20Valle%20Sede%20Norte";

Files delivery_files(const std::filesystem::path& folder, const std::string& prefix = "") {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back({prefix + entry.path().filename().string(), read_file(entry.path())});
    std::sort(files.begin(), files.end());
    return files;
}

// A ZIP of `files` made at `where`; its bytes. Names listed in `links` are made links.
std::string zip_bytes(const std::filesystem::path& where, const Files& files,
                      const std::set<std::string>& links = {}) {
    zip_t* z = zip_open(where.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    for (const auto& [name, bytes] : files) {
        zip_source_t* source = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
        const auto index = zip_file_add(z, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (links.count(name))
            zip_file_set_external_attributes(z, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                             0120777u << 16);
    }
    zip_close(z);
    return read_file(where);
}

// The entries of a ZIP, by name.
std::map<std::string, std::string> zip_entries(const std::filesystem::path& where) {
    std::map<std::string, std::string> entries;
    zip_t* z = zip_open(where.c_str(), ZIP_RDONLY, nullptr);
    for (zip_int64_t i = 0; z && i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string bytes(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, bytes.data(), bytes.size());
        zip_fclose(f);
        entries[st.name] = bytes;
    }
    if (z) zip_discard(z);
    return entries;
}

// The command line on the installation: its standard output.
std::string command(const Installation& inst, const std::string& args) {
    testing::run_corvela(inst, args, inst.dir / "corvela.out", "/dev/null");
    return read_file(inst.dir / "corvela.out");
}

// A run's document with what differs from run to run left out: the elapsed times, the paths of
// the outputs (the service's desk has its own folder), and the hints beside the boxes.
json comparable(json run) {
    for (auto& box : run["messages"]) {
        box.erase("hint");
        box["text"] = std::regex_replace(box["text"].get<std::string>(),
                                         std::regex("Tiempo (de|de validación por) [^\n]*"), "");
    }
    for (auto& file : run["files"]) file.erase("error_file"), file.erase("accepted_file");
    return run;
}

// The first box of a document with that title (null when none).
json box(const json& document, const std::string& title) {
    for (const auto& b : document["messages"])
        if (b["title"] == title) return b;
    return nullptr;
}

class WebOperations : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(usuarios(inst_, "add ana", "clave-de-ana"), 0); }
    Installation inst_{testing::Sample{}};
};

TEST_F(WebOperations, TheSampleThroughTheServiceGivesWhatTheCommandLineGives) {
    const json cli =
        json::parse(command(inst_, "validate '" + inst_.delivery.string() + "' --json"));
    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser ana(client, service.port());
    ASSERT_EQ(ana.log_in("ana", "clave-de-ana")->status, 200);

    // The files of a folder, or the same folder zipped whole.
    const auto uploaded = ana.upload(delivery_files(inst_.delivery));
    ASSERT_EQ(uploaded->status, 201) << uploaded->body;
    const json delivery = json::parse(uploaded->body);
    const auto zipped = ana.upload(
        {{"entrega.zip", zip_bytes(inst_.dir / "e.zip", delivery_files(inst_.delivery, "e/"))}});
    ASSERT_EQ(zipped->status, 201) << zipped->body;
    EXPECT_EQ(json::parse(zipped->body)["archivos"], delivery["archivos"]);

    // The command line's run is not saved: the run asks, and No goes on with the new one.
    const json run = ana.operate("/api/validacion", {{"entrega", delivery["entrega"]}}, {"No"});
    ASSERT_EQ(run["exit_status"], 0) << run.dump(1);
    EXPECT_EQ(box(run, "Existe Información.")["answer"], "No");
    json same = comparable(run);
    same["messages"].erase(1);
    EXPECT_EQ(same, comparable(cli));

    // Each file, and all of them as a ZIP, byte for byte the command line's; beside them the
    // errors workbook, as the desktop program writes it.
    const auto listed = ana.get("/api/resultados");
    std::map<std::string, std::string> expected;
    for (const auto& entry : std::filesystem::directory_iterator(inst_.results()))
        expected[entry.path().filename().string()] = read_file(entry.path());
    ASSERT_EQ(listed.size(), expected.size() + 1);
    for (const auto& [name, bytes] : expected)
        EXPECT_EQ(client.Get("/api/resultados/" + name, ana.headers())->body, bytes) << name;
    std::ofstream(inst_.dir / "r.zip", std::ios::binary)
        << client.Get("/api/resultados.zip", ana.headers())->body;
    auto zipped_results = zip_entries(inst_.dir / "r.zip");
    const std::string workbook = std::string(testing::kIps) + "_errores.xlsx";
    EXPECT_TRUE(zipped_results[workbook].starts_with("PK")) << workbook;
    zipped_results.erase(workbook);
    EXPECT_EQ(zipped_results, expected);

    // Saved, then reported as `corvela report` reports it.
    const json saved = ana.operate("/api/guardado", json::object());
    EXPECT_EQ(saved["radicacion"], 1) << saved.dump(1);
    for (const char* kind : {"summary", "inconsistencies"}) {
        const std::string path = std::string("/api/informes/") +
                                 (kind == std::string("summary") ? "resumen" : "inconsistencias") +
                                 "?ips=" + kSampleIpsInUrl + "&entrega=000001/1&formato=texto";
        EXPECT_EQ(client.Get(path, ana.headers())->body,
                  command(inst_, std::string("report ") + kind + " --ips '" + kSampleIps +
                                     "' --delivery 000001/1"));
    }
}

TEST_F(WebOperations, TwoDesksValidateAtOnceAndKeepTheirResultsApart) {
    if (!Installation::on_server()) GTEST_SKIP() << "desks need the test server";
    const auto desk = inst_.dir / "caja2";
    command(inst_, "init '" + (desk / "db").string() + "' --results '" + desk.string() +
                       "' --server '" + inst_.server() + "' --desk caja2");
    ASSERT_EQ(usuarios(inst_, "add bea --desk caja2", "clave-de-bea"), 0);
    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client ana_client("127.0.0.1", service.port()),
        bea_client("127.0.0.1", service.port());
    Browser ana(ana_client, service.port()), bea(bea_client, service.port());
    ASSERT_EQ(ana.log_in("ana", "clave-de-ana")->status, 200);
    ASSERT_EQ(bea.log_in("bea", "clave-de-bea")->status, 200);
    std::map<Browser*, json> runs;
    for (Browser* b : {&ana, &bea})
        runs[b] = json::parse(b->upload(delivery_files(inst_.delivery))->body)["entrega"];
    std::thread ana_run([&] {
        runs[&ana] = ana.operate("/api/validacion", {{"entrega", runs[&ana]}});
    });
    runs[&bea] = bea.operate("/api/validacion", {{"entrega", runs[&bea]}});
    ana_run.join();

    EXPECT_EQ(runs[&ana]["exit_status"], 0) << runs[&ana].dump(1);
    EXPECT_EQ(comparable(runs[&ana]), comparable(runs[&bea]));
    // Each desk's outputs in its own folder: the error and accepted-lines files, and the workbook.
    const auto desks = inst_.results_root / "puestos";
    const auto ana_files = delivery_files(desks / "principal" / "Validacion");
    EXPECT_EQ(ana_files.size(), 21u);
    EXPECT_EQ(ana_files.front(), delivery_files(desks / "caja2" / "Validacion").front());
    EXPECT_TRUE(std::filesystem::exists(desks / "caja2" / "corvela.lock"));
    // Each account sees its desk's run only: one that saves leaves the other's unsaved.
    EXPECT_EQ(ana.operate("/api/guardado", json::object())["radicacion"], 1);
    EXPECT_EQ(bea.get("/api/corrida")["run_state"], "N");
    EXPECT_EQ(ana.get("/api/corrida")["run_state"], "S");
}

TEST_F(WebOperations, QuestionsLeftUnansweredTakeTheAnswerThatKeepsData) {
    command(inst_, "validate '" + inst_.delivery.string() + "'");
    const double rows = inst_.number("SELECT count(*) FROM consulta");
    ASSERT_GT(rows, 0);
    RunningService service(inst_, {"--question-wait", "1"});
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser ana(client, service.port());
    ASSERT_EQ(ana.log_in("ana", "clave-de-ana")->status, 200);
    const json delivery = json::parse(ana.upload(delivery_files(inst_.delivery))->body);

    // "Existe Información." takes Sí: the run ends and the unsaved run stays.
    const json run = ana.operate("/api/validacion", {{"entrega", delivery["entrega"]}});
    EXPECT_EQ(run["exit_status"], 1);
    const json asked = box(run, "Existe Información.");
    EXPECT_EQ(asked["answer"], "Sí") << run.dump(1);
    EXPECT_NE(asked.value("hint", "").find("sin respuesta"), std::string::npos);
    EXPECT_EQ(inst_.number("SELECT count(*) FROM consulta"), rows);
    EXPECT_EQ(ana.get("/api/corrida")["run_state"], "N");

    // "Limpiar DB" and the registry's deletion take No: nothing is emptied or deleted.
    ASSERT_EQ(ana.operate("/api/guardado", json::object())["exit_status"], 0);
    const double saved = inst_.number("SELECT count(*) FROM f_consulta");
    const json clean = ana.operate("/api/limpieza", json::object());
    EXPECT_EQ(clean["messages"].size(), 1u) << clean.dump(1);
    EXPECT_EQ(box(clean, "Borrando registros.")["answer"], "No");
    EXPECT_EQ(inst_.number("SELECT count(*) FROM f_consulta"), saved);
    const json removal = ana.operate("/api/eapb/eliminar", json::object());
    EXPECT_EQ(box(removal, "Borrar Registro")["answer"], "No");
    EXPECT_FALSE(box(removal, "Cancelada Acción de Borrar.").is_null()) << removal.dump(1);
}

// Every regular file under `root`, but the service's own output.
std::set<std::filesystem::path> files_under(const std::filesystem::path& root) {
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != "web.out")
            files.insert(entry.path());
    return files;
}

TEST_F(WebOperations, RefusedUploadsNameTheFileAndWriteNothing) {
    std::ofstream(inst_.config, std::ios::app) << "web_subida_mb=1\r\n";
    RunningService service(inst_);
    ASSERT_GT(service.port(), 0) << service.output();
    httplib::Client client("127.0.0.1", service.port());
    Browser ana(client, service.port());
    ASSERT_EQ(ana.log_in("ana", "clave-de-ana")->status, 200);
    const std::string control = read_file(inst_.delivery / "CT000001.txt");
    const std::string big(3 << 20, 'A');
    // Each case uploads one file, or the same file under two names.
    const struct {
        const char* what;
        std::string name, bytes;
        int status;
        const char* named;
        std::string again = "";
    } refused[] = {
        {"a name that climbs", "../CT000001.txt", control, 400, "«../CT000001.txt»"},
        {"an absolute name", "/tmp/CT000001.txt", control, 400, "«/tmp/CT000001.txt»"},
        {"a link in a ZIP", "e.zip",
         zip_bytes(inst_.dir / "l.zip", {{"US000001.txt", "/etc/passwd"}}, {"US000001.txt"}), 400,
         "«US000001.txt» del ZIP no se acepta: es un enlace"},
        {"a file past the limit", "US000001.txt", big.substr(0, 3 << 19), 413,
         "«US000001.txt» no se acepta: con él la entrega pasa del límite de 1 MB"},
        {"a file of no delivery's kind", "notas.docx", control, 400, "«notas.docx»"},
        {"a ZIP that expands past the limit", "e.zip",
         zip_bytes(inst_.dir / "b.zip", {{"AC000001.txt", big}}), 413,
         "«AC000001.txt» del ZIP no se acepta: al descomprimirla la entrega pasa del límite"},
        {"a name given twice", "CT000001.txt", control, 400,
         "«ct000001.TXT» no se acepta: está dos veces", "ct000001.TXT"},
    };
    const auto before = files_under(inst_.dir);
    for (const auto& r : refused) {
        Files files = {{r.name, r.bytes}};
        if (!r.again.empty()) files.push_back({r.again, r.bytes});
        const auto res = ana.upload(files);
        ASSERT_TRUE(res) << r.what;
        EXPECT_EQ(res->status, r.status) << r.what;
        EXPECT_NE(json::parse(res->body)["error"].get<std::string>().find(r.named),
                  std::string::npos)
            << r.what << ": " << res->body;
        EXPECT_EQ(files_under(inst_.dir), before) << r.what;
    }
    EXPECT_EQ(ana.get("/api/entregas"), json::array());
}

}  // namespace
}  // namespace corvela
