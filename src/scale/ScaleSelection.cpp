// SPDX-License-Identifier: MIT
#include "scale/ScaleSelection.h"

#include "core/Globals.h"
#include "scale/THidDevice.h"
#include "scale/THidDeviceController.h"

bool IsScaleDevice(const THidDevice& device) {
    return device.VendorID() == ScaleVendorId && device.ProductID() == ScaleProductId;
}

bool SelectArrivedScale(THidDeviceController& controller, THidDevice* device) {
    if (Globals.AttachedScale || !device || !IsScaleDevice(*device))
        return false;
    if (!controller.ClaimDevice(device))
        return false; // never keep an unclaimed device as the scale
    Globals.AttachedScale = device;
    return true;
}

bool ReleaseRemovedScale(THidDeviceController& controller, THidDevice* device) {
    if (!device || device != Globals.AttachedScale || !device->IsClaimed())
        return false;
    controller.ReleaseDevice(Globals.AttachedScale);
    return true;
}
