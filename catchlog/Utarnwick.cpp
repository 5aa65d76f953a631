#include "catchlog/Utarnwick.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

#include "app/MessageDialog.h"
#include "controls/ByteLimitedEdit.h"
#include "controls/DataGrid.h"
#include "controls/DatePicker.h"
#include "controls/FailureBoundary.h"
#include "controls/JapaneseDesktop.h"
#include "controls/Label.h"
#include "controls/MemoEdit.h"
#include "controls/OpenDialog.h"
#include "controls/Panel.h"
#include "controls/QtText.h"
#include "controls/Shape.h"
#include "controls/SystemColors.h"
#include "controls/WindowLook.h"
#include "pictures/PictureControl.h"
#include "pictures/UpicNameEdit.h"
#include "pictures/UzoomUpPic.h"
#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/JapaneseLocale.h"
#include "platform/MessageText.h"

TfrmTarnwick* frmTarnwick = nullptr;

namespace {

constexpr int kClientWidth = 948;
constexpr int kClientHeight = 662;

QFont WindowFont() {
  return WindowsFont(FontFace::ProportionalGothic, 12);
}

// The folder of a path: up to and including its last "/", blanks and control bytes trimmed
// from both ends.
std::string FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  std::string_view folder =
      slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
  while (!folder.empty() && static_cast<unsigned char>(folder.front()) <= 0x20)
    folder.remove_prefix(1);
  while (!folder.empty() && static_cast<unsigned char>(folder.back()) <= 0x20)
    folder.remove_suffix(1);
  return std::string(folder);
}

QPushButton* MakeButton(QWidget* parent, const char* caption, QRect geometry) {
  auto* button = new QPushButton(ToQt(Cp932(caption)), parent);
  button->setGeometry(geometry);
  button->setFont(WindowFont());
  return button;
}

Label* MakeLabel(QWidget* parent, const char* caption, FontFace face, int height, int top,
                 int labelHeight) {
  auto* label = new Label(parent, Cp932(caption), WindowsFont(face, height), Qt::AlignCenter);
  label->setGeometry(8, top, 81, labelHeight);
  label->SetBackground(system_colors::SkyBlue());
  label->SetTextColour(system_colors::WindowText());
  return label;
}

// A disabled input keeps its normal background and greys its text.
void KeepBackgroundWhenDisabled(QWidget& input) {
  QPalette colours = input.palette();
  colours.setColor(QPalette::Disabled, QPalette::Base,
                   colours.color(QPalette::Active, QPalette::Base));
  colours.setColor(QPalette::Disabled, QPalette::Text, system_colors::GrayText());
  input.setPalette(colours);
}

ByteLimitedEdit* MakeEntryEdit(QWidget* parent, int top, int width, int maxBytes,
                               InputMethodMode mode) {
  auto* edit = new ByteLimitedEdit(parent, WindowsFont(FontFace::Mincho, 15), maxBytes, mode);
  edit->setGeometry(96, top, width, 25);
  KeepBackgroundWhenDisabled(*edit);
  return edit;
}

// A read-only path in the status strip, flat, without a 3-D border.
ByteLimitedEdit* MakePathEdit(QWidget* parent, QRect geometry, const QColor& text) {
  auto* edit = new ByteLimitedEdit(parent, WindowFont(), 0, InputMethodMode::Closed);
  edit->setGeometry(geometry);
  edit->setReadOnly(true);
  edit->setFrame(false);
  QPalette colours = edit->palette();
  colours.setColor(QPalette::Text, text);
  edit->setPalette(colours);
  return edit;
}

std::vector<GridColumn> CatchLogColumns() {
  const auto column = [](const char* field, const char* title, Qt::Alignment values, int width) {
    return GridColumn{field, Cp932(title), Qt::AlignHCenter, values, width};
  };
  return {
      column("Date", "日付", Qt::AlignHCenter, 70),  column("Weather", "天候", Qt::AlignLeft, 79),
      column("Name", "名称", Qt::AlignLeft, 0),      column("Size", "サイズ", Qt::AlignLeft, 0),
      column("Place", "場所", Qt::AlignLeft, 0),     column("Memo", "メモ", Qt::AlignLeft, 0),
      column("PicName", "画像名", Qt::AlignLeft, 0),
  };
}

}  // namespace

TfrmTarnwick::TfrmTarnwick() : cdsFish("cdsFish", StoredEmptyStructure()) {
  ApplyWindowLook(*this, "Quorlin Ver.0.1", WindowBorder::Fixed);

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  BuildMenu();
  BuildPanels();
  BuildEntryPanel();
  BuildStatusStrip();
  SetTabOrder();
  move(88, 112);  // the stored position; the window's creation moves it to the corner
}

