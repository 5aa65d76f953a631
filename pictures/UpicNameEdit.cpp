#include "pictures/UpicNameEdit.h"

#include "controls/JapaneseDesktop.h"
#include "controls/QtText.h"
#include "controls/SystemColors.h"
#include "platform/MessageText.h"

TfrmPicNameEdit* frmPicNameEdit = nullptr;

TfrmPicNameEdit::TfrmPicNameEdit() {
  setWindowTitle(ToQt(Cp932("画像名称変更画面")));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(WindowsFont(FontFace::ProportionalGothic, 12));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, system_colors::ButtonFace());
  setPalette(colours);
  setAutoFillBackground(true);
  resize(920, 641);  // the client area the window was laid out for
  move(80, 48);
}

void TfrmPicNameEdit::FormCreate() {
  move(x(), 0);
  move(0, y());
}
