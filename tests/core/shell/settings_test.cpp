#include <gtest/gtest.h>

#include "core/common/encoding.h"
#include "core/common/text.h"
#include "core/shell/settings.h"

using namespace zondari;

namespace {

std::string fields(const Settings& s)
{
    return s.utente + "|" + s.filesMusicali + "|" + s.ultimoPath;
}

Settings fromBytes(const std::string& bytes)
{
    return parseSettings(text::splitLines(encoding::decodeText(bytes)));
}

} // namespace

TEST(Settings, FileHasTwoCommentLinesThenTheKeysAndReadsBackTheSame)
{
    EXPECT_EQ(fields(defaultSettings("/opt/zondari")), "DEFAULT|.WAV.MP3.M3U.WMA|/opt/zondari");
    EXPECT_EQ(text::joinLines(settingsLines({"DEFAULT", ".WAV.MP3.M3U.WMA", "/home/anna/Musica"})),
        "; File di inizializzazione per Zondari\r\n"
        "; Non manomettere assolutamente queste righe!\r\n"
        "Utente=DEFAULT\r\n"
        "FilesMusicali=.WAV.MP3.M3U.WMA\r\n"
        "UltimoPath=/home/anna/Musica\r\n");
    for (const Settings& s : {Settings{"Anna", "", "/media/cd/Città =1/日本"}, Settings{"", ".IT .MP3", "/"}})
        EXPECT_EQ(fields(fromBytes(encoding::encodeText(text::joinLines(settingsLines(s))))), fields(s));
}

TEST(Settings, ValueIsTheTextAfterTheFirstEqualsOfAKeyAtTheStartOfItsLine)
{
    const struct {
        std::vector<std::string> lines;
        const char* read;
    } cases[] = {
        // Leading spaces go; "=" and trailing spaces stay.
        {{"Utente=  Anna", "UltimoPath=/musica/a=b ", "FilesMusicali=.MP3"}, "Anna|.MP3|/musica/a=b "},
        {{"Utente=Anna", "UltimoPath=/dati/Utente=Mario/musica", "   FilesMusicali=.WAV"},
            "Anna|.WAV|/dati/Utente=Mario/musica"},
        {{"; Utente=x", "xxUtente=y"}, "||"}, // inside a comment or a damaged line a key is no key
        {{"Utente=a", "Utente=b", "garbage", ""}, "b||"}, // the later key wins
    };
    for (const auto& c : cases)
        EXPECT_EQ(fields(parseSettings(c.lines)), c.read);
    // The Windows program's file: Windows-1252 and CR LF; and the same with LF only.
    for (const std::string& bytes : {std::string("; File di inizializzazione per Zondari\r\nUtente=Nicol\xF2\r\n"
                                                 "FilesMusicali=.WAV.MP3\r\nUltimoPath=C:\\Musica\\Citt\xE0\r\n"),
             std::string("Utente=Nicol\xC3\xB2\nFilesMusicali=.WAV.MP3\nUltimoPath=C:\\Musica\\Citt\xC3\xA0\n")})
        EXPECT_EQ(fields(fromBytes(bytes)), "Nicolò|.WAV.MP3|C:\\Musica\\Città");
}
