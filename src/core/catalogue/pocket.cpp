#include "core/catalogue/pocket.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/catalogue/cataloguereader.h"
#include "core/catalogue/entry.h"
#include "core/catalogue/folding.h"
#include "core/catalogue/pageout.h"
#include "core/catalogue/pages.h"
#include "core/common/encoding.h"
#include "core/common/text.h"
// kPocketScript: the page's script, assets/tascabile.js, embedded at build
// time. Searching about a million paths as the user types: the folders and
// the names are searched apart, each in one long text (a folder that holds
// the text makes all its files match; a text with a "/" or "\" in it can
// only span a folder's end and a name's start), upper-cased once at load,
// and only the first thousand hits become part of the page. A newer
// keystroke drops the search an older one had queued.
#include "pocketscript.h"

namespace zondari::catalogue {

namespace {

// The upper case of every character beyond ASCII that has one, as the
// search dialog takes it: runs of [first, count, step, difference], each
// character first + k*step becoming itself plus the difference.
const std::string& upperCaseTable()
{
    static const std::string table = [] {
        struct Run {
            char32_t first = 0, step = 0;
            long delta = 0;
            std::size_t count = 0;
        };
        std::vector<Run> runs;
        for (char32_t cp = 0x80; cp < 0x110000; ++cp) {
            if (cp >= 0xD800 && cp < 0xE000)
                continue;
            // One character at a time, with no text made for it: the
            // table walks every character there is.
            const char32_t up = text::upperChar(cp);
            if (up == cp || up >= 0x110000 || (up >= 0xD800 && up < 0xE000))
                continue;
            const long delta = static_cast<long>(up) - static_cast<long>(cp);
            if (!runs.empty()) {
                Run& r = runs.back();
                const char32_t last = r.first + static_cast<char32_t>(r.count - 1) * r.step;
                if (r.delta == delta && (r.count == 1 || cp - last == r.step) && cp - last <= 2) {
                    r.step = cp - last;
                    ++r.count;
                    continue;
                }
            }
            runs.push_back({cp, 1, delta, 1});
        }
        std::string out = "[";
        for (const Run& r : runs) {
            out += std::to_string(r.first) + ',' + std::to_string(r.count) + ',' + std::to_string(r.step) + ','
                + std::to_string(r.delta) + ",";
        }
        if (out.size() > 1)
            out.pop_back();
        out += ']';
        return out;
    }();
    return table;
}

// The head of the page and the search form, up to the data's script.
constexpr const char* kHead = R"HTML(<!DOCTYPE html>
<html lang="it">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Catalogo tascabile di Zondari</title>
<style>
body { font-family: Tahoma, Verdana, sans-serif; margin: 0 auto; padding: 0.5em 1em; max-width: 70em; }
h1 { font-size: 1.6em; font-style: italic; margin: 0.3em 0; }
form { position: sticky; top: 0; background: #fff; padding: 0.4em 0; border-bottom: 1px solid #888; }
#q { font-size: 1.2em; width: 100%; box-sizing: border-box; padding: 0.3em; }
label { display: inline-block; margin: 0.3em 1.5em 0 0; }
#stato { font-weight: bold; }
h2 { font-size: 1.1em; margin: 1em 0 0 0; border-top: 1px solid #ccc; padding-top: 0.4em; }
.file { color: #555; font-size: 0.9em; margin: 0 0 0.3em 0; }
.dati { float: right; margin-left: 1em; color: #555; font-size: 0.9em; }
.cartella { margin: 0.4em 0 0 0; color: #333; }
#risultati a { display: block; overflow-wrap: anywhere; padding: 0.1em 0; }
#risultati a.suona { display: inline; float: left; margin-right: 0.5em; text-decoration: none; }
.blocco { content-visibility: auto; contain-intrinsic-size: auto 80em; }
</style>
</head>
<body>
<h1>Zondari - Catalogo tascabile</h1>
<form role="search" onsubmit="return false">
<input id="q" type="search" autocomplete="off" spellcheck="false" disabled
 placeholder="Cerca: canzone, autore, titolo oppure anche una parte solamente"
 aria-label="Testo da cercare in tutti i CD e le cartelle">
<label><input id="cartelle" type="checkbox" checked> Cerca anche nel nome delle cartelle</label>
<label><input id="maiuscole" type="checkbox"> Considera diverso MAIUSCOLO/minuscolo</label>
</form>
<p id="stato" role="status">Caricamento del catalogo...</p>
<div id="risultati"></div>
<p><button id="altri" type="button" hidden>Mostra altri risultati</button></p>
<script type="text/plain" id="dati">)HTML";

} // namespace

void appendDataText(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::size_t done = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '<' && c != 0x7F)
            continue;
        out.append(text.data() + done, i - done);
        out += kDataEscape;
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
        done = i + 1;
    }
    out.append(text.data() + done, text.size() - done);
}

void PocketPage::begin(std::string& out) const
{
    out += kHead;
}

void PocketPage::beginCatalogue(std::string_view name, std::string_view title, LineCoding coding)
{
    name_ = displayText(name);
    title_ = displayText(decodeTitleLine(cutTitle(title), coding));
    names_.clear();
    folders_.clear();
    items_.clear();
    links_.clear();
    folderIds_.clear();
    pairs_.clear();
    words_.clear();
    data_.clear();
    wordIds_.clear();
    dataRows_ = 0;
    havePrevious_ = false;
    files_ = 0;
    runLength_ = 0;
}

bool PocketPage::addLines(std::string_view lines, LineCoding coding)
{
    std::string_view text = lines;
    bool allUtf8 = false;
    switch (coding) {
    case LineCoding::Windows1252:
        decodeCp1252Into(lines, decoded_);
        text = decoded_;
        allUtf8 = true;
        break;
    case LineCoding::Utf8:
        allUtf8 = true;
        break;
    case LineCoding::Undecided:
        if (!encoding::isValidUtf8(lines))
            return false;
        allUtf8 = true;
        break;
    case LineCoding::RawNames:
        allUtf8 = encoding::isValidUtf8(lines);
        break;
    }
    forEachLine(text, [&](std::string_view line) {
        if (line.empty() || entryTooLong(line))
            return;
        if (allUtf8 || encoding::isValidUtf8(line)) {
            addEntry(line, line, true);
        } else {
            const std::string shown = displayText(line);
            addEntry(line, shown, false);
        }
    });
    return true;
}

void PocketPage::addEntry(std::string_view entry, std::string_view shown, bool utf8)
{
    if (isFolderEntry(shown)) {
        std::string_view inner = shown.substr(1);
        const bool closed = inner.ends_with(')');
        if (closed)
            inner.remove_suffix(1);
        // Kept with a separator after it, the folder is the one its files
        // name, and is written once for both.
        const std::size_t sep = inner.find_last_of("/\\");
        std::string folder(inner);
        folder += sep == std::string_view::npos ? '/' : inner[sep];
        const std::size_t f = folderIndex(folder);
        closeRun();
        items_ += std::to_string(f * 4 + (closed ? 1 : 2));
        items_ += ',';
        return;
    }
    const std::size_t cut = shown.find_last_of("/\\");
    const std::string_view folder = cut == std::string_view::npos ? std::string_view() : shown.substr(0, cut + 1);
    const std::string_view name = cut == std::string_view::npos ? shown : shown.substr(cut + 1);
    const std::size_t f = folderIndex(folder);
    if (runLength_ > 0 && runFolder_ != f)
        closeRun();
    runFolder_ = f;
    ++runLength_;
    appendDataText(names_, name);
    names_ += '\n';
    noteCharacters(name);
    notePairs(name);
    if (!utf8) {
        // A file URL is ASCII without spaces or "<".
        links_ += std::to_string(files_);
        links_ += ' ';
        links_ += fileUrl(entry);
        links_ += ' ';
    }
    ++files_;
    addData(entry);
}

void PocketPage::addData(std::string_view entry)
{
    if (rows_.empty())
        return;
    const auto row = rows_.find(entry);
    if (row != rows_.end()) {
        const TrackData& r = row->second;
        ++dataRows_;
        if (!r.audio) {
            data_ += word(byteSize(r.size));
        } else {
            const std::array<std::string, 8> fields = {std::to_string(r.seconds), std::to_string(r.kbps),
                word(byteSize(r.size)), word(r.title), word(r.artist), word(r.album), word(r.year), word(r.genre)};
            // A field as the file before has it is left empty, and so are
            // those at the end of the line: an album's tracks share most.
            std::size_t last = 1;
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (!havePrevious_ || fields[i] != previous_[i])
                    last = std::max(last, i);
            for (std::size_t i = 0; i <= last; ++i) {
                if (i > 0)
                    data_ += ',';
                if (!havePrevious_ || fields[i] != previous_[i])
                    data_ += fields[i];
            }
            previous_ = fields;
            havePrevious_ = true;
        }
    }
    data_ += '\n';
}

std::string PocketPage::word(std::string_view text)
{
    if (text.empty())
        return "-";
    std::string shown = displayText(text);
    std::replace(shown.begin(), shown.end(), '\n', '\r');
    const auto [at, added] = wordIds_.try_emplace(shown, wordIds_.size());
    if (added) {
        appendDataText(words_, shown);
        words_ += '\n';
        // Counted, so that the page upper-cases its letters as the search does.
        noteCharacters(shown);
    }
    return std::to_string(at->second);
}

std::size_t PocketPage::folderIndex(std::string_view folder)
{
    const auto [at, added] = folderIds_.try_emplace(std::string(folder), folderIds_.size());
    if (added) {
        appendDataText(folders_, folder);
        folders_ += '\n';
        noteCharacters(folder);
        notePairs(folder);
    }
    return at->second;
}

void PocketPage::closeRun()
{
    if (runLength_ == 0)
        return;
    items_ += std::to_string(runFolder_ * 4);
    items_ += ',';
    items_ += std::to_string(runLength_);
    items_ += ',';
    runLength_ = 0;
}

void PocketPage::noteCharacters(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++ascii_[static_cast<unsigned char>(text[i])];
            continue;
        }
        std::size_t len = 1;
        while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80)
            ++len;
        for (char32_t cp : encoding::toUtf32(text.substr(i, len)))
            ++others_[cp];
        i += len - 1;
    }
}

