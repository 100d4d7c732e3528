#include "core/catalogue/pages.h"

#include <array>
#include <utility>

#include "core/analysis/mp3analysis.h"
#include "core/catalogue/entry.h"
#include "core/common/encoding.h"
#include "core/common/text.h"

namespace zondari::catalogue {

void appendPageHead(std::string& out, std::string_view title)
{
    out += "<!DOCTYPE html>\r\n"
           "<html lang=\"it\">\r\n"
           "<head>\r\n"
           "<meta charset=\"utf-8\">\r\n"
           "<title>";
    out += title;
    out += "</title>\r\n"
           "</head>\r\n"
           "<body>\r\n";
}

namespace {

// The characters of HTML that text from a catalogue must not bring in.
void appendEscaped(std::string& out, std::string_view text)
{
    static constexpr auto kSpecial = [] {
        std::array<bool, 256> t{};
        t['&'] = t['<'] = t['>'] = t['"'] = true;
        return t;
    }();
    std::size_t done = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!kSpecial[static_cast<unsigned char>(text[i])])
            continue;
        out.append(text.data() + done, i - done);
        switch (text[i]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += "&quot;";
            break;
        }
        done = i + 1;
    }
    out.append(text.data() + done, text.size() - done);
}

void appendFileUrl(std::string& url, std::string_view path);

void appendFolderLine(std::string& out, std::string_view entry)
{
    out += "</p><p>";
    appendEscaped(out, entry);
    out += "<br>\r\n";
}

void appendLinkLine(std::string& out, std::string_view entry, std::string_view shown, const TrackData* row)
{
    // A file URL holds no character that HTML would take for markup.
    out += "<a href=\"";
    appendFileUrl(out, entry);
    out += "\">";
    appendEscaped(out, shown);
    out += "</a>";
    if (row)
        appendEscaped(out, figuresText(*row));
    out += "<br>\r\n";
}

// The row of a file entry, counted into `totals`; none for a folder entry
// or without data.
const TrackData* rowOf(const CatalogueData* data, std::string_view entry, DataTotals& totals)
{
    if (!data || data->empty() || isFolderEntry(entry))
        return nullptr;
    ++totals.files;
    const TrackData* row = data->row(entry);
    if (row) {
        totals.anyRow = true;
        totals.bytes += row->size;
        totals.seconds += row->seconds;
    }
    return row;
}

// The catalogue's totals under its entries: its volume file's, else what
// the rows of its listed files add up to (the free space is then unknown).
void appendTotals(std::string& out, const CatalogueData* data, DataTotals& totals)
{
    const DataTotals t = std::exchange(totals, DataTotals{});
    if (!data || data->empty())
        return;
    std::string line;
    if (data->volume)
        line = totalsLine(*data->volume);
    else if (t.anyRow)
        line = groupedNumber(t.files) + " file, " + byteSize(t.bytes) + ", " + hoursText(t.seconds) + " di musica";
    else
        return;
    out += "<b>Totali: ";
    appendEscaped(out, line);
    out += "</b><br>\r\n";
}

bool isDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Letters, digits and the marks a path may hold as they are; "&", "#", "?",
// "%", quotes, spaces and every byte of a non-ASCII letter are
// percent-encoded.
constexpr std::array<bool, 256> kKeptInUrl = [] {
    std::array<bool, 256> t{};
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = t[c + 32] = true;
    for (int c = '0'; c <= '9'; ++c)
        t[c] = true;
    for (const char* m = "-._~/!$'()*+,;=:@"; *m; ++m)
        t[static_cast<unsigned char>(*m)] = true;
    return t;
}();

void appendEncoded(std::string& out, std::string_view path, bool backslashIsSeparator)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    // At most three characters for each byte, written into a scratch buffer
    // that only grows, so that nothing is zero-filled per link.
    thread_local std::string scratch;
    if (scratch.size() < 3 * path.size())
        scratch.resize(3 * path.size());
    char* const begin = scratch.data();
    char* o = begin;
    for (char ch : path) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\' && backslashIsSeparator)
            c = '/';
        if (kKeptInUrl[c]) {
            *o++ = static_cast<char>(c);
        } else {
            *o++ = '%';
            *o++ = kHex[c >> 4];
            *o++ = kHex[c & 0xF];
        }
    }
    out.append(begin, static_cast<std::size_t>(o - begin));
}

