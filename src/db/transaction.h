// A transaction on one connection: begun when made, committed by `commit`, rolled back when it
// ends without a commit. `Transaction::Engine` is what each database engine implements behind it.
#pragma once

#include <memory>

namespace corvela {

class Database;

class Transaction {
  public:
    class Engine {
      public:
        // Rolls back when not committed, without throwing.
        virtual ~Engine() = default;
        // A second commit fails.
        virtual void commit() = 0;
    };

    explicit Transaction(Database& db);
    void commit() { engine_->commit(); }

  private:
    std::unique_ptr<Engine> engine_;
};

}  // namespace corvela
