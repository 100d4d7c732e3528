#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Text inside the program is UTF-8. Files made by the Windows program are in
// Windows-1252; these turn bytes on disk into text and back.
namespace zondari::encoding {

bool isValidUtf8(std::string_view bytes);

// Length of the valid UTF-8 sequence at bytes[i], with its code point in
// `cp`; 0 when the byte there starts none (overlong forms and surrogates
// are not valid).
std::size_t utf8SequenceAt(std::string_view bytes, std::size_t i, char32_t& cp);

// Every byte maps to one character; the five bytes that Windows-1252 leaves
// undefined map to the C1 control characters of the same value.
std::string cp1252ToUtf8(std::string_view bytes);

// Each character as one Windows-1252 byte; nullopt when one does not fit.
std::optional<std::string> utf8ToCp1252(std::string_view text);

// Each character as one Windows-1252 byte; one that does not fit becomes
// `replacement` (ID3v1 fields).
std::string utf8ToCp1252Lossy(std::string_view text, char replacement = '?');

// Settings and catalogue files: UTF-8 when the bytes are valid UTF-8, else
// Windows-1252.
std::string decodeText(std::string_view bytes);

// Windows-1252 when every character fits, else UTF-8, so files stay readable
// by the Windows program and no name is ever lost.
std::string encodeText(std::string_view text);

// Code points of UTF-8 text; invalid bytes are taken one by one as
// Windows-1252 characters.
std::u32string toUtf32(std::string_view text);
std::string toUtf8(std::u32string_view text);
void appendUtf8(std::string& out, char32_t cp);

} // namespace zondari::encoding
