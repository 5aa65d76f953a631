// The picture benchmark: generated 12-megapixel photographs shown by the picture control in
// fit mode beside libjpeg decoding them alone. Not a test: it prints figures and targets.

#include <QApplication>

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/JpegDecodeAlone.h"
#include "bench/PhotoGenerator.h"
#include "bench/PictureMeasures.h"
#include "bench/ScratchFolder.h"
#include "bench/Timing.h"
#include "pictures/JpegDecoder.h"
#include "pictures/PictureControl.h"
#include "platform/Failure.h"

namespace {

constexpr int kRounds = 9;
constexpr int kRepaints = 50;
constexpr int kFreshRuns = 5;
constexpr double kPixels = 4000.0 * 3000.0;
constexpr double kMs = 1000;
constexpr double kMb = 1 << 20;

struct Photo {
  const char* name;
  bool progressive;
  double ratioTarget;
};

constexpr Photo kPhotos[] = {{"baseline", false, 1.15}, {"progressive", true, 1.05}};

const char* Met(bool met) {
  return met ? "met" : "NOT MET";
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void SetFit(PictureControl& control, int width, int height, bool proportional) {
  control.resize(width, height);
  control.SetStretch(true);
  control.SetProportional(proportional);
  control.SetCenter(proportional);
  control.show();
  bench::WaitUntilExposed(control);
}

// Median seconds of a repaint from the kept image; the picture must not decode again.
double RepaintTime(PictureControl& control) {
  control.repaint();
  const std::uint64_t decodings = JpegDecodingsSoFar();
  const double seconds =
      bench::RunRounds(kRepaints, [&] { return bench::TimeOf([&] { control.repaint(); }); });
  if (JpegDecodingsSoFar() != decodings) throw std::runtime_error("a repaint decoded again");
  return seconds;
}

// Median seconds of a repaint just after the control changed its size by a pixel, which
// resamples the kept image afresh.
double ResizedRepaintTime(PictureControl& control) {
  const QSize size = control.size();
  int round = 0;
  return bench::RunRounds(kRepaints, [&] {
    control.resize(size.width() - (++round % 2), size.height());
    return bench::TimeOf([&] { control.repaint(); });
  });
}

void MeasurePhoto(const Photo& photo, const std::string& path) {
  const std::string bytes = ReadFile(path);
  std::vector<unsigned char> plain;
  PictureControl fit;
  SetFit(fit, 512, 346, true);
  const std::uint64_t decodingsBefore = JpegDecodingsSoFar();
  const bench::PairedTimes first = bench::RunPaired(
      kRounds,
      [&] {
        return bench::TimeOf([&] {
          fit.Picture().LoadFromFile(path);
          fit.repaint();
        });
      },
      [&] { return bench::DecodeAlone(bytes, plain); });
  const std::uint64_t loads = kRounds + 1;
  if (JpegDecodingsSoFar() - decodingsBefore != loads) {
    throw std::runtime_error("a load did not decode exactly once");
  }
  const double fitRepaint = RepaintTime(fit);
  PictureControl fill;
  SetFit(fill, 1007, 648, false);
  fill.Picture().LoadFromFile(path);
  const double fillRepaint = RepaintTime(fill);
  const double resizedRepaint = ResizedRepaintTime(fill);
  const bench::FirstDisplay fresh = bench::MeasureFreshFirstDisplays(path, kFreshRuns);

  const double file = static_cast<double>(bytes.size());
  const double peakBound = 4 * kPixels + file;
  std::printf("\n%s (%.2f MB)\n", photo.name, file / kMb);
  std::printf("  decode alone (libjpeg into a kept buffer)   %8.1f ms\n", first.reference * kMs);
  std::printf(
      "  load until first painted frame, 512 x 346   %8.1f ms   ratio %.3f   target <= %.2f  %s\n",
      first.ours * kMs, first.ratio, photo.ratioTarget, Met(first.ratio <= photo.ratioTarget));
  std::printf(
      "  the same in a fresh process, median of %d    %8.1f ms   ratio %.3f   (fresh memory)\n",
      kFreshRuns, fresh.seconds * kMs, fresh.seconds / first.reference);
  std::printf("  repaint from the kept image, 512 x 346 fit  %8.3f ms   target <= 0.3 ms  %s\n",
              fitRepaint * kMs, Met(fitRepaint * kMs <= 0.3));
  std::printf("  repaint from the kept image, 1007 x 648 fill%8.3f ms   target <= 1 ms    %s\n",
              fillRepaint * kMs, Met(fillRepaint * kMs <= 1));
  std::printf("  repaint after a resize (resampled afresh), 1007 x 648 fill %.3f ms (no target)\n",
              resizedRepaint * kMs);
  std::printf(
      "  peak memory while shown first  %6.1f MB = %.2f bytes/pixel + file; bound 4 bytes/pixel + "
      "file = %.1f MB  %s\n",
      static_cast<double>(fresh.peak) / kMb, (static_cast<double>(fresh.peak) - file) / kPixels,
      peakBound / kMb, Met(static_cast<double>(fresh.peak) <= peakBound));
  std::printf("  memory kept for the shown picture %6.1f MB = %.2f bytes/pixel + file  %s\n",
              static_cast<double>(fresh.kept) / kMb,
              (static_cast<double>(fresh.kept) - file) / kPixels,
              Met(static_cast<double>(fresh.kept) <= peakBound));
}

int RunBenchmark() {
  const bench::ScratchFolder folder;
  std::printf(
      "picture_bench: 4000 x 3000 photographs, quality 90; medians of %d rounds, ratios "
      "round by round; repaints: medians of %d\n",
      kRounds, kRepaints);
  std::printf("decoded pixels are kept as 32-bit RGB (4 bytes per pixel), never as 24-bit\n");
  for (const Photo& photo : kPhotos) {
    const std::string path = folder.Path(std::string(photo.name) + ".jpg");
    std::fprintf(stderr, "picture_bench: writing the %s photograph...\n", photo.name);
    bench::WritePhoto(path, photo.progressive);
    bench::WritePhoto(bench::WarmUpPath(path), photo.progressive, 64, 48);
    MeasurePhoto(photo, path);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  try {
    if (argc == 3 && argv[1] == bench::kFirstDisplayArgument) {
      return bench::PrintFirstDisplay(argv[2]);
    }
    return RunBenchmark();
  } catch (const Failure& failure) {
    std::fprintf(stderr, "picture_bench: %s\n", failure.Message().c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "picture_bench: %s\n", error.what());
  }
  return 1;
}
