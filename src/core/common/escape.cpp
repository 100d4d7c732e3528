#include "core/common/escape.h"

#include <cstdio>

#include "core/common/encoding.h"

namespace zondari::text {
namespace {

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

void appendEscape(std::string& out, const char* format, unsigned value)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, format, value);
    out += buf;
}

} // namespace

std::string terminalText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        std::size_t len = encoding::utf8SequenceAt(text, i, c);
        if (len == 0) {
            len = 1;
            c = static_cast<unsigned char>(text[i]);
            if (c >= 0xA0) {
                out += text[i++];
                continue;
            }
        }
        if (isControl(c))
            appendEscape(out, "\\x%02X", static_cast<unsigned>(c));
        else
            out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t len = encoding::utf8SequenceAt(text, i, c);
        if (len == 0) {
            appendEscape(out, "\\udc%02x", static_cast<unsigned char>(text[i++]));
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (isControl(c)) {
            appendEscape(out, "\\u%04x", static_cast<unsigned>(c));
        } else {
            out.append(text.substr(i, len));
        }
        i += len;
    }
    return out + "\"";
}

} // namespace zondari::text
