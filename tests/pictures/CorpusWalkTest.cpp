#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "pictures/PictureControl.h"
#include "platform/CodePage.h"
#include "platform/MessageText.h"
#include "tests/pictures/PictureTestSupport.h"
#include "tests/support/FailureText.h"
#include "tests/support/TempFolder.h"

// Every file of the shared picture corpus, loaded and drawn as its EXPECTED.tsv row says.
namespace {

using namespace picture_test;

const std::filesystem::path kCorpus =
    std::filesystem::path(__FILE__).parent_path() / "../../../shared/corpus/pictures";

struct Row {
  std::string path, kind, expected, reason;  // UTF-8, as in the table
};

std::vector<Row> ReadRows() {
  std::ifstream table(kCorpus / "EXPECTED.tsv");
  std::vector<Row> rows;
  std::string line;
  std::getline(table, line);  // the header
  while (std::getline(table, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    if (fields.size() >= 4) rows.push_back({fields[0], fields[1], fields[2], fields[3]});
  }
  return rows;
}

// What loading and drawing one file came to: the failure at load, else the failure at the
// drawing, else nothing; the size reported after the drawing.
struct Outcome {
  std::string loadFailure, drawFailure;  // CP932; empty when none
  QSize size;
  bool keptOldPicture = false;
  std::size_t reports = 0;
};

const std::string kOldPicture = BitmapFile(3, 2, 24, std::string(24, '\0'));

Outcome LoadAndDraw(const TempFolder& scratch, const std::string& path) {
  ReportedFailures reported;
  PictureControl control;
  control.resize(512, 346);
  control.SetStretch(true);
  control.SetProportional(true);
  control.SetCenter(true);
  control.Picture().LoadFromFile(scratch.Path("old.bmp"));
  Outcome outcome;
  const std::string failure = FailureText([&] { control.Picture().LoadFromFile(path); });
  if (failure != "(no failure)") outcome.loadFailure = failure;
  Shown(control);
  outcome.reports = reported.Messages().size();
  if (outcome.reports > 0) outcome.drawFailure = reported.Messages()[0];
  outcome.size = QSize(control.Picture().Width(), control.Picture().Height());
  outcome.keptOldPicture = outcome.size == QSize(3, 2);
  return outcome;
}

// The size the reason gives for a bitmap or a JPEG image ("127x64"), if any.
std::optional<QSize> StatedSize(const Row& row) {
  if (row.kind != "bitmap" && row.kind != "jpeg") return std::nullopt;
  std::smatch match;
  if (!std::regex_search(row.reason, match, std::regex("(\\d+)x(\\d+)"))) return std::nullopt;
  return QSize(std::stoi(match[1]), std::stoi(match[2]));
}

// Empty when the outcome is what the row expects, else what went wrong.
std::string Mismatch(const Row& row, const Outcome& outcome) {
  if (outcome.reports > 1) return "reported more than once";
  if (!outcome.loadFailure.empty() && !outcome.keptOldPicture) return "old picture lost";
  const std::string& expected = row.expected;
  const std::string failDraw = "ok-load, fail-draw (";
  if (expected == "either") return "";
  if (expected == "ok") {
    if (!outcome.loadFailure.empty() || !outcome.drawFailure.empty()) return "failed";
    const auto size = StatedSize(row);
    if (size && *size != outcome.size) return "wrong size";
    return "";
  }
  if (expected.starts_with(failDraw)) {
    if (!outcome.loadFailure.empty()) return "failed at load";
    std::string message = expected.substr(failDraw.size(), expected.size() - failDraw.size() - 1);
    if (message.ends_with("*")) {
      message.pop_back();
      if (!outcome.drawFailure.starts_with(Cp932(message))) return "wrong drawing failure";
    } else if (outcome.drawFailure != Cp932(message)) {
      return "wrong drawing failure";
    }
    if (row.reason.find("after 0 row(s)") != std::string::npos && !outcome.size.isEmpty()) {
      return "kept pixels that were never decoded";
    }
    return "";
  }
  return outcome.loadFailure == Cp932(expected) ? "" : "wrong load outcome";
}

std::string Described(const Outcome& outcome) {
  const auto shown = [](const std::string& text) { return cp932::ToUtf8(text).value_or(text); };
  return "load [" + shown(outcome.loadFailure) + "] draw [" + shown(outcome.drawFailure) +
         "] size " + std::to_string(outcome.size.width()) + "x" +
         std::to_string(outcome.size.height());
}

class PictureCorpus : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kCorpus / "EXPECTED.tsv")) {
      GTEST_SKIP() << "no picture corpus at " << kCorpus.string();
    }
    scratch_.Write("old.bmp", kOldPicture);
  }

  TempFolder scratch_;
};