void PocketPage::endCatalogue(std::string& out)
{
    closeRun();
    if (!items_.empty())
        items_.pop_back();
    if (!links_.empty())
        links_.pop_back();
    appendDataText(out, title_);
    out += '\n';
    appendDataText(out, name_);
    out += '\n';
    out += std::to_string(folderIds_.size()) + ',' + std::to_string(files_);
    if (!items_.empty())
        out += ',';
    out += items_;
    out += '\n';
    out += links_;
    out += '\n';
    appendPairFilter(out);
    const bool data = dataRows_ > 0;
    if (data)
        out += ' ' + std::to_string(wordIds_.size());
    out += '\n';
    out += folders_;
    out += names_;
    ++summary_.catalogues;
    summary_.files += files_;
    summary_.lines += 5 + folderIds_.size() + files_;
    if (data) {
        out += words_;
        out += data_;
        summary_.lines += wordIds_.size() + files_;
    }
    rows_.clear();
    wordIds_ = {};
    for (std::string* text : {&names_, &folders_, &items_, &links_, &words_, &data_}) {
        text->clear();
        text->shrink_to_fit(); // a big catalogue's memory goes back before the next
    }
    folderIds_ = {};
    pairs_ = {};
}

void PocketPage::notePairs(std::string_view text)
{
    // As the page holds the text upper-cased: UTF-16 units.
    upperCaseInto(text, folded_);
    std::uint32_t last = 0;
    bool first = true;
    const auto unit = [&](std::uint32_t u) {
        if (!first)
            pairs_.insert(last << 16 | u);
        last = u;
        first = false;
    };
    for (char32_t cp : encoding::toUtf32(folded_)) {
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
}

void PocketPage::appendPairFilter(std::string& out) const
{
    // About eight bits for each pair, so that a pair the catalogue lacks
    // is taken for present about once in eight, in 64 to 8192 bits.
    int bits = 6;
    while (bits < 13 && (std::size_t(1) << bits) < 8 * pairs_.size())
        ++bits;
    std::vector<unsigned char> set(std::size_t(1) << (bits - 3));
    for (std::uint32_t pair : pairs_) {
        const std::uint32_t h = (pair * 0x9E3779B1u) >> (32 - bits);
        set[h >> 3] |= static_cast<unsigned char>(1u << (h & 7));
    }
    static constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out += std::to_string(bits);
    out += ' ';
    for (std::size_t i = 0; i < set.size(); i += 3) {
        const std::uint32_t n = std::uint32_t(set[i]) << 16 | std::uint32_t(i + 1 < set.size() ? set[i + 1] : 0) << 8
            | (i + 2 < set.size() ? set[i + 2] : 0);
        out += kBase64[n >> 18];
        out += kBase64[(n >> 12) & 63];
        out += i + 1 < set.size() ? kBase64[(n >> 6) & 63] : '=';
        out += i + 2 < set.size() ? kBase64[n & 63] : '=';
    }
}

void PocketPage::end(std::string& out) const
{
    out += "</script>\n<script>\nconst LINES = " + std::to_string(summary_.lines) + ";\nconst UPPER = ";
    out += upperCaseTable();
    out += ";\nconst COUNTS = [";
    std::vector<std::pair<char32_t, std::uint64_t>> counts(others_.begin(), others_.end());
    for (char32_t c = 0; c < ascii_.size(); ++c)
        if (ascii_[c] > 0)
            counts.emplace_back(c, ascii_[c]);
    std::sort(counts.begin(), counts.end());
    for (const auto& [c, n] : counts)
        out += std::to_string(c) + ',' + std::to_string(n) + ',';
    if (!counts.empty())
        out.pop_back();
    out += "];\n</script>\n<script>\n";
    out += kPocketScript;
    out += "</script>\n</body>\n</html>\n";
}

Result<PocketSummary> makePocketPage(ByteSink& sink, const std::vector<std::string>& catalogues,
    const SourceOpener& open, const PageProgress& progress, const SideRows& rows)
{
    PageOut file(sink);
    PocketPage page;
    std::string out;
    page.begin(out);
    const auto add = [&](const std::string& path, CatalogueReader& reader) -> Status {
        const std::string_view name = std::string_view(path).substr(path.find_last_of('/') + 1);
        if (rows) {
            std::map<std::string, TrackData, std::less<>> byEntry;
            rows(path, [&](TrackData&& row) {
                // The first row of an entry counts, as in the window.
                std::string entry = row.entry;
                byEntry.try_emplace(std::move(entry), std::move(row));
            });
            page.takeRows(std::move(byEntry));
        }
        const auto pass = [&](LineCoding coding) -> Status {
            page.beginCatalogue(name, reader.title(), coding);
            return {};
        };
        const auto take
            = [&](std::string_view lines, LineCoding coding) -> Result<bool> { return page.addLines(lines, coding); };
        // A catalogue that fails on the way is dropped by the next
        // beginCatalogue: nothing of it is on the page yet.
        if (auto st = readCatalogueLines(reader, pass, take); !st)
            return st;
        page.endCatalogue(out);
        return file.flush(out);
    };
    auto leftOut = forEachCatalogue(catalogues, open, progress, add);
    if (!leftOut)
        return leftOut.error();
    page.end(out);
    if (auto st = file.flush(out, true); !st)
        return st.error();
    PocketSummary summary = page.summary();
    summary.leftOut = std::move(*leftOut);
    return summary;
}

} // namespace zondari::catalogue
