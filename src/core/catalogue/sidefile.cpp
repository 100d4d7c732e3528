#include "core/catalogue/sidefile.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <ctime>

#include "core/analysis/mp3analysis.h"
#include "core/common/encoding.h"

namespace zondari::catalogue {
namespace {

// The table's columns, in their order: what a spreadsheet user reads.
constexpr std::array<std::string_view, 15> kColumns = {"voce", "dimensione", "modificato", "durata", "kbps", "hz",
    "canali", "titolo", "autore", "album", "anno", "genere", "traccia", "byte_audio", "impronta"};

constexpr std::string_view kVolumeHeader = "chiave\tvalore";

std::string_view baseOf(std::string_view catalogueName)
{
    if (catalogueName.size() > 4 && catalogueName.substr(catalogueName.size() - 4) == ".txt")
        catalogueName.remove_suffix(4);
    return catalogueName;
}

template <class N> N number(std::string_view text)
{
    N n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc() && end == text.data() + text.size() ? n : 0;
}

std::vector<std::string_view> split(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab - from));
        if (tab == std::string_view::npos)
            return fields;
        from = tab + 1;
    }
}

// A number that means nothing found is written as an empty field.
std::string shown(std::int64_t n)
{
    return n ? std::to_string(n) : std::string();
}

std::string decimal(std::uint64_t whole, unsigned tenth)
{
    return groupedNumber(whole) + (tenth ? "," + std::to_string(tenth) : std::string());
}

} // namespace

std::string sideFileName(std::string_view catalogueName)
{
    return std::string(baseOf(catalogueName)) + std::string(kSideExtension);
}

std::string volumeFileName(std::string_view catalogueName)
{
    return std::string(baseOf(catalogueName)) + std::string(kVolumeExtension);
}

std::string escapeField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        char32_t cp = 0;
        if (c == '\t' || c == '\n' || c == '\r' || c == '\\') {
            out += '\\';
            out += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
            ++i;
        } else if (const std::size_t n = encoding::utf8SequenceAt(text, i, cp); n > 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
            out += hex;
            ++i;
        }
    }
    return out;
}

std::string unescapeField(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char e = field[i + 1];
        if (e == 't' || e == 'n' || e == 'r' || e == '\\') {
            out += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : '\\';
            ++i;
        } else if (unsigned v = 0; e == 'x' && i + 3 < field.size()
                   && std::from_chars(field.data() + i + 2, field.data() + i + 4, v, 16).ptr == field.data() + i + 4) {
            out += static_cast<char>(v);
            i += 3;
        } else {
            out += '\\';
        }
    }
    return out;
}

std::string sideHeader()
{
    std::string out;
    for (std::string_view c : kColumns)
        out.append(out.empty() ? "" : "\t").append(c);
    return out + "\n";
}

const std::vector<std::string_view>& sideColumns()
{
    static const std::vector<std::string_view> columns(kColumns.begin(), kColumns.end());
    return columns;
}

std::vector<std::string> sideFields(const TrackData& r)
{
    return {escapeField(r.entry), std::to_string(r.size), r.modified ? isoDate(r.modified) : "",
        r.audio ? std::to_string(r.seconds) : "", shown(r.kbps), shown(r.hz), escapeField(r.channels),
        escapeField(r.title), escapeField(r.artist), escapeField(r.album), escapeField(r.year), escapeField(r.genre),
        escapeField(r.track), shown(static_cast<std::int64_t>(r.audioBytes)), r.fingerprint};
}

std::string sideRow(const TrackData& r)
{
    const std::vector<std::string> fields = sideFields(r);
    std::string out = fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i)
        out.append("\t").append(fields[i]);
    return out + "\n";
}

