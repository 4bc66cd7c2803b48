// Decoding of member data: -lh0- (stored) and the static-Huffman methods -lh5-, -lh6-, -lh7-.
#pragma once
#include <cstdint>
#include <string>

#include "plugins/unlha32/byte_io.h"

// True for the methods DecodeMember can unpack (-lhd- folders have no data).
bool CanDecodeMethod(const std::string& method);

// Unpacks PACKED bytes at OFFSET of SOURCE into ORIGINAL bytes handed to SINK in order, and
// computes their CRC-16 into CRC. Returns "" on success or a short English error text
// (corrupt or truncated data, a sink failure). Never produces more than ORIGINAL bytes and
// never reads past OFFSET + PACKED.
std::string DecodeMember(const std::string& method, ByteSource& source, uint64_t offset,
                         uint64_t packed, uint64_t original, const ByteSink& sink,
                         uint16_t& crc);
