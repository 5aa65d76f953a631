#pragma once

#include <QWidget>

// The zoomed picture window: the photograph of the entry last shown in the catch log
// window, in a large resizable window of its own.
class TfrmZoomUpPic : public QWidget {
 public:
  TfrmZoomUpPic();
  void FormCreate();
};

extern TfrmZoomUpPic* frmZoomUpPic;
