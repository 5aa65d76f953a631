#include "controls/QtText.h"

#include "platform/CodePage.h"

namespace {

// Characters that CP932 holds under another code point: what an input method types, and
// what the code page means by it.
constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
    {u'\u301C', u'\uFF5E'},  // WAVE DASH: FULLWIDTH TILDE
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE: PARALLEL TO
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN: FULLWIDTH HYPHEN-MINUS
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN: FULLWIDTH CENT SIGN
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN: FULLWIDTH POUND SIGN
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN: FULLWIDTH NOT SIGN
    {u'\u2014', u'\u2015'},  // EM DASH: HORIZONTAL BAR
};

}  // namespace

QString ToQt(std::string_view cp932) {
  const auto utf8 = cp932::ToUtf8(cp932);
  if (utf8) return QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));
  // Bytes that are not CP932 (a stray lead byte from a damaged file) are shown one by one.
  QString shown;
  for (const char byte : cp932)
    shown += QChar(static_cast<unsigned char>(byte));
  return shown;
}

std::optional<std::string> FromQt(const QString& text) {
  QString mapped = text;
  for (const auto& [typed, meant] : kLookAlikes)
    mapped.replace(QChar(typed), QChar(meant));
  const QByteArray utf8 = mapped.toUtf8();
  return cp932::FromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}
