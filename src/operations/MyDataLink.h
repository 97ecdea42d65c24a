// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QObject;

// The import tells the open measurement list to read its rows again. The list lives in a sibling
// module, so the application wires its GetMyDataHandle here; without a source no list is open.
void SetMyDataHandleSource(std::function<QObject*()> source);
// The open measurement list, or nullptr.
QObject* MyDataHandle();
