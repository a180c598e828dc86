#include "db/server_database.h"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "db/bulk_insert.h"

namespace corvela {

namespace {
// Type numbers of the server's built-in types, as its catalogue gives them.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26;
constexpr Oid kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

// The number shown for a server failure: its SQLSTATE when that is all digits (23505, a
// duplicate key), otherwise 0.
int sqlstate_number(const char* state) {
    if (!state || !*state) return 0;
    int n = 0;
    for (const char* c = state; *c; ++c) {
        if (*c < '0' || *c > '9') return 0;
        n = n * 10 + (*c - '0');
    }
    return n;
}

// The client library's text of a connection's failure, without its line end.
std::string client_text(PGconn* conn) {
    std::string text = PQerrorMessage(conn);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

DatabaseFailure result_failure(const PGresult* res, PGconn* conn) {
    const char* primary = res ? PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
    std::string text = primary ? primary : PQerrorMessage(conn);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return DatabaseFailure(sqlstate_number(state), text);
}

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// Runs a result's check: a failure of the command is thrown.
Result checked(PGconn* conn, PGresult* raw) {
    Result res(raw);
    ExecStatusType st = res ? PQresultStatus(res.get()) : PGRES_FATAL_ERROR;
    // An empty text (definitions the server has no use for) runs as nothing.
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK && st != PGRES_COPY_IN &&
        st != PGRES_EMPTY_QUERY) {
        // A lock not had within its bound (55P03) means that another desk holds it.
        const char* state = res ? PQresultErrorField(res.get(), PG_DIAG_SQLSTATE) : nullptr;
        if (state && std::string_view(state) == "55P03")
            throw BusyFailure(0, result_failure(res.get(), conn).what());
        throw result_failure(res.get(), conn);
    }
    return res;
}

// The statement with each `?` outside quotes turned into the server's $1, $2 … and the number
// of them.
std::pair<std::string, int> numbered_parameters(const std::string& sql) {
    std::string out;
    out.reserve(sql.size() + 16);
    int n = 0;
    char quote = 0;
    for (char c : sql) {
        if (quote) {
            if (c == quote) quote = 0;
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '?') {
            out += '$' + std::to_string(++n);
        } else {
            out += c;
        }
    }
    return {out, n};
}

class ServerStatement : public Statement::Engine {
  public:
    // A statement that locks rows waits for them at most `lock_wait` seconds (0: no bound).
    ServerStatement(PGconn* conn, const std::string& sql, int lock_wait = 0)
        : conn_(conn), lock_wait_(lock_wait) {
        auto [text, params] = numbered_parameters(sql);
        sql_ = std::move(text);
        owned_.resize(static_cast<size_t>(params));
        values_.assign(static_cast<size_t>(params), nullptr);
    }

    // Values go to the server as C texts: one holding NUL is refused rather than sent cut.
    void bind_text(int index, const std::string& text) override {
        refuse_nul(text);
        std::string& kept = slot(index);
        kept = text;
        values_[static_cast<size_t>(index - 1)] = kept.c_str();
    }
    void bind_kept_text(int index, const std::string& text) override {
        refuse_nul(text);
        slot(index);
        values_[static_cast<size_t>(index - 1)] = text.c_str();
    }
    void bind_integer(int index, std::int64_t value) override {
        bind_text(index, std::to_string(value));
    }
    void bind_real(int index, double value) override {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.17g", value);
        bind_text(index, buf);
    }
    void bind_null(int index) override {
        slot(index);
        values_[static_cast<size_t>(index - 1)] = nullptr;
    }

    bool step() override {
        if (!result_) {
            if (lock_wait_) bound_lock_wait(std::to_string(lock_wait_) + "s");
            result_ =
                checked(conn_, PQexecParams(conn_, sql_.c_str(), static_cast<int>(values_.size()),
                                            nullptr, values_.data(), nullptr, nullptr, 0));
            if (lock_wait_) bound_lock_wait("0");
            row_ = -1;
        }
        return ++row_ < PQntuples(result_.get());
    }
    void execute() override {
        reset();
        step();
        reset();
    }
    void reset() override { result_.reset(); }
    void clear_bindings() override {
        for (auto& v : values_) v = nullptr;
    }

