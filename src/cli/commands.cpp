#include "cli/commands.h"

#include <algorithm>
#include <cstdio>

#include "core/common/escape.h"

namespace zondari::cli {

int runInfo(const Args& args);
int runTag(const Args& args);
int runScan(const Args& args);
int runList(const Args& args);
int runHtml(const Args& args);
int runDatabase(const Args& args);
int runSearch(const Args& args);
int runPocket(const Args& args);
int runVolume(const Args& args);
int runExport(const Args& args);
int runDuplicates(const Args& args);
int runWhere(const Args& args);
int runPlay(const Args& args);

// Each subsystem adds its commands here: name, operands, options, help.
const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"info", "FILE...", 1, kAnyNumber, "indicare almeno un file.",
            {{"--json", nullptr, "gli stessi dati come un array JSON, un oggetto per file"}},
            "i dati tecnici e i tag ID3v1 e ID3v2 di file MP3 (come la finestra dei dettagli)", runInfo},
        {"tag", "FILE", 1, 1, "indicare il file.",
            {{"--da-id3v2", nullptr, "copia nel tag ID3v1 il tag ID3v2 del file (come \"Copia da ID3v2\")"},
                {"--titolo", "T", "il titolo"}, {"--autore", "A", "l'autore"}, {"--album", "A", "l'album"},
                {"--anno", "A", "l'anno"}, {"--commento", "C", "il commento"},
                {"--genere", "N", "il genere, un numero da 0 a 125 della lista dell'editor"}},
            "legge o scrive il tag ID3v1 di un file MP3 (come l'editor di ID3)", runTag},
        {"scan", "CARTELLA", 1, 1, "indicare la cartella da catalogare.",
            {{"--titolo", "T", "il titolo del catalogo (Anonimo se manca)"},
                {"--tutti", nullptr, "tutti i file, non solo .mp3, .wma e .mod"},
                {"--sovrascrivi", nullptr, "sostituisce un catalogo dello stesso nome"},
                {"--differenze", nullptr, "non scrive nulla: elenca che cosa cambia rispetto al catalogo"},
                {"--impronte", nullptr,
                    "registra anche l'impronta audio di ogni MP3 (legge i file interi: più lento)"}},
            "cataloga un CD o una cartella", runScan},
        {"list", "", 0, 0, "", {}, "elenca i CD e le cartelle catalogati", runList},
        {"html", "CATALOGO", 1, 1, "indicare il catalogo.", {},
            "scrive default.htm di un catalogo (come Mostra contenuto)", runHtml},
        {"database", "", 0, 0, "", {}, "scrive la pagina di tutti i cataloghi (come Ricostruisce tutto l'archivio)",
            runDatabase},
        {"search", "TESTO", 1, 1, "indicare il testo da cercare.",
            {{"--maiuscole", nullptr, "distingue le maiuscole dalle minuscole"},
                {"--senza-cartelle", nullptr, "non elenca le cartelle che contengono il testo"}},
            "scrive la pagina di ricerca", runSearch},
        {"dove", "TESTO", 1, 1, "indicare il testo da cercare.",
            {{"--maiuscole", nullptr, "distingue le maiuscole dalle minuscole"},
                {"--senza-cartelle", nullptr, "non elenca le cartelle che contengono il testo"}},
            "dove sono ora i file catalogati che contengono il testo: il disco è inserito? in quale cartella?",
            runWhere},
        {"suona", "CATALOGO VOCE|INDIRIZZO", 1, 2, "indicare il catalogo e la voce, o un indirizzo zondari:.", {},
            "riproduce in zondari una voce di un catalogo (o un indirizzo zondari: o file://)", runPlay},
        {"tascabile", "", 0, 0, "", {},
            "scrive il catalogo tascabile: tutti i cataloghi in una pagina che cerca mentre si scrive", runPocket},
        {"esporta", "[CATALOGO...]", 0, kAnyNumber, "",
            {{"--csv", nullptr, "CSV (RFC 4180) invece di testo separato da tabulazioni"},
                {"-o", "FILE", "scrive nel file invece che sullo standard output"}},
            "i dati dei file catalogati (dimensioni, durate, tag) in una tabella", runExport},
        {"doppioni", "[CATALOGO...]", 0, kAnyNumber, "", {},
            "elenca i file con la stessa musica (stessa impronta audio) in tutti i cataloghi", runDuplicates},
        {"volume", "CARTELLA|IMMAGINE", 1, 1, "indicare una cartella o un'immagine.", {},
            "file system, etichetta e numero di serie di un volume", runVolume},
    };
    return list;
}

namespace {

const Option* findOption(const Command& command, const std::string& name)
{
    for (const Option& o : command.options)
        if (name == o.name)
            return &o;
    return nullptr;
}

void printHelp(const Command& command)
{
    std::string out = "Uso: zondari-cli " + usageLine(command) + "\n" + command.summary + "\n\nOpzioni:\n";
    const auto line = [&out](std::string name, const char* help) {
        name.resize(std::max<std::size_t>(name.size() + 2, 18), ' ');
        out += "  " + name + help + "\n";
    };
    for (const Option& o : command.options)
        line(std::string(o.name) + (o.value ? std::string(" ") + o.value : ""), o.help);
    line("--", "quel che segue è un argomento, anche se comincia con \"-\"");
    line("--help", "questo aiuto");
    std::fwrite(out.data(), 1, out.size(), stdout);
}

bool asksForHelp(const std::vector<std::string>& words)
{
    for (const std::string& w : words) {
        if (w == "--")
            return false;
        if (w == "--help" || w == "-h")
            return true;
    }
    return false;
}

} // namespace

std::optional<std::string> Args::value(const std::string& option) const
{
    const auto found = options_.find(option);
    if (found == options_.end())
        return std::nullopt;
    return found->second;
}

int Args::wrong(const std::string& why) const
{
    std::fprintf(
        stderr, "zondari-cli %s: %s\nUso: zondari-cli %s\n", command_.name, why.c_str(), usageLine(command_).c_str());
    return 2;
}

std::string usageLine(const Command& command)
{
    std::string line = command.name;
    if (*command.operands)
        line += std::string(" ") + command.operands;
    for (const Option& o : command.options)
        line += std::string(" [") + o.name + (o.value ? std::string(" ") + o.value : "") + "]";
    return line;
}

int runCommand(const Command& command, const std::vector<std::string>& words)
{
    if (asksForHelp(words)) {
        printHelp(command);
        return 0;
    }
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;
    const Args wrongLine(command, {}, {});
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (optionsEnded || w.size() < 2 || w[0] != '-') {
            operands.push_back(w);
        } else if (w == "--") {
            optionsEnded = true;
        } else if (const Option* o = findOption(command, w); !o) {
            return wrongLine.wrong("opzione sconosciuta \"" + text::terminalText(w) + "\".");
        } else if (!o->value) {
            options[w];
        } else if (i + 1 == words.size()) {
            return wrongLine.wrong("manca il valore di " + w + " (" + o->value + ").");
        } else {
            options[w] = words[++i];
        }
    }
    if (operands.size() < command.fewest)
        return wrongLine.wrong(command.missing);
    if (operands.size() > command.most)
        return wrongLine.wrong("argomento in più: \"" + text::terminalText(operands[command.most]) + "\".");
    return command.run(Args(command, std::move(operands), std::move(options)));
}

} // namespace zondari::cli
