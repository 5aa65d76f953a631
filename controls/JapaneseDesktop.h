#pragma once

#include <QFont>

// The fixed Japanese desktop the program was laid out for: the Japanese locale for Qt's own
// texts and calendars, and the Windows Japanese font names mapped to the fonts at hand.
void SetUpJapaneseDesktop();

enum class FontFace {
  ProportionalGothic,  // "ＭＳ Ｐゴシック"
  Gothic,              // "ＭＳ ゴシック"
  Mincho,              // "ＭＳ 明朝"
};

// A font of the face whose characters are `pixelHeight` pixels high (internal leading not
// counted), regular weight.
QFont WindowsFont(FontFace face, int pixelHeight);
