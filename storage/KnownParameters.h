#pragma once

#include <optional>
#include <string_view>

#include "storage/FieldKind.h"

// The parameters whose names the data files know, with the kind of their value; any other
// parameter is a string, and the XML writer gives it a "PARAM" element of its own.
std::optional<FieldKind> KnownParameterKind(std::string_view name);
