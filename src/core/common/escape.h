#pragma once

#include <string>
#include <string_view>

// Text from files, tags and names made safe for where it is printed.
namespace zondari::text {

// For a terminal: every control character (C0 with tab and line feed, DEL,
// and C1 from U+0080 to U+009F) becomes "\xHH", so that a name or a tag can
// neither move the cursor, clear the screen or write the clipboard through
// an escape sequence, nor forge a line of its own. A byte from 0x80 to 0x9F
// that is not part of UTF-8 is escaped too (a terminal that is not in UTF-8
// takes it for a C1 control); other bytes and backslashes stay as they are.
std::string terminalText(std::string_view text);

// A JSON string with its quotes. Control characters are escaped as JSON
// escapes them; each byte that is not UTF-8 becomes "\udcXX", the lone
// surrogate that Python's "surrogateescape" decodes it to, so that a script
// gets the real bytes of a name back.
std::string jsonString(std::string_view text);

} // namespace zondari::text
