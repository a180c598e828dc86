#include "eapb/recordset.h"

#include "platform/failure.h"

namespace corvela {

namespace {

char fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string identifier(const std::string& name) {
    return "\"" + name + "\"";
}

// The cells of the current row after its rowid; a null column is a null cell. A cell's text ends
// at its first NUL character, as the registry has always read its tables.
std::vector<Recordset::Value> cells_of(const Statement& st) {
    std::vector<Recordset::Value> cells;
    for (int c = 1; c < st.column_count(); ++c)
        cells.push_back(st.is_null(c) ? Recordset::Value() : Recordset::Value(st.text(c).c_str()));
    return cells;
}

// On a server, a change to the registry holds the server-wide lock alone while it is made: the
// registry is shared by every desk. Nobody waits: a lock held elsewhere fails the change.
class RegistryChange {
  public:
    explicit RegistryChange(Database& db) : db_(db) {
        if (!db_.try_lock(Database::Lock::AllSharedRows))
            throw DatabaseFailure(0,
                                  "Base de datos ocupada: otro puesto cambia los datos "
                                  "compartidos del servidor. Vuelva a intentarlo.");
    }
    ~RegistryChange() {
        try {
            db_.unlock(Database::Lock::AllSharedRows);
        } catch (...) {
            // A lost connection has given its locks back with it.
        }
    }
    RegistryChange(const RegistryChange&) = delete;
    RegistryChange& operator=(const RegistryChange&) = delete;

  private:
    Database& db_;
};

}  // namespace

bool equals_ascii_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

Recordset::Recordset(Database& db, std::string table, const std::string& tail,
                     const std::vector<std::string>& params)
    : db_(db), table_(std::move(table)) {
    Statement st = db_.prepare("SELECT rowid, * FROM " + table_ + tail);
    for (size_t i = 0; i < params.size(); ++i) st.bind(static_cast<int>(i + 1), params[i]);
    for (int c = 1; c < st.column_count(); ++c) columns_.push_back(st.column_name(c));
    while (st.step()) {
        Row row;
        row.rowid = st.integer(0);
        row.cells = cells_of(st);
        rows_.push_back(std::move(row));
    }
}

size_t Recordset::column_index(std::string_view column) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (equals_ascii_nocase(columns_[i], column)) return i;
    // A table without the column fails as the runtime reports a missing field.
    throw NumberedFailure(3265, "No se encontró el elemento en esta colección.");
}

Recordset::Row Recordset::read_row(int64_t rowid) {
    Statement st = db_.prepare("SELECT rowid, * FROM " + table_ + " WHERE rowid = ?");
    st.bind(1, rowid);
    Row row;
    row.rowid = rowid;
    if (st.step()) row.cells = cells_of(st);
    row.cells.resize(columns_.size());
    return row;
}

void Recordset::move_first() {
    cancel_update();
    pos_ = 0;
}

void Recordset::move_last() {
    cancel_update();
    pos_ = rows_.empty() ? 0 : static_cast<long>(rows_.size()) - 1;
}

void Recordset::move_next() {
    cancel_update();
    if (pos_ < static_cast<long>(rows_.size())) ++pos_;
}

void Recordset::move_previous() {
    cancel_update();
    if (pos_ >= 0) --pos_;
}

void Recordset::set_position(long p) {
    cancel_update();
    pos_ = p;
}

bool Recordset::find_first(std::string_view column, std::string_view value) {
    cancel_update();
    size_t c = column_index(column);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Value& cell = rows_[i].cells[c];
        if (cell && equals_ascii_nocase(*cell, value)) {
            pos_ = static_cast<long>(i);
            return true;
        }
    }
    return false;
}

Recordset::Value Recordset::value(std::string_view column) const {
    size_t c = column_index(column);
    if (!has_current()) return {};
    return rows_[static_cast<size_t>(pos_)].cells[c];
}

void Recordset::add_new() {
    mode_ = Mode::Adding;
    pending_.assign(columns_.size(), std::nullopt);
}

void Recordset::edit() {
    if (!has_current()) return;
    mode_ = Mode::Editing;
    pending_.assign(columns_.size(), std::nullopt);
}

void Recordset::set(std::string_view column, Value v) {
    size_t c = column_index(column);
    if (mode_ != Mode::None) pending_[c] = std::move(v);
}

void Recordset::cancel_update() {
    mode_ = Mode::None;
    pending_.clear();
}

void Recordset::update() {
    if (mode_ == Mode::None) return;
    RegistryChange change(db_);
    std::vector<size_t> changed;
    for (size_t c = 0; c < pending_.size(); ++c)
        if (pending_[c]) changed.push_back(c);

    if (mode_ == Mode::Adding) {
        std::string names, marks;
        for (size_t c : changed) {
            names += (names.empty() ? "" : ", ") + identifier(columns_[c]);
            marks += marks.empty() ? "?" : ", ?";
        }
        std::string sql = changed.empty()
                              ? "INSERT INTO " + table_ + " DEFAULT VALUES"
                              : "INSERT INTO " + table_ + " (" + names + ") VALUES (" + marks + ")";
        Statement st = db_.prepare(sql);
        int i = 1;
        for (size_t c : changed) st.bind_or_null(i++, *pending_[c]);
        st.exec();
        rows_.push_back(read_row(db_.last_insert_id()));
        pos_ = static_cast<long>(rows_.size()) - 1;
    } else {
        Row& row = rows_[static_cast<size_t>(pos_)];
        if (!changed.empty()) {
            std::string sets;
            for (size_t c : changed)
                sets += (sets.empty() ? "" : ", ") + identifier(columns_[c]) + " = ?";
            Statement st = db_.prepare("UPDATE " + table_ + " SET " + sets + " WHERE rowid = ?");
            int i = 1;
            for (size_t c : changed) st.bind_or_null(i++, *pending_[c]);
            st.bind(i, row.rowid);
            st.exec();
            row = read_row(row.rowid);
        }
    }
    cancel_update();
}

void Recordset::remove() {
    cancel_update();
    if (!has_current()) return;
    RegistryChange change(db_);
    Statement st = db_.prepare("DELETE FROM " + table_ + " WHERE rowid = ?");
    st.bind(1, rows_[static_cast<size_t>(pos_)].rowid);
    st.exec();
    rows_.erase(rows_.begin() + pos_);
    if (pos_ >= static_cast<long>(rows_.size())) move_last();
}

}  // namespace corvela
