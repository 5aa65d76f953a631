#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "storage/Structure.h"

// Conversions between a field's stored value (see EntryLayout) and text: the text the record
// store gives and takes, and the text of a value in the XML data file.

// The field's value as text: a date in the short date format, strings and memos as they are.
std::string FieldText(const Field& field, std::string_view value);

// The stored value for a text written into the field; nullopt makes it absent. A string is cut
// to the field's width without splitting a double-byte character and loses its trailing
// spaces. Fails with "'%s' is not a valid date" (or "... valid value" for other kinds).
std::optional<std::string> ValueFromFieldText(const Field& field, std::string_view text);

// The value's text in the XML data file, before escaping.
std::string XmlText(const Field& field, std::string_view value);

// Writes the value as the file writes it, escaped, and gives the end. `out` has room for
// kXmlValueSlack bytes and 6 for each byte of the value; the kind must have a word.
constexpr std::size_t kXmlValueSlack = 48;
char* XmlValueTo(char* out, const Field& field, std::string_view value);

// The value the file's text `decoded` (references already resolved) stands for; nullopt when
// it does not decode, which makes the value absent. Dates decode from `raw`.
std::optional<std::string> ValueFromXmlText(const Field& field, std::string_view raw,
                                            std::string_view decoded);

// Date texts of the file: "20050612" from day 732109; reading takes the value's digits in
// order (four for the year, two for the month, one or two for the day) and skips the rest.
char* XmlDateTo(char* out, int dayNumber);
std::optional<int> DayNumberFromXmlDate(std::string_view raw);

// Whether a stored value can stand for its kind: a date within years 1 to 9999, a time
// within its day.
bool IsValidStoredValue(const Field& field, std::string_view value);
