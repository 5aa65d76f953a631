#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ByteBuffer.h"
#include "storage/TableContent.h"

// The XML data file: one line, every value in an attribute, text as CP932 bytes.

// The whole document; nullopt when a field's kind has no word to be written with.
std::optional<ByteBuffer> WriteXmlPacket(const TableContent& content);

// Reads a whole document in place, front to back, without building a tree. A document this
// form does not accept fails with Failure(code, "") (codes in PacketError.h).
TableContent ReadXmlPacket(std::string_view document);
