#include "db/reference_store.h"

#include "db/bulk_insert.h"

namespace corvela {

namespace {
// Adds a batch of rows; the failure of one ends the load.
void add_rows(BulkInsert& insert, std::vector<Row>& batch) {
    BulkInsert::Outcome outcome = insert.insert(batch);
    if (outcome.failure) std::rethrow_exception(outcome.failure);
    batch.clear();
}
}  // namespace

void write_reference_rows(Database& db, const ReferenceTable& table,
                          const std::vector<CsvRow>& rows, bool replace) {
    if (replace) db.exec("DELETE FROM " + std::string(table.name));
    std::vector<std::string> columns;
    for (const auto& c : table.columns) columns.emplace_back(c.name);
    BulkInsert insert(db, table.name, columns);
    // Batches, so that a server takes many rows at a time.
    constexpr size_t kBatch = 1024;
    std::vector<Row> batch;
    batch.reserve(kBatch);
    for (const auto& csv : rows) {
        Row& row = batch.emplace_back(csv.values.size());
        for (size_t i = 0; i < csv.values.size(); ++i)
            if (!csv.values[i].empty()) row[i].set_text(csv.values[i]);
        if (batch.size() == kBatch) add_rows(insert, batch);
    }
    if (!batch.empty()) add_rows(insert, batch);
}

}  // namespace corvela
