#pragma once

#include <QMainWindow>

#include <string>

#include "storage/RecordStore.h"

class ByteLimitedEdit;
class DataGrid;
class DatePicker;
class Label;
class MemoEdit;
class Panel;
class PictureControl;
class QAction;
class QMenu;
class QPushButton;
class Shape;

// The catch log window, the application's main window: the grid of all catch entries on
// top, the entry panel with its six buttons and seven inputs at the lower left, the
// photograph of the selected entry at the lower right, the two folder paths at the bottom.
// Its controls are owned by the window and live as long as it does.
class TfrmTarnwick : public QMainWindow {
 public:
  TfrmTarnwick();

  // Start-up: the store closed, the window at the top-left corner, every button and input
  // off, the folder paths worked out and shown.
  void FormCreate();
  // Whether the window may close: not while the store's change log holds changes.
  bool FormCloseQuery();
  // The folders of the run: the data folder and the picture folder beside the executable's
  // (`folder` ends in "/"), shown in the status strip. The creation handler gives it the
  // executable's own folder.
  void UseExecutableFolder(std::string folder);
  void FileCloseClick();

  void FileOpenClick();
  void PicReClick();
  void PicUpClick();
  void btnNewClick();
  void btnAddClick();
  void btnEscClick();
  void btnEditClick();
  void btnOKClick();
  void btnDelClick();
  void DBGrid1CellClick();

  // Each argument switches a button on when not 0, in the order New, Add, Esc, Edit, OK, Del.
  void SetButtonStates(int newState, int addState, int escState, int editState, int okState,
                       int delState);
  // The seven entry inputs on or off, in transfer order.
  void SetInputsEnabled(int flag);
  // Today's date in the picker (its time of day stays), the six text inputs empty, the
  // picture cleared; the picture panel's caption, the picture path and PicUp stay.
  void ClearInputs();
  // The seven inputs into the store's pending entry, field by field, as text.
  void StoreInputs();
  // The seven fields of the current entry into the inputs.
  void LoadInputs();
  void OpenDataFile();
  void AddEntry();
  void CommitEntry();
  void DeleteEntry();
  // The current entry's photograph in the picture panel, or the notice that it is missing.
  void ShowEntryPicture();

  const std::string& PicturePath() const { return picturePath; }
  const std::string& PictureFolderPath() const { return picDataPath; }

  RecordStore cdsFish;

  Panel* Panel1;
  Panel* Panel2;
  Panel* Panel3;
  Panel* Panel4;
  DataGrid* DBGrid1;
  PictureControl* Image1;
  Shape* Shape1;
  Shape* Shape2;
  QPushButton* btnNew;
  QPushButton* btnAdd;
  QPushButton* btnEsc;
  QPushButton* btnEdit;
  QPushButton* btnOK;
  QPushButton* btnDel;
  Label* Label1;
  Label* Label2;
  Label* Label3;
  Label* Label4;
  Label* Label5;
  Label* Label7;
  Label* Label8;
  DatePicker* datePicker;
  ByteLimitedEdit* edtWeather;
  ByteLimitedEdit* edtName;
  ByteLimitedEdit* edtSize;
  ByteLimitedEdit* edtPlace;
  MemoEdit* mmMemo;
  ByteLimitedEdit* edtPicName;
  Label* Label6;
  ByteLimitedEdit* edtXmlData;
  Label* Label9;
  ByteLimitedEdit* edtPicData;
  QMenu* FileMain;
  QAction* FileOpen;
  QAction* FileClose;
  QMenu* PicMain;
  QAction* PicRe;
  QAction* PicUp;

  // The open dialog's filter: one entry, its description and its pattern.
  static constexpr const char* kOpenDialogFilter = "XMLデータ（*.xml）|*.xml";

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildPanels();
  void BuildEntryPanel();
  void BuildStatusStrip();
  void BuildMenu();
  void SetTabOrder();
  // The inputs into the pending entry, posted and accepted; the panel back to browsing.
  void PostInputs();

  std::string exeFolder;
  std::string xmlDataPath;
  std::string picDataPath;
  std::string picturePath;
  unsigned char fileOpened = 0;
};

extern TfrmTarnwick* frmTarnwick;
