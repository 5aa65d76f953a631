#pragma once

#include <QWidget>

// The picture rename window: the JPEG files of the picture folder, a preview of the chosen
// one and the fields to rename it.
class TfrmPicNameEdit : public QWidget {
 public:
  TfrmPicNameEdit();
  void FormCreate();
};

extern TfrmPicNameEdit* frmPicNameEdit;
