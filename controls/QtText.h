#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Text crosses between the program (CP932 bytes) and Qt (UTF-16) only here.
QString ToQt(std::string_view cp932);
// nullopt when the text holds a character that CP932 cannot write. Characters that input
// methods on Linux give in place of their CP932 look-alikes (WAVE DASH for the full-width
// tilde, and the like) are taken as those.
std::optional<std::string> FromQt(const QString& text);
