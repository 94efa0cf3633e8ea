// Results of our own helpers: a value or a failure that carries the user's exact text.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace orvo {

enum class Severity { Information, Warning, Error };

/// What went wrong, in the words the user is shown (Windows-1252).
struct Failure {
    Severity severity = Severity::Error;
    std::string text;
    bool operator==(const Failure&) const = default;
};

inline Failure Fail(std::string text, Severity severity = Severity::Error) {
    return Failure{severity, std::move(text)};
}

/// A value, or the failure that prevented it. It cannot be dropped without a warning.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

/// Success or a failure, with no value.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), failure_(std::move(failure)) {}
    static Result Ok() { return {}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return failure_; }

private:
    bool failed_ = false;
    Failure failure_;
};

using Status = Result<void>;

/// Thrown inside a parser of outside data when the data is malformed; the parser's entry
/// function turns it into a Failure. It never crosses a folder's public functions.
class ParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace orvo
