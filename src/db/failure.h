// A failure of a database engine: its own number and text, as the operator is shown them after
// "Se presento el Error # ". Every engine turns its failures into this type, so nothing above the
// database layer knows which engine failed.
#pragma once

#include <string>

#include "platform/failure.h"

namespace corvela {

class DatabaseFailure : public NumberedFailure {
  public:
    DatabaseFailure(int engine_number, const std::string& text)
        : NumberedFailure(engine_number, text) {}
};

// Another connection held, past the bound this one waits, rows that an operation needs (a
// server's number row during another desk's save): the operator is told the database is busy.
class BusyFailure : public DatabaseFailure {
  public:
    using DatabaseFailure::DatabaseFailure;
};

// What the program itself finds missing in what a database returns; each engine numbers these as
// it numbers its own failures of the same kind.
enum class Fault { NoSuchColumn, NoSuchRow };

}  // namespace corvela