void TfrmTarnwick::BuildPanels() {
  QWidget* client = centralWidget();
  Panel3 = new Panel(client, system_colors::ButtonFace(), 2);
  Panel3->setGeometry(0, 0, 948, 285);
  Panel4 = new Panel(client, system_colors::ButtonFace(), 1);
  Panel4->setGeometry(0, 635, 948, 27);
  Panel2 = new Panel(client, system_colors::Teal(), 2);
  Panel2->setGeometry(0, 285, 429, 350);
  Panel2->setFocusPolicy(Qt::TabFocus);  // the entry panel is a tab stop itself
  Panel1 = new Panel(client, system_colors::CaptionText(), 2);
  Panel1->setGeometry(432, 285, 516, 350);
  Panel1->SetCaption(Cp932("画像表示場所"));

  Image1 = new PictureControl(Panel1);
  Image1->setGeometry(2, 2, 512, 346);
  Image1->SetStretch(true);
  Image1->SetProportional(true);
  Image1->SetCenter(true);
  Image1->SetOnDoubleClick([this] { failure_boundary::Guarded([&] { PicUpClick(); }); });

  DBGrid1 = new DataGrid(Panel3, cdsFish, CatchLogColumns(), WindowFont());
  DBGrid1->setGeometry(2, 2, 944, 281);
  DBGrid1->SetOnCellClick([this] { DBGrid1CellClick(); });
}

void TfrmTarnwick::BuildEntryPanel() {
  Shape1 = new Shape(Panel2, system_colors::Teal(), system_colors::Red(), 2);
  Shape1->setGeometry(8, 12, 149, 45);
  Shape2 = new Shape(Panel2, system_colors::Teal(), system_colors::Yellow(), 2);
  Shape2->setGeometry(228, 12, 113, 45);

  btnNew = MakeButton(Panel2, "新規ﾃﾞｰﾀ作成", {12, 20, 85, 29});
  btnAdd = MakeButton(Panel2, "追加", {104, 20, 49, 29});
  btnEsc = MakeButton(Panel2, "取消", {164, 20, 57, 29});
  btnEdit = MakeButton(Panel2, "編集", {232, 20, 49, 29});
  btnOK = MakeButton(Panel2, "確定", {288, 20, 49, 29});
  btnDel = MakeButton(Panel2, "ﾃﾞｰﾀ削除", {356, 20, 65, 29});
  const auto bind = [this](QPushButton* button, void (TfrmTarnwick::*handler)()) {
    connect(button, &QPushButton::clicked, this,
            [this, handler] { failure_boundary::Guarded([&] { (this->*handler)(); }); });
  };
  bind(btnNew, &TfrmTarnwick::btnNewClick);
  bind(btnAdd, &TfrmTarnwick::btnAddClick);
  bind(btnEsc, &TfrmTarnwick::btnEscClick);
  bind(btnEdit, &TfrmTarnwick::btnEditClick);
  bind(btnOK, &TfrmTarnwick::btnOKClick);
  bind(btnDel, &TfrmTarnwick::btnDelClick);

  Label1 = MakeLabel(Panel2, "日　付", FontFace::Gothic, 15, 76, 25);
  Label5 = MakeLabel(Panel2, "天候(20)", FontFace::Gothic, 15, 104, 25);
  Label2 = MakeLabel(Panel2, "名称(40)", FontFace::Gothic, 15, 132, 25);
  Label3 = MakeLabel(Panel2, "サイズ(10)", FontFace::ProportionalGothic, 15, 160, 25);
  Label4 = MakeLabel(Panel2, "場所(40)", FontFace::Gothic, 15, 188, 25);
  Label8 = MakeLabel(Panel2, " メ  モ              (200)", FontFace::Gothic, 15, 216, 93);
  Label8->setWordWrap(true);
  Label7 = MakeLabel(Panel2, "画像名(20)", FontFace::ProportionalGothic, 15, 312, 25);

  datePicker = new DatePicker(Panel2, WindowsFont(FontFace::Mincho, 15));
  datePicker->setGeometry(96, 76, 145, 23);
  KeepBackgroundWhenDisabled(*datePicker);
  edtWeather = MakeEntryEdit(Panel2, 104, 193, 20, InputMethodMode::Hiragana);
  edtName = MakeEntryEdit(Panel2, 132, 325, 40, InputMethodMode::Hiragana);
  edtSize = MakeEntryEdit(Panel2, 160, 93, 10, InputMethodMode::Closed);
  edtPlace = MakeEntryEdit(Panel2, 188, 325, 40, InputMethodMode::Hiragana);
  mmMemo = new MemoEdit(Panel2, WindowsFont(FontFace::Mincho, 15), 200, InputMethodMode::Hiragana);
  mmMemo->setGeometry(96, 216, 325, 93);
  KeepBackgroundWhenDisabled(*mmMemo);
  edtPicName = MakeEntryEdit(Panel2, 312, 325, 20, InputMethodMode::Closed);
}

