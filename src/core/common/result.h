#pragma once

#include <optional>
#include <string>
#include <utility>

namespace zondari {

// A failure as the program reports it: the runtime's error number and its
// Italian description (shown by the runtime error report).
struct RuntimeError {
    int number = 0;
    std::string description;
};

// The runtime error that corresponds to a system errno value.
RuntimeError runtimeErrorFromErrno(int err);

// A value or the reason there is none. Nothing throws across a handler, so
// core and platform calls return these.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
    Result(RuntimeError error) : error_(std::move(error)) {}  // NOLINT

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    const RuntimeError& error() const { return error_; }

private:
    std::optional<T> value_;
    RuntimeError error_;
};

// Success, or the reason for a failure.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(RuntimeError error) : failed_(true), error_(std::move(error)) {}  // NOLINT

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const RuntimeError& error() const { return error_; }

private:
    bool failed_ = false;
    RuntimeError error_;
};

}  // namespace zondari
