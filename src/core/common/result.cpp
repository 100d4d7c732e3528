#include "core/common/result.h"

#include <cerrno>
#include <cstring>

namespace zondari {

RuntimeError runtimeErrorFromErrno(int err)
{
    // The runtime's own numbers and Italian texts, so that reports read as
    // the program's users know them.
    switch (err) {
    case ENOENT:
        return {53, "File non trovato"};
    case ENOTDIR:
        return {76, "Impossibile trovare il percorso"};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return {75, "Errore di accesso al percorso/file"};
    case EBUSY:
    case ETXTBSY:
        return {70, "Autorizzazione negata"};
    case ENOSPC:
    case EDQUOT:
        return {61, "Disco pieno"};
    case EIO:
        return {57, "Errore di I/O della periferica"};
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return {71, "Disco non pronto"};
    case ENAMETOOLONG:
        return {52, "Nome o numero di file non valido"};
    case EMFILE:
    case ENFILE:
        return {67, "Troppi file"};
    case ENOMEM:
        return {7, "Memoria esaurita"};
    default:
        return {5, std::string("Chiamata di routine o argomento non validi (") + std::strerror(err) + ")"};
    }
}

}  // namespace zondari