void TfrmTarnwick::BuildStatusStrip() {
  Label6 = new Label(Panel4, Cp932("XmlData："), WindowFont(), Qt::AlignLeft | Qt::AlignVCenter);
  Label6->setGeometry(8, 4, 53, 21);
  Label6->SetTextColour(system_colors::Red());
  edtXmlData = MakePathEdit(Panel4, {60, 4, 393, 20}, system_colors::Red());
  edtXmlData->setFocusPolicy(Qt::NoFocus);
  Label9 = new Label(Panel4, Cp932("PicData："), WindowFont(), Qt::AlignLeft | Qt::AlignVCenter);
  Label9->setGeometry(476, 2, 53, 21);
  Label9->SetTextColour(system_colors::Blue());
  edtPicData = MakePathEdit(Panel4, {524, 4, 413, 20}, system_colors::WindowText());
}

void TfrmTarnwick::BuildMenu() {
  const auto bind = [this](QAction* action, void (TfrmTarnwick::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { failure_boundary::Guarded([&] { (this->*handler)(); }); });
  };
  FileMain = menuBar()->addMenu(ToQt(Cp932("ファイル")));
  FileOpen = FileMain->addAction(ToQt(Cp932("開く")));
  FileClose = FileMain->addAction(ToQt(Cp932("閉じる")));
  PicMain = menuBar()->addMenu(ToQt(Cp932("画像")));
  PicRe = PicMain->addAction(ToQt(Cp932("名前編集")));
  PicUp = PicMain->addAction(ToQt(Cp932("拡大表示")));
  bind(FileOpen, &TfrmTarnwick::FileOpenClick);
  bind(FileClose, &TfrmTarnwick::FileCloseClick);
  bind(PicRe, &TfrmTarnwick::PicReClick);
  bind(PicUp, &TfrmTarnwick::PicUpClick);
}

