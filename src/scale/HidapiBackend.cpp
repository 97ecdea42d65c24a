// SPDX-License-Identifier: MIT
#include "scale/HidapiBackend.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>
#include <hidapi/hidapi.h>
#include <libudev.h>

namespace {

int hidapiUsers = 0;

// hidraw hands out the reports of a device that does not number them without a report ID byte,
// and takes output reports with a leading 0 that it strips. The rest of the program always sees
// the report ID first, so reads of such a device get the 0 put back.
bool UsesNumberedReports(const QString& path) {
    QFile descriptorFile(
        QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(QFileInfo(path).fileName()));
    if (!descriptorFile.open(QIODevice::ReadOnly))
        return false;
    const QByteArray descriptor = descriptorFile.readAll();
    for (int i = 0; i < descriptor.size();) {
        const auto prefix = static_cast<std::uint8_t>(descriptor[i]);
        if (prefix == 0xFE) { // long item: prefix, data size, tag, data
            if (i + 1 >= descriptor.size())
                break;
            i += 3 + static_cast<std::uint8_t>(descriptor[i + 1]);
            continue;
        }
        if ((prefix & 0xFC) == 0x84) // Report ID (global item)
            return true;
        const int sizeCode = prefix & 0x03;
        i += 1 + (sizeCode == 3 ? 4 : sizeCode);
    }
    return false;
}

class HidapiConnection : public HidConnection {
public:
    HidapiConnection(hid_device* device, bool numberedReports)
        : device_(device), numberedReports_(numberedReports) {}
    ~HidapiConnection() override { hid_close(device_); }

    int Write(const std::uint8_t* report, std::size_t size) override {
        return hid_write(device_, report, size);
    }

    int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        if (numberedReports_)
            return hid_read_timeout(device_, buffer, size, timeoutMs);
        if (size < 2)
            return -1;
        const int count = hid_read_timeout(device_, buffer + 1, size - 1, timeoutMs);
        if (count <= 0)
            return count;
        buffer[0] = 0x00;
        return count + 1;
    }

private:
    hid_device* device_;
    const bool numberedReports_;
};

} // namespace

HidapiBackend::HidapiBackend(QObject* parent) : HidBackend(parent) {
    if (hidapiUsers++ == 0)
        hid_init();
    udev_ = udev_new();
    StartWatching();
}

HidapiBackend::~HidapiBackend() {
    delete notifier_;
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
    if (--hidapiUsers == 0)
        hid_exit();
}

void HidapiBackend::StartWatching() {
    // Without udevd the kernel's events are never passed on to "udev" monitors.
    if (udev_ && QFile::exists(QStringLiteral("/run/udev/control"))) {
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (monitor_ && udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) >= 0 &&
            udev_monitor_enable_receiving(monitor_) >= 0) {
            notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
            connect(notifier_, &QSocketNotifier::activated, this, &HidapiBackend::UdevEvent);
            return;
        }
        if (monitor_)
            udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(PollIntervalMs);
    connect(pollTimer_, &QTimer::timeout, this, &HidBackend::DevicesChanged);
    pollTimer_->start();
}

void HidapiBackend::UdevEvent() {
    while (udev_device* device = udev_monitor_receive_device(monitor_))
        udev_device_unref(device);
    emit DevicesChanged();
}

QString HidapiBackend::InstanceIdOf(const QString& path) const {
    // The HID device's kernel name ("0003:0FFF:0001.0007") is numbered afresh on every plug-in,
    // unlike the /dev/hidrawN node, which is reused.
    QString instanceId = path;
    if (!udev_)
        return instanceId;
    const QByteArray sysname = QFileInfo(path).fileName().toLocal8Bit();
    udev_device* hidraw = udev_device_new_from_subsystem_sysname(udev_, "hidraw", sysname.constData());
    if (!hidraw)
        return instanceId;
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr)) {
        if (const char* name = udev_device_get_sysname(hid))
            instanceId = QString::fromLocal8Bit(name);
    }
    udev_device_unref(hidraw);
    return instanceId;
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate() {
    std::vector<HidDeviceInfo> devices;
    QSet<QString> seen;
    hid_device_info* list = hid_enumerate(0, 0);
    // One entry per top-level collection; the program wants one per device node.
    for (const hid_device_info* entry = list; entry; entry = entry->next) {
        if (!entry->path)
            continue;
        const QString path = QString::fromLocal8Bit(entry->path);
        if (seen.contains(path))
            continue;
        seen.insert(path);
        devices.push_back(
            {path, InstanceIdOf(path), entry->vendor_id, entry->product_id, entry->release_number});
    }
    hid_free_enumeration(list);
    return devices;
}

std::unique_ptr<HidConnection> HidapiBackend::Open(const QString& path) {
    hid_device* device = hid_open_path(path.toLocal8Bit().constData());
    if (!device)
        return nullptr;
    return std::make_unique<HidapiConnection>(device, UsesNumberedReports(path));
}
