// SPDX-License-Identifier: MIT
#include "scale/VirtualHidBackend.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>

VirtualHidBackend::VirtualHidBackend(QObject* parent) : HidBackend(parent) {}

VirtualHidBackend::~VirtualHidBackend() = default;

VirtualScale& VirtualHidBackend::plugIn(const VirtualDeviceIdentity& identity) {
    scales_.push_back(std::unique_ptr<VirtualScale>(new VirtualScale(identity)));
    Attach(*scales_.back());
    return *scales_.back();
}

void VirtualHidBackend::unplug(VirtualScale& scale) {
    const auto position = std::find(plugged_.begin(), plugged_.end(), &scale);
    if (position == plugged_.end())
        return;
    plugged_.erase(position);
    scale.Unplug();
    NotifyChange();
}

void VirtualHidBackend::replug(VirtualScale& scale) {
    if (std::find(plugged_.begin(), plugged_.end(), &scale) != plugged_.end())
        return;
    Attach(scale);
}

void VirtualHidBackend::Attach(VirtualScale& scale) {
    ++plugCount_;
    // An unplug the scale asks for itself arrives while a request is being written; it is carried
    // out then, and announced through the event loop like any other.
    QPointer<VirtualHidBackend> self(this);
    VirtualScale* target = &scale;
    scale.PlugIn(QStringLiteral("virtual/hidraw%1").arg(plugCount_),
                 QStringLiteral("virtual-%1").arg(plugCount_), [self, target] {
                     if (self)
                         self->unplug(*target);
                 });
    plugged_.push_back(&scale);
    NotifyChange();
}

void VirtualHidBackend::NotifyChange() {
    QMetaObject::invokeMethod(this, &HidBackend::DevicesChanged, Qt::QueuedConnection);
}

std::vector<HidDeviceInfo> VirtualHidBackend::Enumerate() {
    std::vector<HidDeviceInfo> devices;
    for (const VirtualScale* scale : plugged_) {
        const VirtualDeviceIdentity& identity = scale->identity();
        devices.push_back(
            {scale->path(), scale->instanceId(), identity.VendorId, identity.ProductId, identity.Version});
    }
    return devices;
}

std::unique_ptr<HidConnection> VirtualHidBackend::Open(const QString& path) {
    for (VirtualScale* scale : plugged_) {
        if (scale->path() == path)
            return scale->Open();
    }
    return nullptr;
}
