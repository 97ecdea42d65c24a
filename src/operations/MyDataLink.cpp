// SPDX-License-Identifier: MIT
#include "operations/MyDataLink.h"

namespace {
std::function<QObject*()>& Source() {
    static std::function<QObject*()> source;
    return source;
}
} // namespace

void SetMyDataHandleSource(std::function<QObject*()> source) {
    Source() = std::move(source);
}

QObject* MyDataHandle() {
    return Source() ? Source()() : nullptr;
}
