#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The small rules of a scan and of the catalogue window's boxes.
namespace zondari::catalogue {

inline constexpr const char* kBrowseTitle = "Apertura CD/Cartella MP3";
inline constexpr const char* kColumnsMessage = "Numero di Colonne compreso tra 2 e 7";
inline constexpr const char* kNothingFoundMessage = "Non trovato nessun file.";
inline constexpr const char* kUnreadableMessage = "Non è possibile leggere sull'unità specificata, riprovare";
inline constexpr const char* kNoCatalogueMessage
    = "Nessun cd registrato nel tuo database, clicca sull'icona del CD-ROM per registrare le informazioni";
inline constexpr const char* kSelectBeforeEditMessage
    = "Occorre prima selezionare il file di archivio catalogato poi premere questo bottone per procedere "
      "all'EDIT/Modifica.";
inline constexpr const char* kSelectBeforeDeleteMessage
    = "Occorre prima selezionare il file di archivio catalogato poi premere questo bottone per procedere alla "
      "cancellazione.";

// The music files of the scan: ".mp3", ".wma" and ".mod" in any letter case.
inline constexpr const char* kScanFileTypes = ".MP3.WMA.MOD";

// Whether the scan takes a file: every file with "Tutti i files", else the
// music files only.
bool includesFile(std::string_view fileName, bool allFiles);

// The column count typed into "N. Colonne", to the nearest whole number and
// held to 2..7. `corrected` says the box must be told and rewritten.
struct Columns {
    std::int16_t value = 2;
    bool corrected = false;
};
Columns clampColumns(std::string_view typed);

// The print font size a scan leaves: 8 when unset, at least 2.
float normalisedFontSize(float size);

// The title box takes characters from code 7 to 127 except \ / : . , ( ) $.
bool acceptsTitleChar(char32_t c);

// The text with the characters the title box would not take left out.
std::string filterTitle(std::string_view title);

// The question before a catalogue of the same name is overwritten.
std::string overwriteQuestion(std::string_view fileName, std::string_view storedTitle);

// The same question after the line that says what the new scan changes.
std::string rescanQuestion(std::string_view changes, std::string_view fileName, std::string_view storedTitle);

// The message of a selection whose catalogue file is gone.
std::string missingCatalogueMessage(std::string_view fullPath);

// The question before a catalogue file is deleted.
std::string deleteQuestion(std::string_view fullPath, std::string_view title);

} // namespace zondari::catalogue