    int column_count() const override {
        if (!result_) described();
        return PQnfields(shape().get());
    }
    std::string column_name(int column) const override {
        if (!result_) described();
        return PQfname(shape().get(), column);
    }
    StoredType column_type(int column) const override {
        if (PQgetisnull(result_.get(), row_, column)) return StoredType::Null;
        switch (PQftype(result_.get(), column)) {
            case kBool:
            case kInt8:
            case kInt2:
            case kInt4:
            case kOid:
                return StoredType::Integer;
            case kFloat4:
            case kFloat8:
            case kNumeric:
                // A whole number reads as an integer, as the embedded engine keeps one in a
                // numeric column.
                return std::strpbrk(PQgetvalue(result_.get(), row_, column), ".eEnN")
                           ? StoredType::Real
                           : StoredType::Integer;
            default:
                return StoredType::Text;
        }
    }
    std::string text(int column) const override {
        return PQgetisnull(result_.get(), row_, column) ? std::string()
                                                        : PQgetvalue(result_.get(), row_, column);
    }
    std::int64_t integer(int column) const override {
        if (column_type(column) != StoredType::Integer)
            return static_cast<std::int64_t>(real(column));
        const char* v = PQgetvalue(result_.get(), row_, column);
        return v[0] == 't' && v[1] == 0 ? 1 : std::strtoll(v, nullptr, 10);
    }
    double real(int column) const override {
        if (PQgetisnull(result_.get(), row_, column)) return 0;
        const char* v = PQgetvalue(result_.get(), row_, column);
        if (v[0] == 't' && v[1] == 0) return 1;
        return std::strtod(v, nullptr);
    }
    DatabaseFailure failure(Fault fault, const std::string& text) const override {
        // The server's own numbers for an unknown column and for no data.
        return DatabaseFailure(fault == Fault::NoSuchColumn ? 42703 : 2000, text);
    }

  private:
    // The bound of the waits for locks, until the transaction ends.
    void bound_lock_wait(const std::string& bound) {
        const char* value = bound.c_str();
        checked(conn_, PQexecParams(conn_, "SELECT set_config('lock_timeout', $1, true)", 1,
                                    nullptr, &value, nullptr, nullptr, 0));
    }
    static void refuse_nul(const std::string& text) {
        if (text.find('\0') != std::string::npos) throw nul_failure("un valor");
    }
    std::string& slot(int index) {
        if (index < 1 || static_cast<size_t>(index) > owned_.size())
            throw DatabaseFailure(0, "bind index out of range");
        return owned_[static_cast<size_t>(index - 1)];
    }
    // The result whose columns are described: the current one, or one described before the
    // first step.
    const Result& shape() const { return result_ ? result_ : description_; }
    void described() const {
        if (description_) return;
        Result prepared = checked(conn_, PQprepare(conn_, "", sql_.c_str(), 0, nullptr));
        description_ = checked(conn_, PQdescribePrepared(conn_, ""));
    }

