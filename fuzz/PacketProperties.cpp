#include "fuzz/PacketProperties.h"

#include <cstdlib>
#include <string>

#include "platform/Failure.h"
#include "storage/BinaryPacket.h"
#include "storage/RecordStore.h"
#include "storage/XmlPacket.h"

namespace {

void Require(bool property) {
  if (!property) std::abort();
}

TableContent Read(std::string_view packet) {
  return IsBinaryPacket(packet) ? ReadBinaryPacket(packet) : ReadXmlPacket(packet);
}

// What a writer gives must read again and write the same bytes once more.
template <typename Write, typename ReadBack>
void RequireStableRoundTrip(const TableContent& content, Write write, ReadBack readBack) {
  const auto first = write(content);
  if (!first) return;
  try {
    const auto second = write(readBack(first->View()));
    Require(second.has_value() && second->View() == first->View());
  } catch (const Failure&) {
    Require(false);
  }
}

}  // namespace

void CheckPacket(std::string_view packet) {
  int entries = 0;
  try {
    RecordStore store("cdsFish", std::string(packet));
    entries = store.EntryCount();
    for (int row = 0; row < store.RowCount(); ++row) {
      for (std::size_t f = 0; f < store.Fields().size(); ++f)
        store.RowFieldText(row, f);
    }
    // Closed without a file name, the store keeps its content as a binary packet of its own.
    store.Close();
    store.Open();
    Require(store.EntryCount() == entries);
  } catch (const Failure&) {
    return;
  }
  const TableContent content = Read(packet);
  RequireStableRoundTrip(content, WriteXmlPacket, ReadXmlPacket);
  RequireStableRoundTrip(content, WriteBinaryPacket, ReadBinaryPacket);
}
