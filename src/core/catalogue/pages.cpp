#include "core/catalogue/pages.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string.h>  // memmem

#include "core/catalogue/entry.h"
#include "core/common/encoding.h"
#include "core/common/text.h"

namespace zondari::catalogue {
namespace {

// The head every page shares, up to and including "<body>".
void appendHead(std::string& out, std::string_view title)
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

std::string_view withoutCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

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
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += "&quot;"; break;
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

void appendLinkLine(std::string& out, std::string_view entry, std::string_view shown)
{
    // A file URL holds no character that HTML would take for markup.
    out += "<a href=\"";
    appendFileUrl(out, entry);
    out += "\">";
    appendEscaped(out, shown);
    out += "</a><br>\r\n";
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
        url += "file:";  // a network share: the server is the host
        appendEncoded(url, path, true);
    } else if (!path.empty() && path[0] == '/') {
        url += "file://";
        appendEncoded(url, path, false);
    } else {
        url += "file:///";
        appendEncoded(url, path, path.find('/') == std::string_view::npos);
    }
}

// Windows-1252 bytes as UTF-8 into `out`, whose memory is reused; the
// upper half of the code page is looked up.
void decodeCp1252Into(std::string_view bytes, std::string& out)
{
    struct Utf8 {
        char bytes[3];
        unsigned char size;
    };
    static const auto upperHalf = [] {
        std::array<Utf8, 128> t{};
        for (int b = 0x80; b < 0x100; ++b) {
            const char byte = static_cast<char>(b);
            const std::string u = encoding::cp1252ToUtf8(std::string_view(&byte, 1));
            auto& e = t[static_cast<std::size_t>(b - 0x80)];
            e.size = static_cast<unsigned char>(u.size());
            std::memcpy(e.bytes, u.data(), u.size());
        }
        return t;
    }();
    out.resize(3 * bytes.size());
    char* o = out.data();
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            *o++ = ch;
        } else {
            const Utf8& e = upperHalf[c - 0x80];
            std::memcpy(o, e.bytes, 3);
            o += e.size;
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

// Upper cases of the characters U+0080..U+07FF (two bytes in UTF-8), where
// the accented letters of most scripts lie, looked up rather than asked of
// the C library one at a time.
const std::array<char32_t, 0x800>& twoByteUpper()
{
    static const auto table = [] {
        std::array<char32_t, 0x800> t{};
        for (char32_t cp = 0; cp < t.size(); ++cp) {
            std::string one;
            encoding::appendUtf8(one, cp);
            const std::u32string up = encoding::toUtf32(text::toUpper(one));
            t[cp] = up.size() == 1 ? up[0] : cp;
        }
        return t;
    }();
    return table;
}

enum class Fold { Aligned, Shifted, Invalid };

// Upper-cases `text` into `out` byte for byte where it can. ASCII goes in a
// loop the compiler vectorises; the letters beyond ASCII are then mended in
// place. Shifted: some upper case has another length (out is not finished);
// Invalid: `text` is not UTF-8 (out is not finished).
Fold foldUtf8(std::string_view text, std::string& out)
{
    const std::size_t n = text.size();
    out.resize(n);
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    // Eight letters at a time: in each byte below 0x80, a..z lose their
    // 0x20 bit; bytes from 0x80 up stay as they are.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x80 * kOnes;
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, in + i, 8);
        seen |= w;
        const std::uint64_t low7 = w & ~kHigh;
        const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes;  // high bit: byte >= 'a'
        const std::uint64_t pastZ = low7 + (0x7F - 'z') * kOnes;  // high bit: byte > 'z'
        const std::uint64_t lower = (fromA ^ pastZ) & ~w & kHigh;
        w ^= lower >> 2;
        std::memcpy(o + i, &w, 8);
    }
    for (; i < n; ++i) {
        const unsigned char c = in[i];
        seen |= c;
        o[i] = static_cast<unsigned char>(c - 'a') < 26 ? static_cast<unsigned char>(c - 32) : c;
    }
    if (!(seen & kHigh))
        return Fold::Aligned;

    const auto& table = twoByteUpper();
    i = 0;
    while (i < n) {
        // Skip ASCII eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            if (word & 0x8080808080808080ull)
                break;
            i += 8;
        }
        while (i < n && in[i] < 0x80)
            ++i;
        if (i >= n)
            break;
        const unsigned char b0 = in[i];
        if ((b0 & 0xE0) == 0xC0 && i + 1 < n && (in[i + 1] & 0xC0) == 0x80) {
            const char32_t cp = (char32_t(b0 & 0x1F) << 6) | (in[i + 1] & 0x3F);
            if (cp < 0x80)
                return Fold::Invalid;  // overlong
            const char32_t up = table[cp];
            if (up < 0x80 || up >= 0x800)
                return Fold::Shifted;
            o[i] = static_cast<unsigned char>(0xC0 | (up >> 6));
            o[i + 1] = static_cast<unsigned char>(0x80 | (up & 0x3F));
            i += 2;
            continue;
        }
        std::size_t len = (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > n)
            return Fold::Invalid;
        const std::string_view seq = text.substr(i, len);
        if (!encoding::isValidUtf8(seq))
            return Fold::Invalid;
        const std::string up = text::toUpper(seq);
        if (up.size() != len)
            return Fold::Shifted;
        std::memcpy(o + i, up.data(), len);
        i += len;
    }
    return Fold::Aligned;
}

