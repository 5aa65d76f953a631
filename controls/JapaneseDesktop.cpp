#include "controls/JapaneseDesktop.h"

#include <QLocale>

namespace {

const char* FamilyName(FontFace face) {
  switch (face) {
    case FontFace::ProportionalGothic:
      return "ＭＳ Ｐゴシック";
    case FontFace::Gothic:
      return "ＭＳ ゴシック";
    case FontFace::Mincho:
      return "ＭＳ 明朝";
  }
  return "ＭＳ Ｐゴシック";
}

// The font packages carry no aliases for the Windows names. The proportional gothic goes to
// IPAGothic as well: its digits are 6 pixels wide at 12 pixels, as the layout was drawn for
// (a date fits its 70-pixel column, the column widths come out as intended), where
// IPAPGothic's are 8.
const char* SubstituteName(FontFace face) {
  return face == FontFace::Mincho ? "IPAMincho" : "IPAGothic";
}

}  // namespace

void SetUpJapaneseDesktop() {
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  for (const FontFace face : {FontFace::ProportionalGothic, FontFace::Gothic, FontFace::Mincho}) {
    QFont::insertSubstitution(QString::fromUtf8(FamilyName(face)), SubstituteName(face));
  }
}

QFont WindowsFont(FontFace face, int pixelHeight) {
  // The font found by its own family name: looking up the Windows name and its substitute
  // costs a font-configuration query for every font at start-up.
  QFont font(QString::fromLatin1(SubstituteName(face)));
  font.setPixelSize(pixelHeight);
  font.setWeight(QFont::Normal);
  // The IPA fonts hold every character of the code page: no other font is ever needed, and
  // not asking for fallbacks saves a font-configuration search for each font.
  font.setStyleStrategy(QFont::NoFontMerging);
  // The bytecode hinting the fonts carry, as the desktop the layout was drawn for renders them;
  // light hinting would run the auto-fitter over every glyph of these large faces first.
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}
