#pragma once

#include <string>
#include <string_view>

// The application title of an executable: its file name cut before the first ".", every
// character after the first in lower case ("TARNWICK.EXE" gives "Tarnwick").
std::string ApplicationTitleOf(std::string_view executablePath);

// The running executable's title, fixed at the first call.
const std::string& ApplicationTitle();
