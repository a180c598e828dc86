// Adds batches of rows to one table, each value bound by its column's position without a copy,
// the engine's own way. A batch is what the run's writer hands over: the rows of consecutive
// passing lines of one data file.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "db/row.h"
#include "db/row_inserter.h"

namespace corvela {

class BulkInsert {
  public:
    using Outcome = RowInserter::Outcome;

    BulkInsert(Database& db, std::string_view table, const std::vector<std::string>& columns);

    // Adds the rows in order, inside the caller's transaction.
    Outcome insert(std::span<const Row> rows) {
        if (rows.size() > room_) return insert_until_full(rows);
        room_ -= rows.size();
        return inserter_->insert(rows);
    }
    // Adds one row; a failure is thrown.
    void insert(const Row& row);

  private:
    // Adds the rows that still find room, then fails as the engine does on a full disk.
    Outcome insert_until_full(std::span<const Row> rows);

    Database& db_;
    std::unique_ptr<RowInserter> inserter_;
    // The rows the disk still takes: no limit, except under the test switch
    // CORVELA_FAULT=almacen:disco-lleno, where it fills up after the first row of each load.
    size_t room_;
};

// Adds rows through one prepared insert, one row at a time: the way of an engine whose
// statements cost no round trip.
class StatementInserter : public RowInserter {
  public:
    StatementInserter(Database& db, std::string_view table,
                      const std::vector<std::string>& columns);
    Outcome insert(std::span<const Row> rows) override;

  private:
    void insert_one(const Row& row);

    Statement statement_;
};

// "INSERT INTO table (c1, c2, …) VALUES (?, ?, …)".
std::string insert_sql(std::string_view table, const std::vector<std::string>& columns);

}  // namespace corvela
