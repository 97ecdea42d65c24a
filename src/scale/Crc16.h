// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM (polynomial 0x1021, initial value 0, no reflection, no final XOR), the checksum
// of every frame the scale sends and receives. Crc16 of "123456789" is 0x31C3.
std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t length);
