// SPDX-License-Identifier: MIT
#include "scale/ScaleFrame.h"

#include "scale/Crc16.h"

#include <algorithm>

ScaleRequest BuildScaleRequest(const ScalePayload& payload) {
    ScaleRequest request{};
    request[0] = 0x00;
    request[1] = 0xFF;
    std::copy(payload.begin(), payload.end(), request.begin() + 2);
    const std::uint16_t crc = Crc16(payload.data(), payload.size());
    request[7] = static_cast<std::uint8_t>(crc >> 8);
    request[8] = static_cast<std::uint8_t>(crc & 0xFF);
    return request;
}

ScaleReply BuildScaleReply(const ScaleReplyContent& content) {
    ScaleReply reply{};
    std::copy(content.begin(), content.end(), reply.begin());
    const std::uint16_t crc = Crc16(content.data(), content.size());
    reply[6] = static_cast<std::uint8_t>(crc >> 8);
    reply[7] = static_cast<std::uint8_t>(crc & 0xFF);
    return reply;
}

bool ScaleReplyChecksumOk(const std::uint8_t* data, std::size_t size) {
    if (size != ScaleReplySize)
        return false;
    const std::uint16_t crc = Crc16(data, ScaleReplyContentSize);
    return data[6] == (crc >> 8) && data[7] == (crc & 0xFF);
}

ScaleReply CopyScaleReply(const std::uint8_t* data) {
    ScaleReply reply{};
    std::copy(data, data + ScaleReplySize, reply.begin());
    return reply;
}
