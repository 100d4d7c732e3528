#include "core/catalogue/playaddress.h"

#include <algorithm>
#include <cctype>

#include "core/catalogue/filename.h"

namespace zondari::catalogue {
namespace {

constexpr std::string_view kPlay = "riproduci";

std::string percentEncoded(std::string_view bytes)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (std::isalnum(b) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/')
            out += c;
        else
            out.append({'%', hex[b >> 4], hex[b & 15]});
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int hi = i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int lo = hi >= 0 ? hexDigit(text[i + 2]) : -1;
        if (lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string refused(std::string_view why)
{
    return "Indirizzo non valido: " + std::string(why) + ". Non viene riprodotto nulla.";
}

Result<AddressRequest, std::string> parseFileAddress(std::string_view address)
{
    std::string_view rest = address.substr(7); // after "file://"
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    if (slash == std::string_view::npos || !(host.empty() || host == "localhost"))
        return refused("il file non è su questo computer");
    const auto path = percentDecoded(rest.substr(slash));
    if (!path || path->find('\0') != std::string::npos)
        return refused("codifica con % errata");
    return AddressRequest{false, {}, {}, *path};
}

} // namespace

std::string playAddress(std::string_view catalogue, std::string_view entry)
{
    return std::string(kAddressScheme) + std::string(kPlay) + "?catalogo=" + percentEncoded(catalogue)
        + "&voce=" + percentEncoded(entry);
}

Result<AddressRequest, std::string> parseAddress(std::string_view address)
{
    if (startsWithIgnoringCase(address, "file://"))
        return parseFileAddress(address);
    if (!startsWithIgnoringCase(address, kAddressScheme))
        return refused("non è un indirizzo zondari: né file://");
    std::string_view rest = address.substr(kAddressScheme.size());
    while (rest.starts_with('/'))
        rest.remove_prefix(1); // "zondari://riproduci?..." as some browsers pass it
    const std::size_t question = rest.find('?');
    if (rest.substr(0, question) != kPlay)
        return refused("l'unica richiesta conosciuta è \"riproduci\"");
    AddressRequest request{true, {}, {}, {}};
    bool haveCatalogue = false, haveEntry = false;
    std::string_view query = question == std::string_view::npos ? std::string_view() : rest.substr(question + 1);
    query = query.substr(0, query.find('#'));
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view field = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const std::size_t eq = field.find('=');
        const std::string_view key = field.substr(0, eq);
        const auto value = percentDecoded(eq == std::string_view::npos ? std::string_view() : field.substr(eq + 1));
        if (!value)
            return refused("codifica con % errata");
        if (key != "catalogo" && key != "voce")
            continue;
        bool& have = key == "catalogo" ? haveCatalogue : haveEntry;
        if (have)
            return refused(std::string(key) + " compare due volte");
        have = true;
        (key == "catalogo" ? request.catalogue : request.entry) = *value;
    }
    if (!haveCatalogue || request.catalogue.empty())
        return refused("manca il catalogo");
    if (!haveEntry || request.entry.empty())
        return refused("manca la voce da riprodurre");
    if (const std::string problem = catalogueNameProblem(request.catalogue); !problem.empty())
        return problem;
    return request;
}

std::string catalogueNameProblem(std::string_view name)
{
    const std::string_view prefix = kPrefix, ext = kExtension;
    const bool plain = name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos
        && name.find('\0') == std::string_view::npos && name != "." && name != "..";
    if (!plain || !startsWithIgnoringCase(name, prefix) || name.size() < prefix.size() + ext.size()
        || !startsWithIgnoringCase(name.substr(name.size() - ext.size()), ext))
        return refused("\"" + std::string(name) + "\" non è il nome di un catalogo");
    return {};
}

std::string entryProblem(std::string_view catalogueName, std::string_view catalogueBytes, std::string_view entry)
{
    bool found = false;
    std::size_t from = catalogueBytes.find('\n'); // the title is no entry
    while (!found && from != std::string_view::npos && from < catalogueBytes.size()) {
        const std::size_t nl = std::min(catalogueBytes.find('\n', from + 1), catalogueBytes.size());
        found = withoutLineEnd(catalogueBytes.substr(from + 1, nl - from - 1)) == entry;
        from = nl;
    }
    if (!found) {
        const Catalogue read = parseCatalogue(catalogueBytes);
        found = std::find(read.entries.begin(), read.entries.end(), entry) != read.entries.end();
    }
    if (found)
        return {};
    return "La voce \"" + std::string(entry) + "\" non è nel catalogo " + std::string(catalogueName)
        + ". Non viene riprodotto nulla.";
}

} // namespace zondari::catalogue
