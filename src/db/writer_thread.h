// A writer on a second thread: the validating thread fills rows in batches and hands each full
// batch over; the writer binds and steps them on the run's connection, which the validating
// thread leaves alone until `drain` returns. A few batches circulate between the two, so the
// memory held stays the same however long the file is.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "db/row_sink.h"

namespace corvela {

class WriterThread : public RowSink {
  public:
    WriterThread(Database& db, std::string_view table, const std::vector<std::string>& columns,
                 size_t rows_per_batch = 1024, size_t batches = 4);
    // Waits for the rows handed over, then ends the thread.
    ~WriterThread() override;
    WriterThread(const WriterThread&) = delete;
    WriterThread& operator=(const WriterThread&) = delete;

    Row& next() override;
    void add() override;
    void finish() override;
    std::optional<StorageBehind> drain() override;

  private:
    struct Batch {
        std::vector<Row> rows;
        size_t count = 0;
    };

    // Hands the current batch over and takes a free one, waiting for it when none is free.
    void hand_over();
    // The writer's loop: stores the batches handed over, in order, until told to end.
    void write_batches();
    void store(Batch& batch);
    void stop();

    BulkInsert insert_;
    std::vector<std::unique_ptr<Batch>> batches_;
    Batch* current_ = nullptr;

    std::mutex mutex_;
    std::condition_variable to_writer_, to_validator_;
    std::deque<Batch*> handed_, free_;
    bool writing_ = false;   // the writer holds a batch
    bool stopping_ = false;  // no batch will be handed over again

    // Written by the writer alone; read by the validating thread under the mutex.
    size_t stored_ = 0;
    std::optional<StorageBehind> behind_;

    std::thread thread_;
};

}  // namespace corvela
