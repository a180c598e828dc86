// A prepared statement of a database connection: values bound by position (from 1), rows stepped
// through, columns read by position (from 0). `Statement` is what the program holds and passes
// around; `Statement::Engine` is what each database engine implements behind it.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "db/failure.h"

namespace corvela {

// The kind of value a column of the current row holds.
enum class StoredType { Null, Integer, Real, Text, Blob };

class Statement {
  public:
    class Engine {
      public:
        virtual ~Engine() = default;
        virtual void bind_text(int index, const std::string& text) = 0;
        // The text is not copied: it must stay as it is until the statement is stepped and
        // either bound again or its bindings cleared.
        virtual void bind_kept_text(int index, const std::string& text) = 0;
        virtual void bind_integer(int index, std::int64_t value) = 0;
        virtual void bind_real(int index, double value) = 0;
        virtual void bind_null(int index) = 0;
        // Steps to the next row; false when there is none.
        virtual bool step() = 0;
        // Runs a statement that returns no rows.
        virtual void execute() = 0;
        // Makes the statement ready to run again, its bindings kept. Never throws: the failure of
        // the last step was thrown by that step.
        virtual void reset() = 0;
        // Every parameter back to null.
        virtual void clear_bindings() = 0;
        // Known before the first step.
        virtual int column_count() const = 0;
        virtual std::string column_name(int column) const = 0;
        // The current row's columns; the text of a null column is empty.
        virtual StoredType column_type(int column) const = 0;
        virtual std::string text(int column) const = 0;
        virtual std::int64_t integer(int column) const = 0;
        virtual double real(int column) const = 0;
        // The failure this engine gives for what the program finds missing.
        virtual DatabaseFailure failure(Fault fault, const std::string& text) const = 0;
    };

    explicit Statement(std::unique_ptr<Engine> engine) : engine_(std::move(engine)) {}

    void bind(int index, const std::string& text) { engine_->bind_text(index, text); }
    // A negative zero is bound as zero, so that no engine keeps its sign.
    void bind(int index, double value) { engine_->bind_real(index, value + 0.0); }
    template <std::integral Integer>
    void bind(int index, Integer value) {
        engine_->bind_integer(index, static_cast<std::int64_t>(value));
    }
    void bind(int index) { engine_->bind_null(index); }
    void bind_or_null(int index, const std::optional<std::string>& text) {
        if (text)
            bind(index, *text);
        else
            bind(index);
    }
    void bind_kept(int index, const std::string& text) { engine_->bind_kept_text(index, text); }

    bool step() { return engine_->step(); }
    void exec() { engine_->execute(); }
    void reset() { engine_->reset(); }
    void clear_bindings() { engine_->clear_bindings(); }

    int column_count() const { return engine_->column_count(); }
    std::string column_name(int column) const { return engine_->column_name(column); }
    // The first column of that name, letter case ignored; the engine's failure when none.
    int column_index(std::string_view name) const;

    StoredType type(int column) const { return engine_->column_type(column); }
    bool is_null(int column) const { return type(column) == StoredType::Null; }
    std::string text(int column) const { return engine_->text(column); }
    std::int64_t integer(int column) const { return engine_->integer(column); }
    double real(int column) const { return engine_->real(column); }

    DatabaseFailure failure(Fault fault, const std::string& text) const {
        return engine_->failure(fault, text);
    }

  private:
    std::unique_ptr<Engine> engine_;
};

}  // namespace corvela
