// SPDX-License-Identifier: MIT
#include "scale/THidDeviceController.h"

#include "core/Globals.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>

THidDeviceController::THidDeviceController(std::unique_ptr<HidBackend> backend, QObject* parent)
    : QObject(parent), backend_(std::move(backend)) {
    setObjectName(QStringLiteral("HidMgr"));
    connect(backend_.get(), &HidBackend::DevicesChanged, this, &THidDeviceController::DeviceChange);
    QMetaObject::invokeMethod(this, &THidDeviceController::DeviceChange, Qt::QueuedConnection);
}

THidDeviceController::~THidDeviceController() {
    disconnect(backend_.get(), nullptr, this, nullptr);
    for (THidDevice* device : devices_) {
        if (Globals.AttachedScale == device)
            Globals.AttachedScale = nullptr;
        delete device;
    }
    devices_.clear();
}

bool THidDeviceController::ClaimDevice(THidDevice* device) {
    if (std::find(devices_.begin(), devices_.end(), device) == devices_.end())
        return false;
    if (!device->IsPluggedIn() || device->IsClaimed())
        return false;
    device->SetClaimed(true);
    return true;
}

void THidDeviceController::ReleaseDevice(THidDevice*& device) {
    THidDevice* released = device;
    device = nullptr;
    if (std::find(devices_.begin(), devices_.end(), released) == devices_.end())
        return;
    released->CloseHandles();
    released->SetClaimed(false);
    if (!released->IsPluggedIn())
        Forget(released);
}

void THidDeviceController::SetDevThreadSleepTime(int milliseconds) {
    for (THidDevice* device : devices_) {
        if (device->ReaderSleepTime() == devThreadSleepTime_)
            device->SetReaderSleepTime(milliseconds);
    }
    devThreadSleepTime_ = milliseconds;
}

void THidDeviceController::DeviceChange() {
    // Handlers of OnArrival and OnRemoval may run an event loop (a message box); a change
    // notified meanwhile is taken up when this one is done.
    if (changing_) {
        changePending_ = true;
        return;
    }
    changing_ = true;
    changePending_ = false;
    struct ChangeDone {
        THidDeviceController* controller;
        ~ChangeDone() {
            controller->changing_ = false;
            if (controller->changePending_)
                QMetaObject::invokeMethod(controller, &THidDeviceController::DeviceChange,
                                          Qt::QueuedConnection);
        }
    } done{this};

    const std::vector<HidDeviceInfo> present = backend_->Enumerate();
    RemoveLostDevices(present);
    AddArrivedDevices(present);
}

void THidDeviceController::RemoveLostDevices(const std::vector<HidDeviceInfo>& present) {
    // Handlers may destroy devices, so walk a guarded copy of the list.
    std::vector<QPointer<THidDevice>> known(devices_.rbegin(), devices_.rend());
    for (const QPointer<THidDevice>& device : known) {
        if (!device)
            continue;
        const bool stillThere = device->IsPluggedIn() &&
                                std::any_of(present.begin(), present.end(), [&](const HidDeviceInfo& info) {
                                    return info.InstanceId == device->InstanceId();
                                });
        if (stillThere)
            continue;
        device->Unplug();
        emit OnRemoval(device);
        if (device && !device->IsClaimed())
            Forget(device);
    }
}

void THidDeviceController::AddArrivedDevices(const std::vector<HidDeviceInfo>& present) {
    for (const HidDeviceInfo& info : present) {
        const bool known = std::any_of(devices_.begin(), devices_.end(), [&](const THidDevice* device) {
            return device->IsPluggedIn() && device->InstanceId() == info.InstanceId;
        });
        if (known)
            continue;
        // A device that cannot be opened for reading and writing is of no use and is skipped, like
        // one that cannot be identified; every device in the list therefore has that access.
        if (!backend_->Open(info.Path))
            continue;
        auto* device = new THidDevice(*this, *backend_, info);
        devices_.push_back(device);
        emit OnArrival(device);
    }
}

void THidDeviceController::Forget(THidDevice* device) {
    devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
    delete device;
}
