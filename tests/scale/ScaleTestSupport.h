// SPDX-License-Identifier: MIT
#pragma once

#include "support/HexBytes.h"
#include "support/WaitUntil.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QThread>
#include <cstdint>
#include <vector>

template <typename Container> Bytes ToBytes(const Container& container) {
    return Bytes(container.begin(), container.end());
}
