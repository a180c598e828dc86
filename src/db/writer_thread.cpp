#include "db/writer_thread.h"

namespace corvela {

WriterThread::WriterThread(Database& db, std::string_view table,
                           const std::vector<std::string>& columns, size_t rows_per_batch,
                           size_t batches)
    : insert_(db, table, columns) {
    for (size_t i = 0; i < batches; ++i) {
        batches_.push_back(std::make_unique<Batch>());
        batches_.back()->rows.resize(rows_per_batch);
        free_.push_back(batches_.back().get());
    }
    current_ = free_.front();
    free_.pop_front();
    thread_ = std::thread([this] { write_batches(); });
}

WriterThread::~WriterThread() {
    stop();
}

Row& WriterThread::next() {
    return current_->rows[current_->count];
}

void WriterThread::add() {
    if (++current_->count < current_->rows.size()) return;
    hand_over();
    std::lock_guard lock(mutex_);
    // The validator stops at the first sign that a row it passed could not be stored.
    if (behind_) throw *behind_;
}

void WriterThread::hand_over() {
    std::unique_lock lock(mutex_);
    handed_.push_back(current_);
    to_writer_.notify_one();
    to_validator_.wait(lock, [this] { return !free_.empty(); });
    current_ = free_.front();
    free_.pop_front();
}

std::optional<StorageBehind> WriterThread::drain() {
    if (current_->count > 0) hand_over();
    std::unique_lock lock(mutex_);
    to_validator_.wait(lock, [this] { return handed_.empty() && !writing_; });
    return behind_;
}

void WriterThread::finish() {
    if (auto behind = drain()) throw *behind;
}

void WriterThread::stop() {
    {
        std::unique_lock lock(mutex_);
        stopping_ = true;
    }
    to_writer_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void WriterThread::write_batches() {
    std::unique_lock lock(mutex_);
    for (;;) {
        to_writer_.wait(lock, [this] { return !handed_.empty() || stopping_; });
        if (handed_.empty()) return;
        Batch* batch = handed_.front();
        handed_.pop_front();
        writing_ = true;
        const bool failed = behind_.has_value();
        lock.unlock();
        // After a failure the rest is not stored: the file ends at the failing row.
        if (!failed) store(*batch);
        lock.lock();
        batch->count = 0;
        free_.push_back(batch);
        writing_ = false;
        to_validator_.notify_one();
    }
}

void WriterThread::store(Batch& batch) {
    BulkInsert::Outcome outcome = insert_.insert(std::span(batch.rows.data(), batch.count));
    std::lock_guard lock(mutex_);
    stored_ += outcome.added;
    if (outcome.failure) behind_ = StorageBehind{stored_, outcome.failure};
}

}  // namespace corvela