    PGconn* conn_;
    int lock_wait_;
    std::string sql_;
    std::vector<std::string> owned_;
    std::vector<const char*> values_;
    Result result_;
    mutable Result description_;
    int row_ = -1;
};

// Runs a command that returns nothing; its failure is thrown.
void run(PGconn* conn, const char* sql) {
    checked(conn, PQexec(conn, sql));
}

// A value as the copy protocol's text form writes it: null as \N; in a text, the backslash, tab,
// line feed and carriage return escaped.
void append_copy_value(std::string& out, const Value& value) {
    switch (value.kind) {
        case Value::Kind::Null:
            out += "\\N";
            return;
        case Value::Kind::Number: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.17g", value.number);
            out += buf;
            return;
        }
        case Value::Kind::Text:
            for (char c : value.text) {
                switch (c) {
                    case '\\':
                        out += "\\\\";
                        break;
                    case '\t':
                        out += "\\t";
                        break;
                    case '\n':
                        out += "\\n";
                        break;
                    case '\r':
                        out += "\\r";
                        break;
                    default:
                        out += c;
                }
            }
            return;
    }
}

// Adds rows with the server's copy protocol inside a savepoint. A batch the server refuses is
// taken back and added again row by row, each row in a savepoint of its own: the rows before the
// failing one stay, and the transaction stays usable, as on the embedded engine.
class CopyInserter : public RowInserter {
  public:
    CopyInserter(Database& db, PGconn* conn, std::string_view table,
                 const std::vector<std::string>& columns)
        : conn_(conn),
          copy_sql_(fmt::format("COPY {} ({}) FROM STDIN", table, fmt::join(columns, ", "))),
          one_row_(db, table, columns) {}

    Outcome insert(std::span<const Row> rows) override {
        std::optional<DatabaseFailure> refused;
        try {
            run(conn_, "SAVEPOINT corvela_lote");
            refused = copy(rows);
            if (!refused) {
                run(conn_, "RELEASE SAVEPOINT corvela_lote");
                return {rows.size(), nullptr};
            }
            run(conn_, "ROLLBACK TO SAVEPOINT corvela_lote");
            Outcome outcome = one_by_one(rows);
            run(conn_, "RELEASE SAVEPOINT corvela_lote");
            return outcome;
        } catch (...) {
            // The connection itself failed (a server that stopped): nothing of the batch stays,
            // and the server's own word on the batch, when it gave one, is the failure shown.
            if (refused) return {0, std::make_exception_ptr(*refused)};
            return {0, std::current_exception()};
        }
    }

  private:
    // Empty when the server took every row; else its failure.
    std::optional<DatabaseFailure> copy(std::span<const Row> rows) {
        Result start(PQexec(conn_, copy_sql_.c_str()));
        if (PQresultStatus(start.get()) != PGRES_COPY_IN) throw result_failure(start.get(), conn_);
        buffer_.clear();
        for (const Row& row : rows) {
            for (size_t i = 0; i < row.size(); ++i) {
                if (i) buffer_ += '\t';
                append_copy_value(buffer_, row[i]);
            }
            buffer_ += '\n';
        }
        bool sent = PQputCopyData(conn_, buffer_.data(), static_cast<int>(buffer_.size())) == 1 &&
                    PQputCopyEnd(conn_, nullptr) == 1;
        std::optional<DatabaseFailure> refused;
        while (PGresult* raw = PQgetResult(conn_)) {
            Result res(raw);
            if (PQresultStatus(res.get()) != PGRES_COMMAND_OK && !refused)
                refused = result_failure(res.get(), conn_);
        }
        if (!sent) throw DatabaseFailure(0, PQerrorMessage(conn_));
        return refused;
    }

    Outcome one_by_one(std::span<const Row> rows) {
        Outcome outcome;
        for (const Row& row : rows) {
            run(conn_, "SAVEPOINT corvela_fila");
            outcome.failure = one_row_.insert(std::span(&row, 1)).failure;
            if (outcome.failure) {
                run(conn_, "ROLLBACK TO SAVEPOINT corvela_fila");
                return outcome;
            }
            run(conn_, "RELEASE SAVEPOINT corvela_fila");
            ++outcome.added;
        }
        return outcome;
    }

