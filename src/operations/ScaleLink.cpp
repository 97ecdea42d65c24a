// SPDX-License-Identifier: MIT
#include "operations/ScaleLink.h"

#include "core/Globals.h"

bool SetScaleReplyHandler(THidDataEvent handler) {
    if (!Globals.AttachedScale)
        return false;
    Globals.AttachedScale->SetDataHandler(std::move(handler));
    return true;
}

void ClearScaleReplyHandler() {
    if (Globals.AttachedScale)
        Globals.AttachedScale->SetDataHandler(nullptr);
}

bool WriteScaleRequest(const ScaleRequest& request) {
    if (!Globals.AttachedScale)
        return false;
    std::size_t written = 0;
    return Globals.AttachedScale->WriteReport(request.data(), request.size(), written) &&
           written == request.size();
}
