#include "app/reference_data.h"

#include <fmt/format.h>

#include <cmath>

#include "db/reference_log.h"
#include "db/reference_store.h"
#include "db/sispro_rows.h"
#include "platform/sha256.h"
#include "platform/text.h"
#include "rules/field_definitions.h"

namespace corvela {

namespace {
Database& store_of(const ReferenceTable& table, Database& ref, Database& work) {
    return table.store == Store::Working ? work : ref;
}

std::string time_text(const Clock& clock) {
    const long s = std::lround(std::floor(clock.seconds_since_midnight()));
    return fmt::format("{} {:02}:{:02}:{:02}", iso_date(clock.today()), s / 3600 % 24, s / 60 % 60,
                       s % 60);
}

// The rows of a file for a table and what to say once they are loaded.
struct FileRows {
    std::vector<CsvRow> rows;
    std::string summary;
};

FileRows rows_of(const ReferenceTable& table, const ImportRequest& request,
                 const std::string& bytes) {
    const std::string name = request.file.filename().string();
    const CsvContent csv = parse_csv(bytes, name);
    if (!request.sispro) {
        auto rows = reference_rows(table, csv, request.mapping);
        std::string summary =
            fmt::format("Tabla {} reemplazada: {} filas de {}.", table.name, rows.size(), name);
        return {std::move(rows), summary};
    }
    SisproCounts n;
    auto rows = sispro_rows(table, csv, n);
    return {std::move(rows),
            fmt::format("Tabla {} reemplazada con la exportación de SISPRO {}: {} filas cargadas, "
                        "{} deshabilitadas no cargadas, {} códigos completados con un cero, {} "
                        "descartados por estar ya en el archivo.",
                        table.name, name, n.loaded, n.disabled, n.padded, n.dropped)};
}

// Why a request cannot be carried out whatever its file holds; empty when it can.
std::string request_fault(const ReferenceTable* table, const ImportRequest& request) {
    if (!table)
        return fmt::format("No existe la tabla de referencia {}. Las tablas son: {}.",
                           request.table, reference_table_names());
    if (request.sispro && !has_sispro_export(*table))
        return fmt::format("--sispro lee las exportaciones de SISPRO de r_cie10 y cups, no de {}.",
                           table->name);
    if (request.sispro && !request.mapping.empty())
        return "--column no se usa con --sispro: las columnas de la exportación son fijas.";
    return {};
}

// Why a file would empty a catalogue, or shrink it to less than half without being asked to;
// empty when it may replace it.
std::string shrink_fault(const ReferenceTable& table, Database& db, const ImportRequest& request,
                         size_t rows) {
    if (std::string_view(table.name) == "R_Campos") return {};
    const long long held = db.count(std::string("SELECT * FROM ") + table.name);
    const std::string file = request.file.filename().string();
    if (rows == 0)
        return fmt::format(
            "{} no trae filas: la tabla {} ({} filas) no se reemplaza por una vacía.", file,
            table.name, held);
    if (request.shrink || static_cast<long long>(rows) * 2 >= held) return {};
    return fmt::format(
        "La tabla {} tiene {} filas y {} trae {}, menos de la mitad: revise el archivo, o repita "
        "la orden con --yes para reemplazarla.",
        table.name, held, file, rows);
}
}  // namespace

void load_reference_rows(Database& ref, Database& work, const std::filesystem::path& folder,
                         const Clock& clock) {
    Transaction ref_tx(ref);
    Transaction work_tx(work);
    const std::string time = time_text(clock);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".csv") continue;
        const std::string name = entry.path().filename().string();
        const ReferenceTable* table = find_reference_table(entry.path().stem().string());
        if (!table)
            throw CsvError(fmt::format("{}: no existe la tabla de referencia {}", name,
                                       entry.path().stem().string()));
        const std::string bytes = read_file_bytes(entry.path());
        const auto rows = reference_rows(*table, parse_csv(bytes, name));
        const std::string digest = sha256_hex(bytes);
        std::vector<const ReferenceTable*> targets = {table};
        // The EAPB registry lists municipalities from the working database.
        if (table == find_reference_table("r_municipios"))
            targets.push_back(find_reference_table("municipios"));
        for (const ReferenceTable* t : targets) {
            write_reference_rows(store_of(*t, ref, work), *t, rows, false);
            record_load(ref,
                        {t->name, name, digest, time, static_cast<long long>(rows.size()), "init"});
        }
    }
    ref_tx.commit();
    work_tx.commit();
}

Result<std::string> import_reference(Database& ref, Database& work, const ImportRequest& request,
                                     const Clock& clock) {
    const ReferenceTable* table = find_reference_table(request.table);
    if (std::string why = request_fault(table, request); !why.empty())
        return Result<std::string>::failed(why);
    std::string bytes;
    FileRows loaded;
    try {
        bytes = read_file_bytes(request.file);
        loaded = rows_of(*table, request, bytes);
    } catch (const CsvError& e) {
        return Result<std::string>::failed(e.what());
    }
    Database& db = store_of(*table, ref, work);
    if (std::string why = shrink_fault(*table, db, request, loaded.rows.size()); !why.empty())
        return Result<std::string>::failed(why);
    const LoadRecord record{table->name,
                            request.file.filename().string(),
                            sha256_hex(bytes),
                            time_text(clock),
                            static_cast<long long>(loaded.rows.size()),
                            request.sispro ? "sispro" : "import"};
    // The rows and their record go in together; a working-database list is committed first, so
    // a record never names a load that did not happen.
    Transaction tx(db);
    write_reference_rows(db, *table, loaded.rows, true);
    // Field definitions that disagree with the stored columns are taken back at once.
    if (table == find_reference_table("R_Campos"))
        if (std::string why = field_count_fault(ref); !why.empty())
            return Result<std::string>::failed(why);
    if (&db == &ref) {
        record_load(ref, record);
        tx.commit();
    } else {
        tx.commit();
        Transaction log_tx(ref);
        record_load(ref, record);
        log_tx.commit();
    }
    return Result<std::string>::done(loaded.summary);
}

std::string reference_status(Database& ref, Database& work) {
    std::vector<std::vector<std::string>> lines;
    for (const auto& table : reference_tables()) {
        const long long rows =
            store_of(table, ref, work).count(std::string("SELECT * FROM ") + table.name);
        std::vector<std::string> cells = {table.name, std::to_string(rows)};
        if (auto last = last_load(ref, table.name)) {
            cells.insert(cells.end(), {last->source, last->file, last->sha256.substr(0, 12),
                                       last->time.substr(0, 16)});
        } else {
            cells.push_back("sin registro");
        }
        lines.push_back(std::move(cells));
    }
    std::vector<size_t> widths;
    for (const auto& cells : lines)
        for (size_t c = 0; c < cells.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], char_length(cells[c]));
        }
    std::string out;
    for (const auto& cells : lines) {
        std::string line;
        for (size_t c = 0; c < cells.size(); ++c) {
            const size_t pad = widths[c] - char_length(cells[c]);
            // The row count is aligned on the right, the other columns on the left.
            line += (c ? "  " : "") +
                    (c == 1 ? std::string(pad, ' ') + cells[c] : cells[c] + std::string(pad, ' '));
        }
        out += std::string(rtrim(line)) + "\n";
    }
    return out;
}

}  // namespace corvela
