// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QIODevice;

// Writes fileName through write under a temporary name beside it and renames it into place once
// complete, so that a failed write never leaves part of a file under the chosen name. A file that
// cannot be created or written raises AppError naming it.
void WriteFileAtomically(const QString& fileName, const std::function<void(QIODevice&)>& write);