void TfrmTarnwick::SetTabOrder() {
  // The panels in their order (the picture panel holds nothing to focus), each with its
  // controls in theirs.
  QWidget* const chain[] = {Panel2,  btnEdit,  btnOK,   datePicker, edtWeather, edtName,
                            edtSize, edtPlace, mmMemo,  edtPicName, btnNew,     btnDel,
                            btnAdd,  btnEsc,   DBGrid1, edtPicData};
  for (std::size_t i = 1; i < std::size(chain); ++i)
    QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TfrmTarnwick::FormCreate() {
  fileOpened = 0;
  cdsFish.Close();
  move(x(), 0);
  move(0, y());
  SetButtonStates(0, 0, 0, 0, 0, 0);
  SetInputsEnabled(0);
  FileClose->setEnabled(false);
  PicUp->setEnabled(false);
  UseExecutableFolder(FolderOf(files::ExecutablePath()));
}

void TfrmTarnwick::UseExecutableFolder(std::string folder) {
  exeFolder = std::move(folder);
  xmlDataPath = exeFolder + "XmlData/";
  picDataPath = exeFolder + "PicData/";
  edtXmlData->SetText(xmlDataPath);
  edtPicData->SetText(picDataPath);
}

bool TfrmTarnwick::FormCloseQuery() {
  if (cdsFish.ChangeLogCount() == 0) return true;
  ShowInformation(Cp932("ファイルが保存されていません。\r\nファイルを保存して下さい。"));
  return false;
}

void TfrmTarnwick::closeEvent(QCloseEvent* event) {
  event->ignore();
  failure_boundary::Guarded([&] {
    if (!FormCloseQuery()) return;
    event->accept();
    QCoreApplication::quit();  // the main window's close ends the run
  });
}

void TfrmTarnwick::FileCloseClick() {
  close();
}

void TfrmTarnwick::SetButtonStates(int newState, int addState, int escState, int editState,
                                   int okState, int delState) {
  btnNew->setEnabled(newState != 0);
  btnAdd->setEnabled(addState != 0);
  btnEsc->setEnabled(escState != 0);
  btnEdit->setEnabled(editState != 0);
  btnOK->setEnabled(okState != 0);
  btnDel->setEnabled(delState != 0);
}

void TfrmTarnwick::SetInputsEnabled(int flag) {
  QWidget* const inputs[] = {datePicker, edtWeather, edtName,   edtSize,
                             edtPlace,   mmMemo,     edtPicName};
  for (QWidget* input : inputs)
    input->setEnabled(flag != 0);
}

void TfrmTarnwick::ClearInputs() {
  datePicker->SetDayNumber(TodayDayNumber());
  for (ByteLimitedEdit* edit : {edtWeather, edtName, edtSize, edtPlace, edtPicName})
    edit->SetText("");
  mmMemo->SetText("");
  Image1->Picture().Clear();
}

void TfrmTarnwick::StoreInputs() {
  cdsFish.SetFieldText("Date", datePicker->DateText());
  cdsFish.SetFieldText("Weather", edtWeather->Text());
  cdsFish.SetFieldText("Name", edtName->Text());
  cdsFish.SetFieldText("Size", edtSize->Text());
  cdsFish.SetFieldText("Place", edtPlace->Text());
  cdsFish.SetFieldText("Memo", mmMemo->Text());
  cdsFish.SetFieldText("PicName", edtPicName->Text());
}

void TfrmTarnwick::LoadInputs() {
  const std::string date = cdsFish.GetFieldText("Date");
  const auto day = japanese_locale::ParseShortDate(date);
  if (!day) throw Failure(FormatText(Cp932("'%s' is not a valid date"), {date}));
  datePicker->SetDayNumber(*day);
  edtWeather->SetText(cdsFish.GetFieldText("Weather"));
  edtName->SetText(cdsFish.GetFieldText("Name"));
  edtSize->SetText(cdsFish.GetFieldText("Size"));
  edtPlace->SetText(cdsFish.GetFieldText("Place"));
  mmMemo->SetText(cdsFish.GetFieldText("Memo"));
  edtPicName->SetText(cdsFish.GetFieldText("PicName"));
}

void TfrmTarnwick::OpenDataFile() {
  cdsFish.Close();
  // The data folder without its trailing "/" (the root keeps it).
  std::string folder = xmlDataPath;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const auto chosen = OpenDialog(Cp932(kOpenDialogFilter), folder).Execute(this);
  if (!chosen) return;
  fileOpened = 1;
  cdsFish.SetFileName(*chosen);
  cdsFish.Open();
  SetButtonStates(1, 0, 0, 1, 0, 1);
  FileClose->setEnabled(true);
  FileOpen->setEnabled(false);
}

void TfrmTarnwick::AddEntry() {
  cdsFish.Append();
  PostInputs();
}

void TfrmTarnwick::CommitEntry() {
  cdsFish.Edit();
  PostInputs();
}

void TfrmTarnwick::PostInputs() {
  StoreInputs();
  cdsFish.Post();
  cdsFish.AcceptAllChanges();
  SetButtonStates(1, 0, 0, 1, 0, 1);
  ClearInputs();
  SetInputsEnabled(0);
}

void TfrmTarnwick::DeleteEntry() {
  if (Confirm(Cp932("データを削除してもよろしいですか？"))) {
    cdsFish.Delete();
    cdsFish.AcceptAllChanges();
    ClearInputs();
    SetButtonStates(1, 0, 0, 0, 0, 0);
    SetInputsEnabled(0);
  }
  DBGrid1->viewport()->update();
}

void TfrmTarnwick::ShowEntryPicture() {
  const std::string name = cdsFish.GetFieldText("PicName");
  picturePath = picDataPath + name;
  if (files::FileExists(picturePath)) {
    Image1->Picture().LoadFromFile(picturePath);
    PicUp->setEnabled(true);
  } else {
    Image1->Picture().Clear();
    Panel1->SetCaption(Cp932("画像がないか名前が変更されています。"));
    PicUp->setEnabled(false);
  }
}

void TfrmTarnwick::FileOpenClick() {
  OpenDataFile();
}

void TfrmTarnwick::btnNewClick() {
  SetInputsEnabled(1);
  ClearInputs();
  SetButtonStates(0, 1, 1, 0, 0, 0);
  datePicker->setFocus();
}

void TfrmTarnwick::btnAddClick() {
  AddEntry();
}

void TfrmTarnwick::btnEditClick() {
  SetInputsEnabled(1);
  SetButtonStates(0, 0, 1, 0, 1, 0);
  datePicker->setFocus();
}

void TfrmTarnwick::btnOKClick() {
  CommitEntry();
}

void TfrmTarnwick::btnEscClick() {
  ClearInputs();
  SetInputsEnabled(0);
  SetButtonStates(1, 0, 1, 1, 0, 1);
}

void TfrmTarnwick::btnDelClick() {
  DeleteEntry();
}

void TfrmTarnwick::DBGrid1CellClick() {
  if (fileOpened != 1) return;
  LoadInputs();
  ShowEntryPicture();
  SetButtonStates(1, 0, 0, 1, 0, 1);
}

void TfrmTarnwick::PicReClick() {
  frmPicNameEdit->Present(picDataPath);
}

void TfrmTarnwick::PicUpClick() {
  frmZoomUpPic->Present(picturePath);
}
