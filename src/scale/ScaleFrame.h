// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The scale's two frame layouts. A request is 9 bytes: report ID 0x00, lead byte 0xFF, five
// payload bytes and the Crc16 of the payload, high byte first. A reply is 8 bytes after the
// report ID: six content bytes and the Crc16 of those six, high byte first.
constexpr std::size_t ScaleRequestSize = 9;
constexpr std::size_t ScaleReplySize = 8;
constexpr std::size_t ScalePayloadSize = 5;
constexpr std::size_t ScaleReplyContentSize = 6;

using ScaleRequest = std::array<std::uint8_t, ScaleRequestSize>;
using ScaleReply = std::array<std::uint8_t, ScaleReplySize>;
using ScalePayload = std::array<std::uint8_t, ScalePayloadSize>;
using ScaleReplyContent = std::array<std::uint8_t, ScaleReplyContentSize>;

ScaleRequest BuildScaleRequest(const ScalePayload& payload);
ScaleReply BuildScaleReply(const ScaleReplyContent& content);

// True for 8 bytes whose last two are the checksum of the first six.
bool ScaleReplyChecksumOk(const std::uint8_t* data, std::size_t size);

// The first 8 bytes at data, for keeping a reply beyond the handler call.
ScaleReply CopyScaleReply(const std::uint8_t* data);
