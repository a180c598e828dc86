// Fuzzes the validator of one file type (FUZZ_TYPE): the input is a whole data file. Besides
// the sanitizers, it checks that nothing passed is lost: every line counted as passed has its
// row in the working table (a repeated user only once) and its line in the accepted-lines file;
// and that the errors of each failing line account for its description: every text of it
// belongs to exactly one error, in order.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fuzz_installation.h"
#include "platform/line_reader.h"
#include "platform/record_split.h"
#include "rules/run_context.h"
#include "validators/dispatch.h"
#include "validators/frame.h"

using namespace corvela;

namespace {

struct User {
    std::string tipo, numero;
    UserData data;
};

// The users of the sample delivery, related by the records of the other types.
const std::vector<User>& sample_users() {
    static const std::vector<User> users = [] {
        std::vector<User> out;
        LineReader reader(std::filesystem::path(CORVELA_SAMPLE_DIR) / "US000001.txt");
        std::string line;
        while (reader.next(line)) {
            std::vector<std::string> f(1);
            split_record(line, [&](int, std::string_view v) { f.emplace_back(v); });
            if (f.size() < 12) continue;
            out.push_back({f[1], f[2], UserData{f[10], std::atof(f[9].c_str()), f[11]}});
        }
        return out;
    }();
    return users;
}

// Aborts on a failing record without errors, or whose errors' texts do not make up its
// description exactly.
struct ErrorsAccountForTheDescription : FailedLines {
    void file_started(const FileContext&, std::string_view, bool) override {}
    void structure_failed(const FileContext&, std::string_view, std::string_view) override {}
    void record_failed(const FileContext& fc, std::string_view) override {
        std::vector<LineError> errors = fc.errors;
        std::stable_sort(errors.begin(), errors.end(),
                         [](const LineError& a, const LineError& b) { return a.begin < b.begin; });
        size_t at = 0;
        for (const LineError& e : errors) {
            if (e.begin == e.end) continue;
            if (e.begin != at) std::abort();
            at = e.end;
        }
        if (errors.empty() || at != fc.description.size()) std::abort();
    }
};

size_t count_lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    size_t n = 0;
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzzing::FuzzInstallation inst;
    static std::unique_ptr<ReferenceCache> cache;
    const std::string code = FUZZ_TYPE "000001";
    auto validator = validator_for(FUZZ_TYPE);
    const auto path = inst.write(code + ".TXT", data, size);

    RunContext ctx(*inst.work, *inst.ref, inst.ui, inst.clock);
    ctx.results_folder = inst.results;
    ctx.data_file_name = code + ".TXT";
    ctx.ips_code = ctx.delivery.header.ips_code = fuzzing::kSite;
    ctx.delivery.header.remission = "000001";
    ctx.delivery.header.remission_date = "01/11/2026";
    ctx.delivery.records.assign(3, {});
    ctx.delivery.records[0] = ControlRecord::from_fields(
        {fuzzing::kSite, ctx.delivery.header.remission_date, code, "10"});
    ctx.reference = std::move(cache);
    ErrorsAccountForTheDescription errors_check;
    ctx.failed_lines = &errors_check;
    if (std::string(FUZZ_TYPE) != "US")
        for (const auto& u : sample_users()) ctx.users.add(u.tipo, u.numero, u.data);

    const FileCounts counts = validate_file(ctx, *validator, path);
    cache = std::move(ctx.reference);

    const std::string table = validator->file().table;
    const long long rows = inst.work->count("SELECT * FROM " + table);
    const size_t accepted =
        count_lines(inst.results + std::string(fuzzing::kSite) + "_" + code + ".TXT");
    // A user repeated in the file passes but is stored once.
    const bool rows_match =
        std::string(FUZZ_TYPE) == "US" ? rows <= counts.lines_passed : rows == counts.lines_passed;
    if (counts.lines_passed > counts.lines_read || !rows_match ||
        accepted != static_cast<size_t>(counts.lines_passed)) {
        std::fprintf(stderr, "read %ld, passed %ld, rows %lld, accepted lines %zu\n",
                     counts.lines_read, counts.lines_passed, rows, accepted);
        std::abort();
    }

    inst.work->exec("DELETE FROM " + table);
    inst.work->exec("DELETE FROM ERRORES");
    inst.clear_results();
    return 0;
}
