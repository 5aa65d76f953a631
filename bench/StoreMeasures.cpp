#include "bench/StoreMeasures.h"

#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

#include "bench/ClosedStore.h"
#include "bench/PeakMemory.h"
#include "bench/PugiReference.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "storage/XmlPacket.h"

namespace bench {
namespace {

void Check(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error("benchmark check failed: " + what);
}

PairedTimes MeasureOpen(const std::string& path, int rows, int rounds) {
  ClosedStore store(path);
  const auto ours = [&] {
    const double seconds = TimeOf([&] { store->Open(); });
    Check(store->EntryCount() == rows, "Open gave every entry");
    store->Close();  // nothing was posted, so this writes nothing
    return seconds;
  };
  const auto reference = [&] {
    std::optional<PugiCatchLog> log;
    PugiCatchLog::RowWalk walk;
    const double seconds = TimeOf([&] {
      log.emplace(path);
      walk = log->WalkRows();
    });
    Check(walk.rows == static_cast<std::size_t>(rows), "pugixml read every row");
    KeepAlive(&walk);
    return seconds;
  };
  return RunPaired(rounds, ours, reference);
}

double MeasureMemcpy(const std::string& bytes, int rounds) {
  const auto copy = std::make_unique_for_overwrite<char[]>(bytes.size());
  std::memset(copy.get(), 0, bytes.size());  // fault the pages in beforehand
  return RunRounds(rounds, [&] {
    return TimeOf([&] {
      std::memcpy(copy.get(), bytes.data(), bytes.size());
      KeepAlive(copy.get());
    });
  });
}

PairedTimes MeasureEncode(const std::string& path, const std::string& bytes, int rounds) {
  const TableContent content = ReadXmlPacket(bytes);
  const PugiCatchLog log(path);
  const auto ours = [&] {
    std::optional<ByteBuffer> packet;
    const double seconds = TimeOf([&] { packet = WriteXmlPacket(content); });
    Check(packet && packet->View() == bytes, "the encoding gives the file back");
    return seconds;
  };
  const auto reference = [&] {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    const double seconds = TimeOf([&] { log.Save(out); });
    KeepAlive(out.data());
    return seconds;
  };
  return RunPaired(rounds, ours, reference);
}

double MeasureClose(const std::string& path, const std::string& bytes, int rounds) {
  ClosedStore store(path);
  const std::string name = Cp932("ソウギョ");
  const double seconds = RunRounds(rounds, [&] {
    store->Open();
    // Added and deleted again: the content stays the same, but the store has a change to save.
    store->Append();
    store->SetFieldText("Name", name);
    store->Post();
    store->Delete();
    store->AcceptAllChanges();
    return TimeOf([&] { store->Close(); });
  });
  Check(files::ReadWholeFile(path).View() == bytes, "the save kept the file as it was");
  return seconds;
}

}  // namespace

LogFigures MeasureCatchLog(const std::string& path, int rows, int rounds) {
  const std::string bytes(files::ReadWholeFile(path).View());
  LogFigures figures{.rows = rows, .rounds = rounds, .fileBytes = bytes.size()};
  figures.open = MeasureOpen(path, rows, rounds);
  figures.memcpy = MeasureMemcpy(bytes, rounds);
  figures.encode = MeasureEncode(path, bytes, rounds);
  figures.close = MeasureClose(path, bytes, rounds);
  figures.peakGrowth = OpenPeakGrowth(path);
  return figures;
}

}  // namespace bench
