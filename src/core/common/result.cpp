#include "core/common/result.h"

#include <cerrno>
#include <cstring>

namespace zondari {

namespace {

struct ErrorText {
    ErrorCode code;
    const char* text;
};

// The runtime's own numbers and Italian texts, so that reports read as the
// program's users know them.
constexpr ErrorText kErrorTexts[] = {
    {ErrorCode::InvalidCall, "Chiamata di routine o argomento non validi"},
    {ErrorCode::Overflow, "Overflow"},
    {ErrorCode::OutOfMemory, "Memoria esaurita"},
    {ErrorCode::TypeMismatch, "Tipo non corrispondente"},
    {ErrorCode::BadFileName, "Nome o numero di file non valido"},
    {ErrorCode::FileNotFound, "File non trovato"},
    {ErrorCode::DeviceIO, "Errore di I/O della periferica"},
    {ErrorCode::DiskFull, "Disco pieno"},
    {ErrorCode::TooManyFiles, "Troppi file"},
    {ErrorCode::DeviceUnavailable, "Periferica non disponibile"},
    {ErrorCode::PermissionDenied, "Autorizzazione negata"},
    {ErrorCode::DiskNotReady, "Disco non pronto"},
    {ErrorCode::PathFileAccess, "Errore di accesso al percorso/file"},
    {ErrorCode::PathNotFound, "Impossibile trovare il percorso"},
    {ErrorCode::PrinterError, "Errore della stampante"},
};

} // namespace

RuntimeError runtimeError(ErrorCode code)
{
    for (const ErrorText& e : kErrorTexts)
        if (e.code == code)
            return {static_cast<int>(code), e.text};
    return {static_cast<int>(code), {}};
}

bool isError(const RuntimeError& error, ErrorCode code)
{
    return error.number == static_cast<int>(code);
}

RuntimeError runtimeErrorFromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return runtimeError(ErrorCode::FileNotFound);
    case ENOTDIR:
        return runtimeError(ErrorCode::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return runtimeError(ErrorCode::PathFileAccess);
    case EBUSY:
    case ETXTBSY:
        return runtimeError(ErrorCode::PermissionDenied);
    case ENOSPC:
    case EDQUOT:
        return runtimeError(ErrorCode::DiskFull);
    case EIO:
        return runtimeError(ErrorCode::DeviceIO);
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return runtimeError(ErrorCode::DiskNotReady);
    case ENAMETOOLONG:
        return runtimeError(ErrorCode::BadFileName);
    case EMFILE:
    case ENFILE:
        return runtimeError(ErrorCode::TooManyFiles);
    case ENOMEM:
        return runtimeError(ErrorCode::OutOfMemory);
    default: {
        RuntimeError e = runtimeError(ErrorCode::InvalidCall);
        e.description += std::string(" (") + std::strerror(err) + ")";
        return e;
    }
    }
}

} // namespace zondari