TEST_F(PictureCorpus, EveryFileEndsInAPictureOrItsFailure) {
  const std::vector<Row> rows = ReadRows();
  ASSERT_EQ(rows.size(), 897u);
  for (const Row& row : rows) {
    const Outcome outcome = LoadAndDraw(scratch_, (kCorpus / row.path).lexically_normal().string());
    const std::string mismatch = Mismatch(row, outcome);
    EXPECT_EQ(mismatch, "") << row.path << ": expected " << row.expected << "; got "
                            << Described(outcome);
  }
}

TEST_F(PictureCorpus, CopiesUnderOtherNamesAreReadByTheirNewNames) {
  struct Case {
    std::string from, to;
    std::size_t bytes;  // 0: all
    std::string expected;
  };
  const Case cases[] = {
      {"pillow/deerstalker.cur", "x.ico", 0, "アイコンイメージが不正です"},
      {"pillow/no_cursors.cur", "y.ico", 0, "アイコンイメージが不正です"},
      {"pillow/clipboard.dib", "x.bmp", 0, "ビットマップイメージが不正です"},
      {"bmpsuite/g/rgb24.bmp", "short.bmp", 10, "ストリームからの読み込みエラー"},
      {"pillow/hopper.ico", "short.ico", 3, "ストリームからの読み込みエラー"},
      {"jpeg-decoder/crashtest/images/empty.jpg", "empty.bmp", 0, "ok 0x0"},
      {"jpeg-decoder/crashtest/images/empty.jpg", "empty.ico", 0, "ストリームからの読み込みエラー"},
      {"libuemf/test_libuemf_ref.emf", "enhanced.wmf", 0, "ok"},
      {"pillow/drawing.wmf", "placeable.emf", 0, "ok"},
      {"bmpsuite/g/rgb24.bmp", "RGB.BMP", 0, "ok 127x64"},
      {"pillow/hopper.jpg", "HOPPER.JPG", 0, "ok 128x128"},
      {"pillow/hopper.jpg", "hopper.Jpeg", 0, "ok 128x128"},
      {"bmpsuite/g/rgb24.bmp", "x.PNG", 0, "拡張子 .PNG の画像形式は処理できません"},
      {"bmpsuite/g/rgb24.bmp", "x.jpeg.bak", 0, "拡張子 .bak の画像形式は処理できません"},
      {"bmpsuite/g/rgb24.bmp", "noextension", 0, "拡張子 . の画像形式は処理できません"},
  };
  for (const Case& c : cases) {
    std::ifstream in(kCorpus / c.from, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (c.bytes != 0) bytes.resize(c.bytes);
    scratch_.Write(c.to, bytes);
    const Outcome outcome = LoadAndDraw(scratch_, scratch_.Path(c.to));
    if (c.expected.starts_with("ok")) {
      EXPECT_EQ(outcome.loadFailure + outcome.drawFailure, "") << c.to;
      const auto size = StatedSize({"", "bitmap", "", c.expected});
      if (size) {
        EXPECT_EQ(outcome.size, *size) << c.to;
      }
    } else {
      EXPECT_EQ(outcome.loadFailure, Cp932(c.expected)) << c.to;
      EXPECT_TRUE(outcome.keptOldPicture) << c.to;
    }
  }
  const std::string missing = scratch_.Path("none.jpeg");
  EXPECT_EQ(LoadAndDraw(scratch_, missing).loadFailure,
            Cp932("ファイル ") + missing + Cp932(" は開けません"));
}

}  // namespace
