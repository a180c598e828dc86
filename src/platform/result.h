// The result of an operation that can stop on a message: done (with its value, where it gives
// one), stopped on a message or a No answer having changed nothing, or failed. A stop or failure
// carries the text that says why and the number the runtime gives it, where there is one; for an
// operation of the windows the message has already been shown and the text may be empty. Only a
// done result has a value.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <variant>

namespace corvela {

enum class Ending { Done, Stopped, Failed };

template <typename T = std::monostate>
class [[nodiscard]] Result {
  public:
    static Result done(T value = T{}) { return Result(Ending::Done, std::move(value), {}, 0); }
    static Result stopped(std::string why = {}, int number = 0) {
        return Result(Ending::Stopped, T{}, std::move(why), number);
    }
    static Result failed(std::string why = {}, int number = 0) {
        return Result(Ending::Failed, T{}, std::move(why), number);
    }

    bool ok() const { return ending_ == Ending::Done; }
    Ending ending() const { return ending_; }
    // The value of a done result. Asking a stopped or failed result for it is a fault of the
    // program, which ends it here rather than go on with a value nobody gave.
    const T& value() const {
        expect_done();
        return value_;
    }
    T& value() {
        expect_done();
        return value_;
    }
    // The value of a done result, or `otherwise` when it stopped or failed.
    T value_or(T otherwise) const { return ok() ? value_ : std::move(otherwise); }
    const std::string& why() const { return why_; }
    int number() const { return number_; }

  private:
    void expect_done() const {
        if (ending_ != Ending::Done) {
            std::fputs("corvela: valor pedido a un resultado sin valor\n", stderr);
            std::abort();
        }
    }
    Result(Ending ending, T value, std::string why, int number)
        : ending_(ending), value_(std::move(value)), why_(std::move(why)), number_(number) {}
    Ending ending_;
    T value_;
    std::string why_;
    int number_;
};

// The result of an operation that gives no value.
using Status = Result<>;

}  // namespace corvela
