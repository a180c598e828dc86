// A row set over one table of the working database, as the registry window browses it: the rows
// read once into memory with their rowid, a current position with its beginning and end marks,
// find-first on one column, and one pending edit or new row that `update` writes back through
// bound statements. The rowid makes an update or a deletion reach exactly the row shown, even
// when several rows hold the same values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"

namespace corvela {

class Recordset {
  public:
    using Value = std::optional<std::string>;  // nullopt is a null cell

    // Reads "SELECT rowid, * FROM " + table + tail, binding `params` in order to the "?" of tail.
    Recordset(Database& db, std::string table, const std::string& tail = "",
              const std::vector<std::string>& params = {});

    size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    // Before the first row / after the last row; both hold on an empty set.
    bool bof() const { return rows_.empty() || pos_ < 0; }
    bool eof() const { return rows_.empty() || pos_ >= static_cast<long>(rows_.size()); }
    bool has_current() const { return !bof() && !eof(); }

    // Moving drops a pending edit or new row, as leaving a record does.
    void move_first();
    void move_last();
    void move_next();
    void move_previous();
    // Makes current the first row whose `column` equals `value` the way the tables compare text
    // (ASCII letters without regard to case, a null cell never equal). When none does, the
    // current row stays where it was and false is returned.
    bool find_first(std::string_view column, std::string_view value);

    // The current row's cell; nullopt when null or when there is no current row.
    Value value(std::string_view column) const;
    // The same with null as the empty text.
    std::string text(std::string_view column) const { return value(column).value_or(""); }

    // A new row, not yet stored; the current row stays current meanwhile.
    void add_new();
    // Starts changing the current row (nothing happens without one).
    void edit();
    bool adding() const { return mode_ == Mode::Adding; }
    bool editing() const { return mode_ == Mode::Editing; }
    // Sets a cell of the pending row; ignored when neither adding nor editing.
    void set(std::string_view column, Value v);
    // Writes the pending row and makes it current (the last modified row).
    void update();
    void cancel_update();
    // Deletes the current row; the next row becomes current, the last one when there is no next.
    void remove();

    // The position, to put a row back as current after a search that found nothing.
    long position() const { return pos_; }
    void set_position(long p);

  private:
    struct Row {
        int64_t rowid = 0;
        std::vector<Value> cells;
    };
    enum class Mode { None, Editing, Adding };

    size_t column_index(std::string_view column) const;
    Row read_row(int64_t rowid);

    Database& db_;
    std::string table_;
    std::vector<std::string> columns_;
    std::vector<Row> rows_;
    long pos_ = 0;
    Mode mode_ = Mode::None;
    std::vector<std::optional<Value>> pending_;  // per column: unset, or the value to write
};

// Text equality as a NOCASE column compares: ASCII letters folded, every other byte exact.
bool equals_ascii_nocase(std::string_view a, std::string_view b);

}  // namespace corvela