    PGconn* conn_;
    std::string copy_sql_;
    std::string buffer_;
    StatementInserter one_row_;
};

// The server's keepalives of a session: a workstation that vanished from the network (its
// connection silent) is found after 60 s and 6 unanswered probes 10 s apart, two minutes in all,
// and its transaction ended.
constexpr int kKeepaliveIdle = 60, kKeepaliveInterval = 10, kKeepaliveCount = 6;

// The number of a schema in the server's catalogue, 0 when there is none.
std::int64_t schema_number(Database& db, const std::string& schema) {
    Statement st = db.prepare("SELECT oid FROM pg_catalog.pg_namespace WHERE nspname = ?");
    st.bind(1, schema);
    return st.step() ? st.integer(0) : 0;
}

// How deep the transactions of one connection are nested: the outermost is the server's
// transaction, each one inside it a savepoint, so that code which makes its own transaction (the
// loading of reference rows) can run inside a caller's (the whole of `init`).
struct Nesting {
    int open = 0;
};

class ServerTransaction : public Transaction::Engine {
  public:
    ServerTransaction(PGconn* conn, Nesting& nesting)
        : conn_(conn), nesting_(nesting), level_(nesting.open) {
        checked(conn_, PQexec(conn_, level_ == 0 ? "BEGIN" : ("SAVEPOINT " + name()).c_str()));
        nesting_.open = level_ + 1;
    }
    ~ServerTransaction() override {
        // A savepoint released with an outer one, or a transaction ended, has nothing to undo.
        if (done_ || nesting_.open <= level_) return;
        nesting_.open = level_;
        if (level_ == 0) {
            PQclear(PQexec(conn_, "ROLLBACK"));
            return;
        }
        PQclear(PQexec(conn_, ("ROLLBACK TO SAVEPOINT " + name()).c_str()));
        PQclear(PQexec(conn_, ("RELEASE SAVEPOINT " + name()).c_str()));
    }
    void commit() override {
        if (done_) throw DatabaseFailure(25000, "la transacción ya terminó");
        done_ = true;
        if (nesting_.open <= level_) return;  // released with an outer savepoint
        nesting_.open = level_;
        if (level_ > 0) {
            checked(conn_, PQexec(conn_, ("RELEASE SAVEPOINT " + name()).c_str()));
            return;
        }
        Result res(PQexec(conn_, "COMMIT"));
        // A transaction that failed earlier ends in a rollback that COMMIT reports as done.
        if (PQresultStatus(res.get()) != PGRES_COMMAND_OK) throw result_failure(res.get(), conn_);
        const char* tag = PQcmdStatus(res.get());
        if (tag && std::string_view(tag) == "ROLLBACK")
            throw DatabaseFailure(25000, "la transacción fue anulada por un fallo anterior");
    }

  private:
    std::string name() const { return "corvela_nivel_" + std::to_string(level_); }

    PGconn* conn_;
    Nesting& nesting_;
    int level_;
    bool done_ = false;
};

// The advisory lock keys of Corvela's locks, 64-bit: Corvela's own space in the high half, the
// server-wide lock at 0 in it, and each desk at the number of its schema in the server's catalogue
// (never 0, and never the same for two schemas).
constexpr std::int64_t kLockSpace = std::int64_t{0x436F7276} << 32;  // "Corv"
constexpr std::int64_t kServerLockKey = kLockSpace;

class ServerDatabase : public Database {
  public:
    ServerDatabase(PGconn* conn, std::string conninfo, ServerSchema schema, std::string desk,
                   ServerWaits waits)
        : conn_(conn),
          conninfo_(std::move(conninfo)),
          schema_(schema),
          desk_(std::move(desk)),
          waits_(waits) {}
    ~ServerDatabase() override { PQfinish(conn_); }

