#pragma once

#include <QString>

#include <optional>
#include <string>

// The byte limit of an input: its text counted in CP932 bytes, a line break as two.
namespace byte_limit {

// Bytes of the text as the program holds it (line breaks as CR LF); nullopt when the text
// has a character CP932 cannot write.
std::optional<std::size_t> BytesOf(const QString& text);

// The longest start of `inserted` whose bytes fit in `room`, never splitting a character.
QString FittingPart(const QString& inserted, std::size_t room);

}  // namespace byte_limit