void appendFileUrl(std::string& url, std::string_view path)
{
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
        // A path made on Windows: file:///C:/...
        url += "file:///";
        url += path.substr(0, 2);
        if (path.size() == 2)
            url += '/';
        appendEncoded(url, path.substr(2), true);
    } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        url += "file:"; // a network share: the server is the host
        appendEncoded(url, path, true);
    } else if (!path.empty() && path[0] == '/') {
        url += "file://";
        appendEncoded(url, path, false);
    } else {
        url += "file:///";
        appendEncoded(url, path, path.find('/') == std::string_view::npos);
    }
}

// A line of the general page and of "default.htm": a folder entry as a
// paragraph head, a file entry as a link named by its file name. `entry` as
// the program holds it; `utf8` says it is UTF-8 text.
void appendListed(std::string& out, std::string_view entry, bool utf8, const CatalogueData* data, DataTotals& totals)
{
    if (entry.empty() || entryTooLong(entry))
        return;
    const std::string shownName = utf8 ? std::string() : displayText(entry);
    const std::string_view shown = utf8 ? entry : std::string_view(shownName);
    if (isFolderEntry(entry))
        appendFolderLine(out, shown);
    else
        appendLinkLine(out, entry, fileNameOf(shown), rowOf(data, entry, totals));
}

// Lines of a catalogue as the program holds them.
struct HeldLines {
    std::string_view text;
    bool utf8; // every line is UTF-8
};

// The lines in `coding` as the program holds them (Windows-1252 decoded into
// `scratch`); nothing when `coding` is Undecided and some line is not UTF-8.
std::optional<HeldLines> holdLines(std::string_view lines, LineCoding coding, std::string& scratch)
{
    switch (coding) {
    case LineCoding::Windows1252:
        decodeCp1252Into(lines, scratch);
        return HeldLines{scratch, true};
    case LineCoding::Utf8:
        return HeldLines{lines, true};
    case LineCoding::Undecided:
        if (!encoding::isValidUtf8(lines))
            return std::nullopt;
        return HeldLines{lines, true};
    case LineCoding::RawNames:
        break;
    }
    return HeldLines{lines, encoding::isValidUtf8(lines)};
}

// The title line as a page shows it.
std::string shownTitle(std::string_view title, LineCoding coding)
{
    return htmlEscape(displayText(decodeTitleLine(cutTitle(title), coding)));
}

// The coding of a whole catalogue file in memory; the mark, when there is
// one, is taken off `bytes`.
LineCoding codingOf(std::string_view& bytes)
{
    if (bytes.starts_with(kRawNamesMark)) {
        bytes.remove_prefix(kRawNamesMark.size());
        return LineCoding::RawNames;
    }
    return encoding::isValidUtf8(bytes) ? LineCoding::Utf8 : LineCoding::Windows1252;
}

// Every line of `lines` as a listed entry (see holdLines); false at a line
// that is not UTF-8 while the coding is undecided.
bool listLines(std::string_view lines, LineCoding coding, std::string& decoded, std::string& out,
    const CatalogueData* data, DataTotals& totals)
{
    const auto held = holdLines(lines, coding, decoded);
    if (!held)
        return false;
    forEachLine(held->text, [&](std::string_view line) {
        appendListed(out, line, held->utf8 || encoding::isValidUtf8(line), data, totals);
    });
    return true;
}

} // namespace

std::string htmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

std::string fileUrl(std::string_view path)
{
    std::string url;
    url.reserve(path.size() + 16);
    appendFileUrl(url, path);
    return url;
}

std::optional<std::string> searchTextOf(std::string_view typed)
{
    if (!encoding::isValidUtf8(typed))
        return std::nullopt;
    std::string text;
    text.reserve(typed.size());
    for (char c : typed)
        if (c != '\r' && c != '\n')
            text += c;
    return text;
}

EntryMatcher::EntryMatcher(std::string_view text, bool caseSensitive)
    : needle_(caseSensitive ? std::string(text) : text::toUpper(text))
    , caseSensitive_(caseSensitive)
{
}

