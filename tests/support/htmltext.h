#pragma once

#include <string>
#include <utility>

namespace zondari::test {

// Text of a serialised document as it reads: the four entities a browser
// writes back when it serialises text and attributes.
inline std::string unescape(std::string s)
{
    for (const auto& [from, to] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
            s.replace(at, std::string(from).size(), to);
    return s;
}

// The file a file URL leads to, its %XX escapes decoded; as in a browser,
// a "#" ends the path.
inline std::string fileOf(const std::string& href)
{
    std::string out;
    for (std::size_t i = href.rfind("file://", 0) == 0 ? 7 : 0; i < href.size() && href[i] != '#'; ++i) {
        if (href[i] == '%' && i + 2 < href.size()) {
            out += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += href[i];
        }
    }
    return out;
}

} // namespace zondari::test
