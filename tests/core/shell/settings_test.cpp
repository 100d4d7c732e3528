#include <gtest/gtest.h>

#include "core/common/encoding.h"
#include "core/common/text.h"
#include "core/shell/settings.h"

using namespace zondari;

TEST(Settings, DefaultsWithoutAFile)
{
    const Settings s = defaultSettings("/opt/zondari");
    EXPECT_EQ(s.utente, "DEFAULT");
    EXPECT_EQ(s.filesMusicali, ".WAV.MP3.M3U.WMA");
    EXPECT_EQ(s.ultimoPath, "/opt/zondari");
}

TEST(Settings, FileHasTwoCommentLinesThenTheKeysAndReadsBackTheSame)
{
    const auto lines = settingsLines({"DEFAULT", ".WAV.MP3.M3U.WMA", "/home/anna/Musica"});
    EXPECT_EQ(text::joinLines(lines),
        "; File di inizializzazione per Zondari\r\n"
        "; Non manomettere assolutamente queste righe!\r\n"
        "Utente=DEFAULT\r\n"
        "FilesMusicali=.WAV.MP3.M3U.WMA\r\n"
        "UltimoPath=/home/anna/Musica\r\n");
    for (const Settings& s : {Settings{"DEFAULT", ".WAV.MP3.M3U.WMA", "/home/anna/Musica"},
             Settings{"Anna", "", "/media/cd/Città =1/日本"}, Settings{"", ".IT .MP3", "/"}}) {
        const std::string bytes = encoding::encodeText(text::joinLines(settingsLines(s)));
        const Settings back = parseSettings(text::splitLines(encoding::decodeText(bytes)));
        EXPECT_EQ(back.utente, s.utente);
        EXPECT_EQ(back.filesMusicali, s.filesMusicali);
        EXPECT_EQ(back.ultimoPath, s.ultimoPath);
    }
}

TEST(Settings, ValueIsTheTextAfterTheFirstEqualsOfAKeyAtTheStartOfItsLine)
{
    Settings s = parseSettings({"Utente=  Anna", "UltimoPath=/musica/a=b ", "FilesMusicali=.MP3"});
    EXPECT_EQ(s.utente, "Anna"); // leading spaces go
    EXPECT_EQ(s.ultimoPath, "/musica/a=b "); // "=" and trailing spaces stay
    EXPECT_EQ(s.filesMusicali, ".MP3");
    s = parseSettings({"Utente=Anna", "UltimoPath=/dati/Utente=Mario/musica", "   FilesMusicali=.WAV"});
    EXPECT_EQ(s.utente, "Anna");
    EXPECT_EQ(s.ultimoPath, "/dati/Utente=Mario/musica");
    EXPECT_EQ(s.filesMusicali, ".WAV");
    // Inside a comment or a damaged line a key is no key.
    EXPECT_EQ(parseSettings({"; Utente=x", "xxUtente=y"}).utente, "");
    // The later key wins; a missing one stays empty.
    s = parseSettings({"Utente=a", "Utente=b", "garbage", ""});
    EXPECT_EQ(s.utente, "b");
    EXPECT_EQ(s.filesMusicali, "");
    EXPECT_EQ(s.ultimoPath, "");
}

TEST(Settings, FileOfTheWindowsProgramReads)
{
    // Windows-1252, CR LF; and the same with LF only.
    const std::string windows = "; File di inizializzazione per Zondari\r\nUtente=Nicol\xF2\r\n"
                                "FilesMusicali=.WAV.MP3\r\nUltimoPath=C:\\Musica\\Citt\xE0\r\n";
    for (const std::string& bytes :
        {windows, std::string("Utente=Nicol\xC3\xB2\nUltimoPath=C:\\Musica\\Citt\xC3\xA0\n")}) {
        const Settings s = parseSettings(text::splitLines(encoding::decodeText(bytes)));
        EXPECT_EQ(s.utente, "Nicolò");
        EXPECT_EQ(s.ultimoPath, "C:\\Musica\\Città");
    }
}