std::size_t findIn(std::string_view hay, std::string_view needle, std::size_t from)
{
    if (from > hay.size())
        return std::string_view::npos;
    const void* p = ::memmem(hay.data() + from, hay.size() - from, needle.data(), needle.size());
    return p ? static_cast<std::size_t>(static_cast<const char*>(p) - hay.data()) : std::string_view::npos;
}

}  // namespace

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

std::string exportPage(std::string_view title, const std::vector<std::string>& entries)
{
    std::string out;
    out.reserve(512 + entries.size() * 128);
    appendHead(out, "Pagina HTML di Zondari");
    out += "<p><img src=\"chitarra_animata.gif\" alt=\"\" style=\"vertical-align: middle; border: 2px solid\">"
           "<span style=\"color: #FF0000; font-size: xxx-large\"><em><b> Zondari</b></em></span></p>\r\n";
    out += "<p>Raccolta musicale : \"";
    out += htmlEscape(title);
    out += "\" <br>\r\n";
    for (const std::string& entry : entries) {
        if (entry.empty())
            continue;
        if (isFolderEntry(entry))
            appendFolderLine(out, entry);
        else
            appendLinkLine(out, entry, fileNameOf(entry));
    }
    out += "</p></body>\r\n</html>\r\n";
    return out;
}

bool upperCaseInto(std::string_view text, std::string& out)
{
    if (foldUtf8(text, out) == Fold::Aligned)
        return true;
    out = text::toUpper(text);
    return false;
}

EntryMatcher::EntryMatcher(std::string_view text, bool caseSensitive)
    : needle_(caseSensitive ? std::string(text) : text::toUpper(text)), caseSensitive_(caseSensitive)
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

DatabasePage::DatabasePage(PageRequest request)
    : request_(std::move(request)), matcher_(request_.text, request_.caseSensitive)
{
}

void DatabasePage::begin(std::string& out) const
{
    appendHead(out, std::string("Pagina HTML di Zondari - ") + request_.pageName());
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
    // Catalogues made on Windows are Windows-1252; the rest is UTF-8. The
    // case-insensitive search finds out while it folds, sparing a pass.
    std::string_view text = bytes;
    Fold fold = Fold::Invalid;  // not folded
    if (!request_.wholeDatabase() && !request_.caseSensitive) {
        fold = foldUtf8(text, folded_);
        if (fold == Fold::Invalid) {
            decodeCp1252Into(bytes, decoded_);
            text = decoded_;
            fold = foldUtf8(text, folded_);
        }
    } else if (!encoding::isValidUtf8(bytes)) {
        decodeCp1252Into(bytes, decoded_);
        text = decoded_;
    }

    const std::size_t nl = text.find('\n');
    const std::size_t from = nl == std::string_view::npos ? text.size() : nl + 1;
    out += "<p>Raccolta musicale : \"";
    out += htmlEscape(withoutCr(text.substr(0, nl)));
    out += "\" </p><hr><p>\r\n";

    if (request_.wholeDatabase())
        addAll(text, from, out);
    else if (request_.caseSensitive)
        addMatches(text, text, from, out);
    else if (fold == Fold::Aligned)
        addMatches(text, folded_, from, out);
    else
        addMatchesLineByLine(text, from, out);
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

void DatabasePage::addAll(std::string_view text, std::size_t from, std::string& out) const
{
    while (from < text.size()) {
        std::size_t nl = text.find('\n', from);
        if (nl == std::string_view::npos)
            nl = text.size();
        const std::string_view entry = withoutCr(text.substr(from, nl - from));
        if (isFolderEntry(entry))
            appendFolderLine(out, entry);
        else if (!entry.empty())
            appendLinkLine(out, entry, fileNameOf(entry));
        from = nl + 1;
    }
}

void DatabasePage::addMatches(std::string_view text, std::string_view hay, std::size_t from, std::string& out)
{
    const std::string& needle = matcher_.needle();
    if (needle.find_first_of("\r\n") != std::string::npos)
        return;  // no entry holds a line end
    // One search over the whole catalogue (`hay` is `text` or its upper
    // case, letter for letter); each hit gives its line, and the search goes
    // on after that line.
    while (from < hay.size()) {
        const std::size_t hit = findIn(hay, needle, from);
        if (hit == std::string_view::npos)
            break;
        const std::size_t before = hit == 0 ? std::string_view::npos : hay.rfind('\n', hit - 1);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        std::size_t stop = hay.find('\n', hit);
        if (stop == std::string_view::npos)
            stop = hay.size();
        addEntry(withoutCr(text.substr(start, stop - start)), out);
        from = stop + 1;
    }
}

void DatabasePage::addMatchesLineByLine(std::string_view text, std::size_t from, std::string& out)
{
    while (from < text.size()) {
        std::size_t nl = text.find('\n', from);
        if (nl == std::string_view::npos)
            nl = text.size();
        const std::string_view entry = withoutCr(text.substr(from, nl - from));
        if (matcher_.matches(entry))
            addEntry(entry, out);
        from = nl + 1;
    }
}

void DatabasePage::addEntry(std::string_view entry, std::string& out)
{
    if (entry.empty())
        return;
    if (isFolderEntry(entry)) {
        if (request_.folders)
            appendFolderLine(out, entry);
        return;
    }
    appendLinkLine(out, entry, entry);
    ++hits_;
}

}  // namespace zondari::catalogue
