#include "core/catalogue/leftout.h"

#include <vector>

namespace zondari::catalogue {
namespace {

// "1 cartella" / "2 cartelle": Italian takes the plural for none too.
std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A name with its line breaks made visible: it is shown on one line.
std::string oneLine(const std::string& path)
{
    std::string out;
    out.reserve(path.size() + 2);
    for (char c : path)
        out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    return out;
}

void section(std::string& out, const char* heading, const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    if (!out.empty())
        out += '\n';
    out += heading;
    out += " (" + std::to_string(paths.size()) + "):\n";
    for (const std::string& p : paths)
        out += oneLine(p) + '\n';
}

} // namespace

std::string leftOutLine(const ScanOutcome& outcome)
{
    std::string line;
    auto add = [&line](std::size_t n, const char* one, const char* many) {
        if (n == 0)
            return;
        line += line.empty() ? "Lettura incompleta: " : ", ";
        line += counted(n, one, many);
    };
    add(outcome.unreadableFolders.size(), "cartella non leggibile (permesso negato)",
        "cartelle non leggibili (permesso negato)");
    add(outcome.lineBreakNames.size(), "nome con un a capo lasciato fuori", "nomi con un a capo lasciati fuori");
    return line;
}

std::string leftOutDetails(const ScanOutcome& outcome)
{
    std::string out;
    section(out, "Cartelle non leggibili per mancanza di permesso, catalogate vuote", outcome.unreadableFolders);
    section(out,
        "Nomi con un a capo, che una riga del catalogo non può contenere, lasciati fuori con quanto contengono",
        outcome.lineBreakNames);
    return out;
}

} // namespace zondari::catalogue
