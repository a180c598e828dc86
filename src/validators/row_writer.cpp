#include "validators/row_writer.h"

namespace corvela {

namespace {
std::string insert_sql(const std::string& table, const std::vector<std::string>& columns) {
    std::string cols, marks;
    for (size_t i = 0; i < columns.size(); ++i) {
        cols += (i ? ", " : "") + columns[i];
        marks += i ? ", ?" : "?";
    }
    return "INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")";
}
}  // namespace

RowWriter::RowWriter(Database& db, const std::string& table,
                     const std::vector<std::string>& columns)
    : statement_(db.db(), insert_sql(table, columns)), values_(columns.size() + 1) {}

void RowWriter::text(int i, std::string_view value) {
    // Bound as text (the pointer-and-size overload would bind a blob), without a copy by SQLite:
    // the text stays in values_ until the row is inserted.
    std::string& kept = values_.at(static_cast<size_t>(i));
    kept.assign(value);
    statement_.bindNoCopy(i, kept);
}

void RowWriter::null(int i) {
    statement_.bind(i);
}

void RowWriter::insert(const Row& row) {
    int i = 1;
    for (const Value& value : row) {
        switch (value.kind) {
            case Value::Kind::Text:
                // Bound as text without a copy: the row outlives the statement's execution.
                statement_.bindNoCopy(i, value.text);
                break;
            case Value::Kind::Number:
                statement_.bind(i, value.number);
                break;
            case Value::Kind::Null:
                statement_.bind(i);
                break;
        }
        ++i;
    }
    insert();
}

void RowWriter::insert() {
    statement_.exec();
    statement_.reset();
    statement_.clearBindings();
}

}  // namespace corvela
