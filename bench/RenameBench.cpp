// The picture rename window on a picture folder of 10,000 JPEG files, offscreen: its first
// showing until the list is read and the window painted, and a rename followed by the new
// reading of the list.

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ScratchFolder.h"
#include "bench/Timing.h"
#include "controls/FileListBox.h"
#include "controls/JapaneseDesktop.h"
#include "pictures/UpicNameEdit.h"
#include "platform/FileSystem.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kRounds = 9;

std::string Name(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "fish%05d.jpeg", i);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  SetUpJapaneseDesktop();
  const bench::ScratchFolder folder;
  const std::string pictures = folder.Path("PicData");
  std::filesystem::create_directory(pictures);
  const std::string first = pictures + "/" + Name(0);
  QImage(64, 48, QImage::Format_RGB32).save(QString::fromStdString(first), "JPEG");
  for (int i = 1; i < kFiles; ++i)
    std::filesystem::copy_file(first, pictures + "/" + Name(i));

  std::vector<double> showings, renames;
  for (int round = 0; round < kRounds; ++round) {
    TfrmPicNameEdit window;
    window.FormCreate();
    showings.push_back(bench::TimeOf([&] {
      window.Present(pictures + "/");
      window.repaint();
    }));
    if (window.FileListBox1->count() != kFiles) {
      std::fprintf(stderr, "rename_bench: %d files listed\n", window.FileListBox1->count());
      return 1;
    }
    const std::string from = Name(round), to = "renamed" + Name(round);
    renames.push_back(bench::TimeOf([&] {
      files::RenameWithoutReplacing(window.FileListBox1->Folder(), from, to);
      window.FileListBox1->Read();
      window.repaint();
    }));
    files::SetCurrentDirectory("/");
  }
  std::printf("The picture rename window on %d JPEG files, offscreen, median of %d rounds\n",
              kFiles, kRounds);
  std::printf("  first showing, listed and painted   %8.2f ms\n", bench::Median(showings) * 1e3);
  std::printf("  a rename and the new reading        %8.2f ms\n", bench::Median(renames) * 1e3);
  return 0;
}