    void exec(const std::string& sql) override { checked(conn_, PQexec(conn_, sql.c_str())); }
    Statement prepare(const std::string& sql) override {
        return Statement(std::make_unique<ServerStatement>(conn_, sql));
    }
    Statement prepare_for_update(const std::string& select) override {
        return Statement(
            std::make_unique<ServerStatement>(conn_, select + " FOR UPDATE", waits_.number_row));
    }
    std::unique_ptr<Transaction::Engine> begin() override {
        return std::make_unique<ServerTransaction>(conn_, nesting_);
    }
    std::int64_t last_insert_id() const override {
        Result res = checked(conn_, PQexec(conn_, "SELECT lastval()"));
        return std::strtoll(PQgetvalue(res.get(), 0, 0), nullptr, 10);
    }
    std::unique_ptr<RowInserter> inserter(std::string_view table,
                                          const std::vector<std::string>& columns) override {
        return std::make_unique<CopyInserter>(*this, conn_, table, columns);
    }
    bool on_server() const override { return true; }
    bool in_transaction() const override { return PQtransactionStatus(conn_) == PQTRANS_INTRANS; }
    DatabaseFailure disk_full() const override {
        // The server's SQLSTATE 53100 (disk_full), in its words.
        return DatabaseFailure(53100, "could not extend file: No space left on device");
    }
    bool stores_nul() const override { return false; }
    bool reopen_if_lost() override {
        if (PQstatus(conn_) == CONNECTION_OK) {
            // An empty statement finds out whether the server still has this connection.
            PQclear(PQexec(conn_, ""));
            if (PQstatus(conn_) == CONNECTION_OK) return false;
        }
        PQreset(conn_);
        if (PQstatus(conn_) != CONNECTION_OK) throw DatabaseFailure(0, client_text(conn_));
        nesting_.open = 0;
        start_session();
        return true;
    }
    std::string saved_errors_table() const override {
        // Before desks (or before this desk was made) the one error table holds every row.
        return desk_key_ ? "corvela.ERRORES" : "ERRORES";
    }
    bool try_lock(Lock lock) override { return run_lock_function(lock, "pg_try_advisory_lock"); }
    void unlock(Lock lock) override { run_lock_function(lock, "pg_advisory_unlock"); }
    // Case-blind texts as citext (ASCII letters compared without regard to case, other bytes as
    // they are, in a database whose character type is C); numbers as double precision.
    std::string type_name(ColumnType type) const override {
        switch (type) {
            case ColumnType::Text:
                return "citext";
            case ColumnType::Number:
                return "double precision";
            case ColumnType::Date:
            case ColumnType::ExactText:
                return "TEXT";
            case ColumnType::Integer:
                return "bigint";
            case ColumnType::RowNumber:
                return "integer";
        }
        return "TEXT";
    }
    // The schema's version is not kept on the server.
    void set_schema_version(int) override {}
    bool has_table(const std::string& name) override {
        Statement st = prepare(
            "SELECT 1 FROM pg_catalog.pg_tables WHERE lower(tablename) = lower(?) AND "
            "schemaname = current_schema()");
        st.bind(1, name);
        return st.step();
    }

    // The connection's settings: messages in the server's own words, dates and numbers as the
    // embedded engine writes them, the search path of its schema, and the bounds that end a
    // transaction whose desk stopped answering (idle, or gone from the network). A desk's tables
    // come first in its search path; a desk not made yet is skipped by the server, so a server
    // made before desks keeps working as the desk `principal`.
    void start_session() {
        exec("SET client_encoding = 'UTF8'; SET extra_float_digits = 1");
        use_schema(schema_);
        Statement bounds = prepare(
            "SELECT set_config('idle_in_transaction_session_timeout', ?, false), "
            "set_config('tcp_keepalives_idle', ?, false), "
            "set_config('tcp_keepalives_interval', ?, false), "
            "set_config('tcp_keepalives_count', ?, false)");
        bounds.bind(1, std::to_string(waits_.idle_in_transaction) + "s");
        bounds.bind(2, std::to_string(kKeepaliveIdle));
        bounds.bind(3, std::to_string(kKeepaliveInterval));
        bounds.bind(4, std::to_string(kKeepaliveCount));
        bounds.step();
        desk_key_ = schema_ == ServerSchema::Working ? schema_number(*this, desk_schema(desk_)) : 0;
    }
    void use_schema(ServerSchema schema) {
        Statement path = prepare("SELECT set_config('search_path', ?, false)");
        path.bind(1, schema == ServerSchema::Reference ? "referencia, corvela, public"
                                                       : desk_schema(desk_) + ", corvela, public");
        path.step();
    }

