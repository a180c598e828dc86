#include "db/transaction.h"

#include "db/database.h"

namespace corvela {

Transaction::Transaction(Database& db) : engine_(db.begin()) {}

}  // namespace corvela
