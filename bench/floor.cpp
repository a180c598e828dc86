// The floor of a validation run: only the work no validation can avoid, on the same delivery.
// For every data file the control file names, it reads each line (same decoding), splits it on
// commas (same split), stores the fields in a table shaped like the type's working table (same
// database settings, same prepared statement bound as text, one transaction per file) and writes
// the line to an output file. No field is checked, so the time of a `corvela validate` run over
// the time of this program is what the checks cost.
//
//   floor DELIVERY_DIR WORK_DIR
//   WORK_DIR receives floor.db (made anew) and one output file per data file.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "db/bulk_insert.h"
#include "db/database.h"
#include "db/schema.h"
#include "platform/file_list.h"
#include "platform/line_reader.h"
#include "platform/output_file.h"
#include "platform/record_split.h"
#include "platform/text.h"

namespace fs = std::filesystem;
using namespace corvela;

namespace {

// The working table of a file type; null for a type with none.
const char* table_of(std::string_view type) {
    for (const auto& t : file_types())
        if (equals_nocase(t.type, type)) return t.table;
    return nullptr;
}

// The file codes the control file names (third field of each record).
std::vector<std::string> control_codes(const fs::path& control) {
    std::vector<std::string> codes;
    LineReader reader(control);
    std::string line;
    while (reader.next(line)) {
        std::string code;
        split_record(line, [&code](int n, std::string_view value) {
            if (n == 3) code.assign(value);
        });
        if (!code.empty()) codes.push_back(code);
    }
    return codes;
}

// The name of a file in the folder that matches `wanted` without regard to case; empty if none.
std::string find_file(const FileList& list, const std::string& wanted) {
    for (const auto& name : list.names)
        if (equals_nocase(name, wanted)) return name;
    return {};
}

// Stores and copies every line of one data file; returns the number of lines.
long load_file(Database& db, const char* table, const fs::path& in, const fs::path& out) {
    std::vector<std::string> columns = working_columns(table);
    const int width = static_cast<int>(columns.size());
    BulkInsert insert(db, table, columns);
    Row row(static_cast<size_t>(width));
    Transaction tx(db);
    LineReader reader(in);
    OutputFile copy(out, reader.encoding());
    std::string line;
    long lines = 0;
    while (reader.next(line)) {
        ++lines;
        int fields = split_record(line, [&row, width](int n, std::string_view value) {
            if (n <= width) row[static_cast<size_t>(n - 1)].set_text(value);
        });
        for (int i = fields + 1; i <= width; ++i) row[static_cast<size_t>(i - 1)].set_null();
        insert.insert(row);
        copy.write_line(line);
    }
    copy.close();
    tx.commit();
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s CARPETA_ENTREGA CARPETA_TRABAJO\n", argv[0]);
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        fs::path delivery = argv[1], work = argv[2];
        fs::create_directories(work);
        fs::path db_path = work / "floor.db";
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(db_path.string() + suffix);
        auto db = Database::create(db_path.string());
        create_working_schema(*db);

        FileList list = list_text_files(delivery);
        std::string control = find_file(list, "CT000001.txt");
        if (control.empty()) {
            std::fprintf(stderr, "no se encontró CT000001.txt en %s\n", delivery.c_str());
            return 1;
        }
        long total = 0;
        for (const auto& code : control_codes(delivery / control)) {
            const char* table = table_of(left_chars(code, 2));
            std::string name = find_file(list, code + ".txt");
            if (!table || name.empty()) {
                std::fprintf(stderr, "omitido: %s\n", code.c_str());
                continue;
            }
            total += load_file(*db, table, delivery / name, work / name);
        }
        double secs =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("lines: %ld  seconds: %.2f\n", total, secs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
