#include "controls/ByteLimit.h"

#include "controls/QtText.h"

namespace byte_limit {

std::optional<std::size_t> BytesOf(const QString& text) {
  const auto bytes = FromQt(text);
  if (!bytes) return std::nullopt;
  return bytes->size() + static_cast<std::size_t>(text.count(QChar('\n')));
}

QString FittingPart(const QString& inserted, std::size_t room) {
  QString fitting;
  std::size_t used = 0;
  for (qsizetype i = 0; i < inserted.size();) {
    // A surrogate pair is one character.
    const qsizetype length = inserted[i].isHighSurrogate() && i + 1 < inserted.size() ? 2 : 1;
    const QString character = inserted.mid(i, length);
    const auto bytes = BytesOf(character);
    if (!bytes || used + *bytes > room) break;
    used += *bytes;
    fitting += character;
    i += length;
  }
  return fitting;
}

}  // namespace byte_limit
