#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The escapes of the XML data file. Writing copies CP932 text byte for byte except tab, line
// feed, carriage return, '"', '&', '\'', '<', '>' and '\\', which become references; the second
// byte of a double-byte character is never escaped, and a zero byte is dropped.
void AppendEscaped(std::string& out, std::string_view text);
// The same into `out`, which has room for 6 bytes for each byte of the text; gives the end.
char* EscapeTo(char* out, std::string_view text);

// The byte an '&' stands for, given the text after it, and the length of the reference after
// the '&' (0 when it starts none: the '&' stands for itself).
char DecodeReference(std::string_view afterAmpersand, std::size_t& length);

// Decodes an attribute value as read: "&#NNN;", "&#xHH;" (the number modulo 256) and the five
// named references; an '&' that starts none of them stays. In UTF-8 mode a two-byte sequence
// for U+0080 to U+00FF gives that single byte. Writes at most raw.size() bytes to `out` and
// gives the number written.
std::size_t Unescape(std::string_view raw, bool utf8, char* out);
