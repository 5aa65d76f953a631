#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ByteBuffer.h"
#include "storage/TableContent.h"

// The record store's own binary encoding: a 24-byte header, a descriptor per field, the
// packet's parameters, then one row per entry. Numbers are little-endian.

// A packet with the signature whose version and sub-version are at most 3.
bool IsBinaryPacket(std::string_view packet);

// nullopt when the structure does not fit the form (more than 65,535 fields).
std::optional<ByteBuffer> WriteBinaryPacket(const TableContent& content);

// Fails with Failure(code, "") (codes in PacketError.h) when the packet ends before its counts
// are satisfied or its descriptors do not decode.
TableContent ReadBinaryPacket(std::string_view packet);
