// SPDX-License-Identifier: MIT
#include "scale/Crc16.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Bit by bit, straight from the polynomial, as an independent check of the table.
std::uint16_t BitwiseCrc16Xmodem(const std::vector<std::uint8_t>& bytes) {
    std::uint16_t crc = 0;
    for (std::uint8_t byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

TEST(Crc16Test, CheckValueAndEmptyInput) {
    const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16(digits, sizeof digits), 0x31C3);
    EXPECT_EQ(Crc16(digits, 0), 0x0000);
    EXPECT_EQ(Crc16(nullptr, 0), 0x0000);
}

TEST(Crc16Test, MatchesBitwiseComputationOnRandomInputs) {
    std::mt19937 random(20090312);
    std::uniform_int_distribution<int> length(0, 300);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length(random)));
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(byte(random));
        ASSERT_EQ(Crc16(bytes.data(), bytes.size()), BitwiseCrc16Xmodem(bytes)) << "length " << bytes.size();
    }
}

} // namespace