bool EntryMatcher::matches(std::string_view entry) const
{
    if (caseSensitive_)
        return entry.find(needle_) != std::string_view::npos;
    std::string folded;
    upperCaseInto(entry, folded);
    return folded.find(needle_) != std::string::npos;
}

std::string figuresText(const TrackData& row)
{
    std::string out = " (" + byteSize(row.size);
    if (row.audio)
        out += ", " + mp3::durationText(row.seconds) + ", " + std::to_string(row.kbps) + " kbps";
    return out + ")";
}

std::string exportPage(std::string_view title, const std::vector<std::string>& entries, const CatalogueData* data)
{
    std::string out;
    out.reserve(512 + entries.size() * 128);
    ExportPage page;
    page.setData(data);
    page.begin(out);
    page.beginCatalogue(title, LineCoding::RawNames, out);
    for (const std::string& entry : entries)
        page.addEntry(entry, out);
    page.endCatalogue(out);
    page.end(out);
    return out;
}

void ExportPage::begin(std::string& out) const
{
    appendPageHead(out, "Pagina HTML di Zondari");
    out += "<p><img src=\"chitarra_animata.gif\" alt=\"\" style=\"vertical-align: middle; border: 2px solid\">"
           "<span style=\"color: #FF0000; font-size: xxx-large\"><em><b> Zondari</b></em></span></p>\r\n";
}

void ExportPage::beginCatalogue(std::string_view title, LineCoding coding, std::string& out)
{
    totals_ = {}; // counted again when the catalogue is read again
    out += "<p>Raccolta musicale : \"";
    out += shownTitle(title, coding);
    out += "\" <br>\r\n";
}

bool ExportPage::addLines(std::string_view lines, LineCoding coding, std::string& out)
{
    return listLines(lines, coding, decoded_, out, data_, totals_);
}

void ExportPage::endCatalogue(std::string& out)
{
    appendTotals(out, data_, totals_);
}

void ExportPage::addEntry(std::string_view entry, std::string& out)
{
    appendListed(out, entry, encoding::isValidUtf8(entry), data_, totals_);
}

void ExportPage::end(std::string& out) const
{
    out += "</p></body>\r\n</html>\r\n";
}

DatabasePage::DatabasePage(PageRequest request)
    : request_(std::move(request))
    , matcher_({}, false)
{
    if (!request_.wholeDatabase()) {
        // The program's own callers refuse a text that is not UTF-8; any
        // other still gets a page that is.
        request_.text = searchTextOf(displayText(request_.text)).value_or(std::string());
        query_ = parseSearchQuery(request_.text);
        matcher_ = EntryMatcher(query_.rest, request_.caseSensitive);
    }
}

void DatabasePage::begin(std::string& out) const
{
    appendPageHead(out, std::string("Pagina HTML di Zondari - ") + request_.pageName());
    constexpr const char* kCell = "<td style=\"border: 1px solid #111111; padding: 0\">";
    out += "<table style=\"margin: 0 auto; border: 1px solid #111111; border-collapse: collapse\"><tr>";
    out += kCell;
    out += "<img src=\"cassarotante.gif\" alt=\"\" width=\"140\" height=\"105\" style=\"vertical-align: middle\">"
           "</td>\r\n";
    out += kCell;
    out += "<em><b style=\"font-size: xx-large\">&nbsp;Zondari&nbsp;&nbsp; </b></em></td>";
    out += kCell;
    out += "<img src=\"cassasaltante.gif\" alt=\"\" width=\"112\" height=\"100\"></td></tr></table>\r\n";
}

void DatabasePage::addCatalogue(std::string_view bytes, std::string& out)
{
    const LineCoding coding = codingOf(bytes);
    const std::size_t nl = bytes.find('\n');
    beginCatalogue(withoutLineEnd(bytes.substr(0, nl)), coding, out);
    if (nl != std::string_view::npos)
        addLines(bytes.substr(nl + 1), coding, out);
    endCatalogue(out);
}

void DatabasePage::beginCatalogue(std::string_view title, LineCoding coding, std::string& out)
{
    totals_ = {}; // counted again when the catalogue is read again
    out += "<p>Raccolta musicale : \"";
    out += shownTitle(title, coding);
    out += "\" </p><hr><p>\r\n";
}

