// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// "00 FF 03" -> {0x00, 0xFF, 0x03}
inline Bytes HexBytes(const QString& text) {
    Bytes bytes;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        bytes.push_back(static_cast<std::uint8_t>(part.toUInt(nullptr, 16)));
    return bytes;
}
