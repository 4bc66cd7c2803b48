// The CRC-16 that LHA archives store for headers and member data (polynomial 0xA001, reflected,
// starting from 0).
#pragma once
#include <cstddef>
#include <cstdint>

uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t size);