bool DatabasePage::addLines(std::string_view lines, LineCoding coding, std::string& out)
{
    if (request_.wholeDatabase())
        return listLines(lines, coding, decoded_, out, data_, totals_);
    if (request_.caseSensitive || query_.hasFilters()) {
        const auto held = holdLines(lines, coding, decoded_);
        if (!held)
            return false;
        // With filters each line on its own: the rest may be empty, and
        // each entry's row decides.
        if (held->utf8 && !query_.hasFilters())
            addMatches(held->text, held->text, out);
        else
            addMatchesLineByLine(held->text, held->utf8, out);
        return true;
    }
    // Upper-casing finds out on the way whether the lines are UTF-8, which
    // spares a pass over the common catalogue.
    std::string_view text = lines;
    if (coding == LineCoding::Windows1252) {
        decodeCp1252Into(lines, decoded_);
        text = decoded_;
    }
    switch (foldUtf8(text, folded_)) {
    case Fold::Aligned:
        addMatches(text, folded_, out);
        return true;
    case Fold::Shifted: {
        const bool utf8
            = coding == LineCoding::Windows1252 || coding == LineCoding::Utf8 || encoding::isValidUtf8(text);
        if (!utf8 && coding == LineCoding::Undecided)
            return false;
        addMatchesLineByLine(text, utf8, out);
        return true;
    }
    case Fold::Invalid:
        break;
    }
    if (coding == LineCoding::Undecided)
        return false;
    addMatchesLineByLine(text, false, out);
    return true;
}

void DatabasePage::endCatalogue(std::string& out)
{
    // Totals are the whole catalogue's: the general page's alone.
    if (request_.wholeDatabase())
        appendTotals(out, data_, totals_);
    out += "</p>\r\n";
}

void DatabasePage::end(std::string& out) const
{
    if (!request_.wholeDatabase() && hits_ >= 1) {
        // The count stands between two spaces, as the program always wrote it.
        out += "<hr><p>Trovati  " + std::to_string(hits_) + " files contenenti la stringa : <b>";
        out += htmlEscape(request_.text);
        out += "</b></p>\r\n";
    }
    out += "</body>\r\n</html>\r\n";
}

void DatabasePage::addMatches(std::string_view text, std::string_view hay, std::string& out)
{
    const std::string& needle = matcher_.needle();
    // One search over the whole block (`hay` is `text` or its upper case,
    // letter for letter); each hit gives its line, and the search goes on
    // after that line.
    std::size_t from = 0;
    while (from < hay.size()) {
        const std::size_t hit = text::findBytes(hay, needle, from);
        if (hit == std::string_view::npos)
            break;
        const std::size_t before = hit == 0 ? std::string_view::npos : hay.rfind('\n', hit - 1);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        std::size_t stop = hay.find('\n', hit);
        if (stop == std::string_view::npos)
            stop = hay.size();
        const std::string_view entry = withoutLineEnd(text.substr(start, stop - start));
        addEntry(entry, entry, out);
        from = stop + 1;
    }
}

void DatabasePage::addMatchesLineByLine(std::string_view text, bool utf8, std::string& out)
{
    forEachLine(text, [&](std::string_view line) {
        if (utf8 || encoding::isValidUtf8(line)) {
            if (matcher_.matches(line))
                addEntry(line, line, out);
            return;
        }
        const std::string shown = displayText(line);
        if (matcher_.matches(shown))
            addEntry(line, shown, out);
    });
}

void DatabasePage::addEntry(std::string_view entry, std::string_view shown, std::string& out)
{
    if (entry.empty() || entryTooLong(entry))
        return;
    const bool folder = isFolderEntry(entry);
    const TrackData* row = data_ && !folder ? data_->row(entry) : nullptr;
    if (!passesFilters(query_.filters, row, request_.caseSensitive))
        return;
    if (folder) {
        if (request_.folders)
            appendFolderLine(out, shown);
        return;
    }
    appendLinkLine(out, entry, shown, row);
    ++hits_;
}

} // namespace zondari::catalogue
