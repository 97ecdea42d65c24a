// SPDX-License-Identifier: MIT
#include "scale/Crc16.h"

#include <array>

namespace {

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned index = 0; index < 256; ++index) {
        unsigned crc = index << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[index] = static_cast<std::uint16_t>(crc);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> Crc16Table = MakeCrc16Table();

} // namespace

std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t length) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>(Crc16Table[(bytes[i] ^ (crc >> 8)) & 0xFF] ^ ((crc << 8) & 0xFFFF));
    return crc;
}
