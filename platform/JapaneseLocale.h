#pragma once

#include <optional>
#include <string>
#include <string_view>

// The fixed Japanese locale the program always runs under, whatever the environment says.
namespace japanese_locale {

// Short date format: year/month/day with "/", four-digit year, two-digit month and day
// ("2004/06/08"). Day numbers outside years 1 to 9999 give empty text.
std::string FormatShortDate(int dayNumber);

// Reads year/month/day as written by FormatShortDate; one-digit month and day ("2004/6/8")
// and blanks around the text are accepted too. nullopt when the text is not a valid date.
std::optional<int> ParseShortDate(std::string_view text);

}  // namespace japanese_locale