void SideReader::line(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (first_) {
        first_ = false;
        count_.header = line.substr(0, 5) == "voce\t";
        return;
    }
    if (!count_.header || count_.rows >= kMaxSideRows || line.empty())
        return;
    const auto f = split(line);
    // Columns added later go after these; a row with fewer is not ours.
    if (f.size() < kColumns.size() - 1 || f[0].empty()) {
        ++count_.badLines;
        return;
    }
    TrackData r;
    r.entry = unescapeField(f[0]);
    r.size = number<std::uint64_t>(f[1]);
    r.modified = parseIsoDate(f[2]);
    r.audio = !f[3].empty();
    r.seconds = number<std::int32_t>(f[3]);
    r.kbps = number<std::int32_t>(f[4]);
    r.hz = number<std::int32_t>(f[5]);
    r.channels = unescapeField(f[6]);
    r.title = unescapeField(f[7]);
    r.artist = unescapeField(f[8]);
    r.album = unescapeField(f[9]);
    r.year = unescapeField(f[10]);
    r.genre = unescapeField(f[11]);
    r.track = unescapeField(f[12]);
    r.audioBytes = number<std::uint64_t>(f[13]);
    if (f.size() > 14 && f[14].size() == 32 && f[14].find_first_not_of("0123456789abcdef") == std::string_view::npos)
        r.fingerprint = f[14];
    ++count_.rows;
    take_(std::move(r));
}

void SideReader::feed(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        const std::string_view part = bytes.substr(0, nl);
        if (!skipping_ && pending_.size() + part.size() > kMaxSideLine) {
            skipping_ = true;
            pending_.clear();
            ++count_.badLines;
        }
        if (!skipping_)
            pending_.append(part);
        if (nl == std::string_view::npos)
            return;
        if (!skipping_)
            line(pending_);
        else if (first_)
            first_ = false; // a header too long is no header
        skipping_ = false;
        pending_.clear();
        bytes.remove_prefix(nl + 1);
    }
}

SideReadCount SideReader::finish()
{
    if (!skipping_ && !pending_.empty())
        line(pending_);
    pending_.clear();
    skipping_ = false;
    return count_;
}

SideData parseSideFile(std::string_view bytes, const std::function<bool(std::string_view entry)>& inCatalogue)
{
    SideData data;
    SideReader reader([&](TrackData&& row) {
        if (!inCatalogue(row.entry))
            ++data.stale;
        else
            data.rows.insert_or_assign(row.entry, std::move(row));
    });
    reader.feed(bytes);
    data.read = reader.finish();
    return data;
}

std::string volumeBytes(const VolumeData& v)
{
    const std::pair<std::string_view, std::string> rows[] = {
        {"etichetta", escapeField(v.label)},
        {"seriale", v.serial},
        {"seriale_windows", v.windowsSerial},
        {"uuid", escapeField(v.uuid)},
        {"file_system", escapeField(v.fileSystem)},
        {"cartella", escapeField(v.folder)},
        {"file", std::to_string(v.files)},
        {"byte", std::to_string(v.bytes)},
        {"durata", std::to_string(v.seconds)},
        {"byte_liberi", std::to_string(v.freeBytes)},
        {"byte_totali", std::to_string(v.totalBytes)},
        {"data", isoDate(v.scanned)},
        {"radice", escapeField(v.root)},
    };
    std::string out = std::string(kVolumeHeader) + "\n";
    for (const auto& [key, value] : rows)
        out.append(key).append("\t").append(value).append("\n");
    return out;
}

