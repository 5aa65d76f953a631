#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/PacketProperties.h"

// The signature is given, so every mutation lands in the version, the header and beyond.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string packet("\x96\x19\xE0\xBD", 4);
  packet.append(reinterpret_cast<const char*>(data), size);
  CheckPacket(packet);
  return 0;
}
