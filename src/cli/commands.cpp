#include "cli/commands.h"

namespace zondari::cli {

int runHtml(const std::vector<std::string>& args);
int runDatabase(const std::vector<std::string>& args);
int runSearch(const std::vector<std::string>& args);

// Each subsystem adds its commands here.
const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"html", "CATALOGO: scrive default.htm di un catalogo", runHtml},
        {"database", "scrive la pagina di tutti i cataloghi", runDatabase},
        {"search", "TESTO [--maiuscole] [--senza-cartelle]: scrive la pagina di ricerca", runSearch},
    };
    return list;
}

}  // namespace zondari::cli