VolumeData parseVolumeFile(std::string_view bytes)
{
    VolumeData v;
    std::size_t lines = 0;
    for (std::size_t from = 0; from < bytes.size() && lines < 100; ++lines) {
        const std::size_t nl = std::min(bytes.find('\n', from), bytes.size());
        std::string_view line = bytes.substr(from, nl - from);
        from = nl + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (lines == 0 && line != kVolumeHeader)
            return v;
        const std::size_t tab = line.find('\t');
        if (lines == 0 || line.size() > kMaxSideLine || tab == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, tab), value = line.substr(tab + 1);
        if (key == "etichetta")
            v.label = unescapeField(value);
        else if (key == "seriale")
            v.serial = unescapeField(value);
        else if (key == "seriale_windows")
            v.windowsSerial = unescapeField(value);
        else if (key == "uuid")
            v.uuid = unescapeField(value);
        else if (key == "file_system")
            v.fileSystem = unescapeField(value);
        else if (key == "cartella")
            v.folder = unescapeField(value);
        else if (key == "radice")
            v.root = unescapeField(value);
        else if (key == "file")
            v.files = number<std::uint64_t>(value);
        else if (key == "byte")
            v.bytes = number<std::uint64_t>(value);
        else if (key == "durata")
            v.seconds = number<std::int64_t>(value);
        else if (key == "byte_liberi")
            v.freeBytes = number<std::uint64_t>(value);
        else if (key == "byte_totali")
            v.totalBytes = number<std::uint64_t>(value);
        else if (key == "data")
            v.scanned = parseIsoDate(value);
    }
    return v;
}

std::string isoDate(std::int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!gmtime_r(&t, &tm))
        return {};
    char out[32];
    std::strftime(out, sizeof out, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return out;
}

std::int64_t parseIsoDate(std::string_view text)
{
    // "YYYY-MM-DDTHH:MM:SSZ", exactly.
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':'
        || text[19] != 'Z')
        return 0;
    std::tm tm{};
    tm.tm_year = number<int>(text.substr(0, 4)) - 1900;
    tm.tm_mon = number<int>(text.substr(5, 2)) - 1;
    tm.tm_mday = number<int>(text.substr(8, 2));
    tm.tm_hour = number<int>(text.substr(11, 2));
    tm.tm_min = number<int>(text.substr(14, 2));
    tm.tm_sec = number<int>(text.substr(17, 2));
    return static_cast<std::int64_t>(timegm(&tm));
}

std::string groupedNumber(std::uint64_t n)
{
    std::string digits = std::to_string(n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ".");
    return digits;
}

std::string byteSize(std::uint64_t bytes)
{
    // Binary units, as the file managers of Windows count them; one
    // decimal below 100.
    constexpr std::array<std::string_view, 5> units = {"byte", "KB", "MB", "GB", "TB"};
    std::size_t u = 0;
    long double v = static_cast<long double>(bytes);
    while (v >= 1024 && u + 1 < units.size()) {
        v /= 1024;
        ++u;
    }
    if (u == 0)
        return groupedNumber(bytes) + " byte";
    const auto tenths = static_cast<std::uint64_t>(v * 10 + 0.5L);
    const bool small = tenths < 1000;
    return (small ? decimal(tenths / 10, static_cast<unsigned>(tenths % 10)) : groupedNumber((tenths + 5) / 10)) + " "
        + std::string(units[u]);
}

std::string hoursText(std::int64_t seconds)
{
    char out[32];
    std::snprintf(out, sizeof out, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
        static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return out;
}

std::string totalsLine(const VolumeData& v)
{
    return groupedNumber(v.files) + " file, " + byteSize(v.bytes) + ", " + hoursText(v.seconds) + " di musica, "
        + byteSize(v.freeBytes) + " liberi";
}

std::string entryLine(const TrackData& r)
{
    std::string out = byteSize(r.size);
    if (r.audio) {
        out += " · " + mp3::durationText(r.seconds) + " · " + std::to_string(r.kbps) + " kbps";
        std::string who = r.artist;
        if (!r.title.empty())
            who += (who.empty() ? "" : " - ") + r.title;
        std::string where = r.album;
        if (!r.year.empty())
            where += (where.empty() ? "" : ", ") + r.year;
        if (!where.empty())
            who += (who.empty() ? "(" : " (") + where + ")";
        if (!who.empty())
            out += " · " + who;
    }
    return out;
}

std::string staleLine(std::size_t stale)
{
    if (stale == 1)
        return "1 riga dei dati non corrisponde più a una voce del catalogo";
    return groupedNumber(stale) + " righe dei dati non corrispondono più a voci del catalogo";
}

} // namespace zondari::catalogue
