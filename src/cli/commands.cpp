#include "cli/commands.h"

namespace zondari::cli {

int runInfo(const std::vector<std::string>& args);
int runTag(const std::vector<std::string>& args);
int runScan(const std::vector<std::string>& args);
int runList(const std::vector<std::string>& args);
int runHtml(const std::vector<std::string>& args);
int runDatabase(const std::vector<std::string>& args);
int runSearch(const std::vector<std::string>& args);
int runPocket(const std::vector<std::string>& args);
int runVolume(const std::vector<std::string>& args);

// Each subsystem adds its commands here.
const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"info", "[--json] FILE...: i dati tecnici e i tag ID3v1 e ID3v2 di file MP3 (come la finestra dei dettagli)",
            runInfo},
        {"tag", "legge o scrive il tag ID3v1 di un file MP3 (come l'editor di ID3); --da-id3v2 lo copia dal tag ID3v2",
            runTag},
        {"scan", "CARTELLA [--titolo T] [--tutti] [--sovrascrivi] [--differenze]: cataloga un CD o una cartella",
            runScan},
        {"list", "elenca i CD e le cartelle catalogati", runList},
        {"html", "CATALOGO: scrive default.htm di un catalogo (come Mostra contenuto)", runHtml},
        {"database", "scrive la pagina di tutti i cataloghi (come Ricostruisce tutto l'archivio)", runDatabase},
        {"search", "TESTO [--maiuscole] [--senza-cartelle]: scrive la pagina di ricerca", runSearch},
        {"tascabile", "scrive il catalogo tascabile: tutti i cataloghi in una pagina che cerca mentre si scrive",
            runPocket},
        {"volume", "CARTELLA|IMMAGINE: file system, etichetta e numero di serie di un volume", runVolume},
    };
    return list;
}

} // namespace zondari::cli
