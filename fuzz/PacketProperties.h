#pragma once

#include <string_view>

// Opens a store on the packet and, when that works, walks every value and checks that the
// packet's content writes and reads back to the same bytes, in both forms. A broken
// property stops the run.
void CheckPacket(std::string_view packet);
