#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The program's own texts are written in UTF-8 in the sources and used as CP932 inside the
// program: Cp932 converts such a literal (every one of them has a CP932 form).
std::string Cp932(std::string_view utf8Literal);

// Replaces each "%s" or "%d" of `pattern`, in order, by the next of `args`.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);
