#include "pictures/UzoomUpPic.h"

#include "controls/ComboBox.h"
#include "controls/FailureBoundary.h"
#include "controls/JapaneseDesktop.h"
#include "controls/Panel.h"
#include "controls/QtText.h"
#include "controls/SystemColors.h"
#include "controls/WindowLook.h"
#include "pictures/PictureControl.h"
#include "platform/MessageText.h"

TfrmZoomUpPic* frmZoomUpPic = nullptr;

TfrmZoomUpPic::TfrmZoomUpPic() {
  ApplyWindowLook(*this, Cp932("画像拡大表示画面"), WindowBorder::Sizeable);

  Panel2 = new Panel(this, system_colors::ButtonFace(), 1);
  ComboBox1 = new ComboBox(Panel2, WindowsFont(FontFace::ProportionalGothic, 19),
                           {Cp932("実寸表示"), Cp932("拡大表示")}, 19);
  ComboBox1->setGeometry(20, 8, 333, 27);
  ComboBox1->SetOnChange([this] { ComboBox1Change(); });
  Panel1 = new Panel(this, system_colors::ButtonFace(), 1);
  Image1 = new PictureControl(Panel1);
  Image1->SetAutoSize(true);
  QWidget::setTabOrder(Panel1, Panel2);

  resize(1009, 695);  // the client area the window was laid out for
  move(265, 163);
}

void TfrmZoomUpPic::resizeEvent(QResizeEvent*) {
  // The selector strip along the top; the picture area, and the picture in it less the
  // bevel, fill the rest, whatever size the window takes.
  Panel2->setGeometry(0, 0, width(), 45);
  Panel1->setGeometry(0, 45, width(), std::max(height() - 45, 0));
  Image1->setGeometry(1, 1, std::max(Panel1->width() - 2, 0), std::max(Panel1->height() - 2, 0));
}

void TfrmZoomUpPic::FormCreate() {
  move(x(), 0);
  move(0, y());
}

void TfrmZoomUpPic::FormShow() {
  Image1->Picture().LoadFromFile(picturePath_);
}

void TfrmZoomUpPic::ComboBox1Change() {
  Image1->SetStretch(ComboBox1->ItemIndex() != 0);
}

void TfrmZoomUpPic::Present(const std::string& picturePath) {
  if (!isVisible()) {
    picturePath_ = picturePath;
    failure_boundary::Guarded([&] { FormShow(); });
    show();
  }
  raise();
  activateWindow();
}