  protected:
    // Every table gets a last column `rowid`, numbered as rows are added, where the embedded
    // engine has its hidden row number.
    std::string row_number_column() const override {
        return "rowid bigint GENERATED BY DEFAULT AS IDENTITY";
    }

  private:
    // Calls the server's advisory lock function `name` (its shared form for a save's hold) on
    // the lock's key: the desk's own, or the server-wide one. A server made before desks has
    // its desk `principal` keyed by the shared schema.
    bool run_lock_function(Lock lock, const std::string& name) {
        Statement st =
            prepare("SELECT " + name + (lock == Lock::SharedRows ? "_shared" : "") + "(?::bigint)");
        std::int64_t desk = desk_key_ ? desk_key_ : schema_number(*this, "corvela");
        st.bind(1, lock == Lock::Desk ? kLockSpace + desk : kServerLockKey);
        return st.step() && st.text(0) == "t";
    }

    PGconn* conn_;
    std::string conninfo_;
    ServerSchema schema_;
    std::string desk_;
    ServerWaits waits_;
    Nesting nesting_;
    // The number of the desk's schema, 0 while the desk has no tables of its own.
    std::int64_t desk_key_ = 0;
};

// What is wrong with the database's encoding and locale for Corvela, or empty: texts compare as
// the embedded engine compares them only in UTF8 under the C locale of the C library.
std::string locale_fault(Database& db) {
    Statement st = db.prepare(
        "SELECT pg_encoding_to_char(encoding), CASE datlocprovider WHEN 'c' THEN 'libc' WHEN 'i' "
        "THEN 'icu' WHEN 'b' THEN 'builtin' ELSE datlocprovider::text END, datcollate, datctype "
        "FROM pg_catalog.pg_database WHERE datname = current_database()");
    if (!st.step()) return {};
    const std::string encoding = st.text(0), provider = st.text(1), collate = st.text(2),
                      ctype = st.text(3);
    const auto is_c = [](const std::string& locale) { return locale == "C" || locale == "POSIX"; };
    if (encoding == "UTF8" && provider == "libc" && is_c(collate) && is_c(ctype)) return {};
    return "La base de datos del servidor tiene la codificación " + encoding +
           ", el proveedor de configuración regional " + provider + ", el orden (LC_COLLATE) " +
           collate + " y el tipo de caracteres (LC_CTYPE) " + ctype +
           "; Corvela necesita UTF8, libc, C y C. Cree una con: " + kCreatedbLine;
}
}  // namespace

std::unique_ptr<Database> open_server(const std::string& conninfo, ServerSchema schema,
                                      const std::string& desk, ServerWaits waits) {
    PGconn* conn = PQconnectdb(conninfo.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string text = client_text(conn);
        PQfinish(conn);
        throw DatabaseFailure(0, text);
    }
    // The server's notices (a drop that cascades, a transaction already begun) are not the
    // operator's business.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    auto db = std::make_unique<ServerDatabase>(conn, conninfo, schema, desk, waits);
    db->start_session();
    if (std::string fault = locale_fault(*db); !fault.empty()) throw DatabaseFailure(0, fault);
    return db;
}

std::string desk_schema(const std::string& desk) {
    return "puesto_" + desk;
}

void use_reference_schema(Database& db) {
    dynamic_cast<ServerDatabase&>(db).use_schema(ServerSchema::Reference);
}

bool names_password(const std::string& conninfo) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    PQfreemem(error);
    bool found = false;
    for (PQconninfoOption* o = options; o && o->keyword; ++o)
        if (std::string_view(o->keyword) == "password" && o->val && *o->val) found = true;
    PQconninfoFree(options);
    return found;
}

}  // namespace corvela
