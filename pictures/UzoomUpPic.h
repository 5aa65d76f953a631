#pragma once

#include <QWidget>

#include <string>

class ComboBox;
class Panel;
class PictureControl;

// The zoomed picture window: the photograph of the entry last shown in the catch log window,
// in a large resizable window of its own, at its actual size or stretched to the window.
// Closing it only hides it; the picture and the selector stay for the next showing.
class TfrmZoomUpPic : public QWidget {
 public:
  TfrmZoomUpPic();

  void FormCreate();
  // Loads the current picture path; a failure is reported before the window appears.
  void FormShow();
  void ComboBox1Change();

  // Shows the window and brings it to the front; a window already shown is only brought to
  // the front, and nothing is loaded again.
  void Present(const std::string& picturePath);

  Panel* Panel1;
  PictureControl* Image1;
  Panel* Panel2;
  ComboBox* ComboBox1;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::string picturePath_;
};

extern TfrmZoomUpPic* frmZoomUpPic;
