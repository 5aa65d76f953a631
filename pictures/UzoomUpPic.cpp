#include "pictures/UzoomUpPic.h"

#include "controls/JapaneseDesktop.h"
#include "controls/QtText.h"
#include "controls/SystemColors.h"
#include "platform/MessageText.h"

TfrmZoomUpPic* frmZoomUpPic = nullptr;

TfrmZoomUpPic::TfrmZoomUpPic() {
  setWindowTitle(ToQt(Cp932("画像拡大表示画面")));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(WindowsFont(FontFace::ProportionalGothic, 12));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, system_colors::ButtonFace());
  setPalette(colours);
  setAutoFillBackground(true);
  resize(1009, 695);  // the client area the window was laid out for
  move(265, 163);
}

void TfrmZoomUpPic::FormCreate() {
  move(x(), 0);
  move(0, y());
}
