// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class THidDevice;
class THidDeviceController;

// Which HID device is the scale, for the main window's HidMgrArrival and HidMgrRemoval. The first
// matching device to arrive becomes Globals.AttachedScale; a second one is ignored while one is
// attached, and is not taken over when the first goes (it has to be plugged in again).
constexpr std::uint16_t ScaleVendorId = 0x0FFF;
constexpr std::uint16_t ScaleProductId = 0x0001;

bool IsScaleDevice(const THidDevice& device);

// HidMgrArrival: claims device as the AttachedScale when none is attached and it is a scale.
// True when the scale became attached (the status bar then shows "ScaleConnected").
bool SelectArrivedScale(THidDeviceController& controller, THidDevice* device);

// HidMgrRemoval: when device is the claimed AttachedScale, releases it (which destroys it, being
// unplugged) and clears AttachedScale. True when the scale was lost ("ScaleDisconnected").
bool ReleaseRemovedScale(THidDeviceController& controller, THidDevice* device);
