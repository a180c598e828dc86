// A connection to one of the installation's databases: the only way the program reaches stored
// rows. Opening a connection makes the functions `val`, `mid`, `month` and `year` available to
// its statements, so that statements read as the validator's texts write them. Only
// `corvela init` creates databases; everything else opens existing ones. Each engine implements
// this class; failures are thrown as DatabaseFailure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/column_type.h"
#include "db/failure.h"
#include "db/row.h"
#include "db/row_inserter.h"
#include "db/statement.h"
#include "db/transaction.h"

namespace corvela {

class Database {
  public:
    // Opens an existing database; throws DatabaseFailure when it does not open.
    static std::unique_ptr<Database> open_existing(const std::string& path);
    // Creates a new database; throws when it exists already.
    static std::unique_ptr<Database> create(const std::string& path);

    // Closes the connection; a transaction still open is rolled back.
    virtual ~Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs statements that return no rows and take no values.
    virtual void exec(const std::string& sql) = 0;
    virtual Statement prepare(const std::string& sql) = 0;
    // A SELECT whose rows the transaction is to change, locked until it ends, so that another
    // connection reading them for a change waits for it. An engine where another connection may
    // hold them (a server) waits for them at most its bound, then throws BusyFailure.
    virtual Statement prepare_for_update(const std::string& select) { return prepare(select); }
    virtual std::unique_ptr<Transaction::Engine> begin() = 0;
    // The row identifier of the last row inserted on this connection.
    virtual std::int64_t last_insert_id() const = 0;
    // Adds batches of rows to `table`, value i of a row to column i.
    virtual std::unique_ptr<RowInserter> inserter(std::string_view table,
                                                  const std::vector<std::string>& columns);

    // True for a database on a server; false for a database file of the installation's folder.
    virtual bool on_server() const { return false; }
    // The engine's name of a column type in a table's definition.
    virtual std::string type_name(ColumnType type) const = 0;
    // Makes the table `name` of these columns; with `if_missing`, only when it is not there.
    void create_table(std::string_view name, const TableColumns& columns, bool if_missing = false);
    // Records the version of the schema the database was made with, where the engine keeps one.
    virtual void set_schema_version(int version) = 0;
    // True when the database holds a table of that name (letter case ignored).
    virtual bool has_table(const std::string& name) = 0;
    // True while a transaction begun on this connection is open and usable; false once the
    // engine has ended it by itself (a server that stopped, a disk that filled up), so that
    // nothing of it will be kept.
    virtual bool in_transaction() const = 0;
    // The failure this engine reports when the disk under its data is full.
    virtual DatabaseFailure disk_full() const = 0;
    // Opens the connection again when the server lost it since its last statement (a server
    // that restarted): true when it did, its session's locks gone; throws DatabaseFailure when
    // the server cannot be reached. A connection to a file is never lost.
    virtual bool reopen_if_lost() { return false; }
    // False for an engine whose texts cannot hold the NUL character (a server's): such a text is
    // refused with `nul_failure`, never stored cut.
    virtual bool stores_nul() const { return true; }

    // The error rows of saved deliveries: the table every desk shares (on a server with desks,
    // not the desk's own table of its unsaved run).
    virtual std::string saved_errors_table() const { return "ERRORES"; }

    // The locks of several desks on one server, taken without waiting: the desk's own, and the
    // server-wide one, shared by saves and taken alone by changes to shared rows. An engine
    // without desks grants them all (its installation's lock file is the only lock).
    enum class Lock { Desk, SharedRows, AllSharedRows };
    virtual bool try_lock(Lock) { return true; }
    virtual void unlock(Lock) {}

    // Number of rows a SELECT returns (bound values in `...`).
    template <typename... Args>
    long long count(const std::string& sql, const Args&... args) {
        Statement st = prepare("SELECT count(*) FROM (" + sql + ") AS counted");
        int i = 1;
        (st.bind(i++, args), ...);
        st.step();
        return st.integer(0);
    }

  protected:
    Database() = default;
    // The column the engine adds to every table it makes, numbering the rows as they are added,
    // or empty where the engine numbers rows of its own accord.
    virtual std::string row_number_column() const { return {}; }
};

// The first value of `row` whose text holds the NUL character, or the row's size when none does.
size_t value_with_nul(const Row& row);
// The failure of a text holding NUL on an engine that cannot store it; `where` names the place
// of the text ("el campo 5 de la línea 2 del archivo US000001.TXT").
DatabaseFailure nul_failure(const std::string& where);

}  // namespace corvela
