#include <cerrno>
#include <gtest/gtest.h>

#include "core/common/result.h"

namespace zondari {
namespace {

// The system's errors reach the user as the runtime's numbers and texts.
TEST(RuntimeErrors, SystemErrorsReadAsTheRuntimeWritesThem)
{
    const struct {
        int err, number;
        const char* text;
    } cases[] = {
        {ENOENT, 53, "File non trovato"},
        {ENOTDIR, 76, "Impossibile trovare il percorso"},
        {EROFS, 75, "Errore di accesso al percorso/file"},
        {ETXTBSY, 70, "Autorizzazione negata"},
        {ENOSPC, 61, "Disco pieno"},
        {EIO, 57, "Errore di I/O della periferica"},
        {ENOMEDIUM, 71, "Disco non pronto"},
        {ENAMETOOLONG, 52, "Nome o numero di file non valido"},
        {EMFILE, 67, "Troppi file"},
        {ENOMEM, 7, "Memoria esaurita"},
    };
    for (const auto& c : cases) {
        const RuntimeError e = runtimeErrorFromErrno(c.err);
        EXPECT_EQ(std::to_string(e.number) + " " + e.description, std::to_string(c.number) + " " + c.text);
    }
    // One with no runtime counterpart is the invalid call, with the
    // system's own words after it so that the report still says what happened.
    const RuntimeError other = runtimeErrorFromErrno(EXDEV);
    EXPECT_EQ(other.number, 5);
    EXPECT_EQ(other.description.rfind("Chiamata di routine o argomento non validi (", 0), 0u) << other.description;
    EXPECT_GT(other.description.size(), std::string("Chiamata di routine o argomento non validi ()").size());
}

TEST(RuntimeErrors, RaisedErrorsCarryTheirNumberAndText)
{
    EXPECT_EQ(runtimeError(ErrorCode::TypeMismatch).number, 13);
    EXPECT_EQ(runtimeError(ErrorCode::TypeMismatch).description, "Tipo non corrispondente");
    EXPECT_EQ(runtimeError(ErrorCode::PrinterError).description, "Errore della stampante");
    EXPECT_TRUE(isError(runtimeErrorFromErrno(EBUSY), ErrorCode::PermissionDenied));
    EXPECT_FALSE(isError(runtimeErrorFromErrno(ENOENT), ErrorCode::PermissionDenied));
}

} // namespace
} // namespace zondari
