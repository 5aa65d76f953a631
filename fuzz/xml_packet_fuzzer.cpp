#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/PacketProperties.h"
#include "storage/BinaryPacket.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view packet(reinterpret_cast<const char*>(data), size);
  if (!IsBinaryPacket(packet)) CheckPacket(packet);
  return 0;
}
