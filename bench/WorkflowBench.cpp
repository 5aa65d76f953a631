// The catch log window on large catch logs, offscreen: opening a file through the open
// dialog (the dialog's own time left out) until the grid has painted, a cell click until the
// inputs and a 12-megapixel photograph are shown, and an added entry; the store's own Open
// of the same file as the reference. A click must not grow with the number of entries.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/CatchLogGenerator.h"
#include "bench/ClosedStore.h"
#include "bench/PhotoGenerator.h"
#include "bench/ScratchFolder.h"
#include "bench/Timing.h"
#include "catchlog/Utarnwick.h"
#include "controls/ByteLimitedEdit.h"
#include "controls/DataGrid.h"
#include "controls/FailureBoundary.h"
#include "controls/JapaneseDesktop.h"
#include "pictures/PictureControl.h"

namespace {

struct Figures {
  int rows = 0;
  double open = 0, storeOpen = 0, click = 0, add = 0;
};

// Answers the open dialog with the file's name as soon as it is shown, and records when it
// was gone, so that the dialog's own time stays out of the measurement.
double OpenThroughDialog(TfrmTarnwick& window, const std::string& name) {
  QElapsedTimer clock;
  qint64 closedAt = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll.stop();
    QObject::connect(dialog, &QObject::destroyed, [&] { closedAt = clock.nsecsElapsed(); });
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    edit->setText(QString::fromStdString(name));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
  });
  poll.start(5);
  clock.start();
  window.FileOpen->trigger();
  window.DBGrid1->viewport()->repaint();
  return (clock.nsecsElapsed() - closedAt) / 1e9;
}

double ClickAndShow(TfrmTarnwick& window, int row) {
  window.cdsFish.MoveCurrent(row - window.cdsFish.CurrentRow());
  return bench::TimeOf([&] {
    failure_boundary::Guarded([&] { window.DBGrid1CellClick(); });
    window.Image1->repaint();
  });
}

double AddOne(TfrmTarnwick& window) {
  window.btnNewClick();
  window.edtName->SetText("bench");
  return bench::TimeOf([&] {
    failure_boundary::Guarded([&] { window.AddEntry(); });
    window.DBGrid1->viewport()->repaint();
  });
}

Figures Measure(const bench::ScratchFolder& folder, int rows, int rounds) {
  const std::string name = "catch" + std::to_string(rows) + ".xml";
  const std::string path = folder.Path("XmlData/" + name);
  bench::WriteCatchLog(path, rows);
  Figures figures{.rows = rows};
  std::vector<double> opens, storeOpens, clicks, adds;
  for (int round = 0; round < rounds; ++round) {
    {
      bench::ClosedStore store(path);
      storeOpens.push_back(bench::TimeOf([&] { store->Open(); }));
    }
    TfrmTarnwick window;
    window.FormCreate();
    window.UseExecutableFolder(folder.Path() + "/");
    window.show();
    opens.push_back(OpenThroughDialog(window, name));
    // An entry near the middle that names a photograph, made once under that name.
    int row = rows / 2;
    window.cdsFish.MoveCurrent(row);
    while (window.cdsFish.GetFieldText("PicName").empty()) {
      window.cdsFish.MoveCurrent(1);
      ++row;
    }
    const std::string picture = folder.Path("PicData/" + window.cdsFish.GetFieldText("PicName"));
    struct stat status {};
    if (stat(picture.c_str(), &status) != 0) bench::WritePhoto(picture, false);
    clicks.push_back(ClickAndShow(window, row));
    if (window.Image1->Picture().Width() != 4000) {
      std::fprintf(stderr, "workflow_bench: the photograph %s did not show\n", picture.c_str());
    }
    adds.push_back(AddOne(window));
    window.cdsFish.Close();  // without saving: the file stays for the next round
    window.cdsFish.SetFileName("");
  }
  figures.open = bench::Median(opens);
  figures.storeOpen = bench::Median(storeOpens);
  figures.click = bench::Median(clicks);
  figures.add = bench::Median(adds);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  SetUpJapaneseDesktop();
  const bench::ScratchFolder folder;
  mkdir(folder.Path("XmlData").c_str(), 0755);
  mkdir(folder.Path("PicData").c_str(), 0755);
  const Figures small = Measure(folder, 1000, 9);
  const Figures large = Measure(folder, 100000, 9);
  std::printf("The catch log window, offscreen, median of 9 rounds\n");
  std::printf("%10s %22s %16s %26s %12s\n", "rows", "open until painted", "store's Open",
              "click: inputs and 12 MP", "add entry");
  for (const Figures& f : {small, large}) {
    std::printf("%10d %19.2f ms %13.2f ms %23.2f ms %9.2f ms\n", f.rows, f.open * 1e3,
                f.storeOpen * 1e3, f.click * 1e3, f.add * 1e3);
  }
  std::printf("Open through the window: %.2f x the store's own Open at 100,000 entries\n",
              large.open / large.storeOpen);
  std::printf("A click at 100,000 entries takes %.2f x the click at 1,000 entries\n",
              large.click / small.click);
  return 0;
}
