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

// The runtime's error numbers that the program raises or reports. Each has
// its one Italian text in the table of result.cpp.
enum class ErrorCode : int {
    InvalidCall = 5, // "Chiamata di routine o argomento non validi"
    Overflow = 6, // "Overflow"
    OutOfMemory = 7, // "Memoria esaurita"
    TypeMismatch = 13, // "Tipo non corrispondente"
    BadFileName = 52, // "Nome o numero di file non valido"
    FileNotFound = 53, // "File non trovato"
    DeviceIO = 57, // "Errore di I/O della periferica"
    DiskFull = 61, // "Disco pieno"
    TooManyFiles = 67, // "Troppi file"
    DeviceUnavailable = 68, // "Periferica non disponibile"
    PermissionDenied = 70, // "Autorizzazione negata"
    DiskNotReady = 71, // "Disco non pronto"
    PathFileAccess = 75, // "Errore di accesso al percorso/file"
    PathNotFound = 76, // "Impossibile trovare il percorso"
    PrinterError = 482, // "Errore della stampante"
};

// The error with its number and text.
RuntimeError runtimeError(ErrorCode code);

// Whether `error` is the runtime error `code`.
bool isError(const RuntimeError& error, ErrorCode code);

// The runtime error that corresponds to a system errno value.
RuntimeError runtimeErrorFromErrno(int err);

// A value or the reason there is none. Nothing throws across a handler, so
// core and platform calls return these. The reason is a runtime error,
// except where a device numbers its own (the mixer).
template <class T, class E = RuntimeError> class [[nodiscard]] Result {
public:
    Result(T value)
        : value_(std::move(value))
    {
    } // NOLINT: implicit on purpose
    Result(E error)
        : error_(std::move(error))
    {
    } // NOLINT

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    const E& error() const { return error_; }

private:
    std::optional<T> value_;
    E error_{};
};

// Success, or the reason for a failure.
template <class E = RuntimeError> class [[nodiscard]] BasicStatus {
public:
    BasicStatus() = default;
    BasicStatus(E error)
        : failed_(true)
        , error_(std::move(error))
    {
    } // NOLINT

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const E& error() const { return error_; }

private:
    bool failed_ = false;
    E error_{};
};

using Status = BasicStatus<>;

} // namespace zondari
