// SPDX-License-Identifier: MIT
#pragma once

#include "support/HexBytes.h"
#include "support/MessageBoxRecorder.h"
#include "support/WaitUntil.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "lang/LangMgr.h"
#include "scale/MeasurementRecord.h"
#include "scale/ScaleFrame.h"
#include "scale/ScaleSelection.h"
#include "scale/THidDeviceController.h"
#include "scale/VirtualHidBackend.h"
#include "store/TdmMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <ostream>
#include <vector>

inline Bytes RequestBytes(const ScaleRequest& request) {
    return Bytes(request.begin(), request.end());
}

// Sits between the devices and the virtual scales and decides what happens to each request on
// its way out: the test can make the scale never hear a given request (so that its reply is
// lost), or hear it twice (so that its reply comes twice). Every request the program wrote is
// logged, heard or not.
class RequestFilter {
public:
    enum class Action { Pass, Drop, Duplicate };

    void DropNext(const ScaleRequest& request, int times = 1) { Add(request, Action::Drop, times); }
    void DuplicateNext(const ScaleRequest& request, int times = 1) { Add(request, Action::Duplicate, times); }
    // Runs once, on the GUI thread, just before the scale hears request.
    void BeforeNext(const ScaleRequest& request, std::function<void()> action) {
        std::lock_guard<std::mutex> lock(mutex_);
        hooks_.push_back({RequestBytes(request), std::move(action)});
    }

    Action Take(const std::uint8_t* report, std::size_t size) {
        std::function<void()> hook;
        Action action = Action::Pass;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const Bytes written(report, report + size);
            log_.push_back(written);
            for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
                if (it->request == written) {
                    hook = std::move(it->action);
                    hooks_.erase(it);
                    break;
                }
            }
            for (auto it = rules_.begin(); it != rules_.end(); ++it) {
                if (it->request == written) {
                    action = it->action;
                    if (--it->times == 0)
                        rules_.erase(it);
                    break;
                }
            }
        }
        if (hook)
            hook();
        return action;
    }

    std::vector<Bytes> Log() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return log_;
    }
    void ClearLog() {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.clear();
    }

private:
    struct Rule {
        Bytes request;
        Action action;
        int times;
    };
    struct Hook {
        Bytes request;
        std::function<void()> action;
    };
    void Add(const ScaleRequest& request, Action action, int times) {
        std::lock_guard<std::mutex> lock(mutex_);
        rules_.push_back({RequestBytes(request), action, times});
    }

    mutable std::mutex mutex_;
    std::vector<Rule> rules_;
    std::vector<Hook> hooks_;
    std::vector<Bytes> log_;
};

class FilteredConnection : public HidConnection {
public:
    FilteredConnection(std::unique_ptr<HidConnection> inner, RequestFilter& filter)
        : inner_(std::move(inner)), filter_(filter) {}

    int Write(const std::uint8_t* report, std::size_t size) override {
        switch (filter_.Take(report, size)) {
        case RequestFilter::Action::Drop:
            return static_cast<int>(size);
        case RequestFilter::Action::Duplicate:
            inner_->Write(report, size);
            return inner_->Write(report, size);
        case RequestFilter::Action::Pass:
            break;
        }
        return inner_->Write(report, size);
    }
    int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        return inner_->Read(buffer, size, timeoutMs);
    }

private:
    std::unique_ptr<HidConnection> inner_;
    RequestFilter& filter_;
};

// The virtual back end with the request filter in front of its devices.
class FilteredBackend : public HidBackend {
public:
    FilteredBackend() {
        connect(&virtualBackend, &HidBackend::DevicesChanged, this, &HidBackend::DevicesChanged);
    }
    std::vector<HidDeviceInfo> Enumerate() override { return virtualBackend.Enumerate(); }
    std::unique_ptr<HidConnection> Open(const QString& path) override {
        std::unique_ptr<HidConnection> inner = virtualBackend.Open(path);
        if (!inner)
            return nullptr;
        return std::make_unique<FilteredConnection>(std::move(inner), filter);
    }

    VirtualHidBackend virtualBackend;
    RequestFilter filter;
};

inline QString SourceDir() {
    const QByteArray fromEnvironment = qgetenv("BFS_SOURCE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(BFS_SOURCE_DIR_AT_BUILD)
                                     : QString::fromLocal8Bit(fromEnvironment);
}

// A fresh folder and database per test, the English language, user 1 logged in, message boxes
// recorded, the clock fixed, and a device controller whose back end the test plugs scales into.
class OperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals = TGlobals{};
        Globals.CurrentUserId = 1;
        Globals.CurrentUserName = QStringLiteral("Alice");
        LangMgr().LoadLanguageList(SourceDir() + QStringLiteral("/resources/Lang/"), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        ASSERT_EQ(LangMgr().CurrentLanguage(), QStringLiteral("English"));
        store = std::make_unique<TdmMain>(folder.filePath(QStringLiteral("db")), QString());
        store->DataModuleCreate();
        SetDataModule(store.get());
        previousClock = SetClock([this] { return now; });

        auto filtered = std::make_unique<FilteredBackend>();
        backend = filtered.get();
        controller = std::make_unique<THidDeviceController>(std::move(filtered));
        QObject::connect(controller.get(), &THidDeviceController::OnArrival,
                         [this](THidDevice* device) { SelectArrivedScale(*controller, device); });
        QObject::connect(controller.get(), &THidDeviceController::OnRemoval,
                         [this](THidDevice* device) { ReleaseRemovedScale(*controller, device); });
    }

    void TearDown() override {
        controller.reset();
        SetClock(previousClock);
        SetDataModule(nullptr);
        Globals = TGlobals{};
    }

    // Plugs a scale in and waits until it is the attached scale.
    VirtualScale& PlugScale() {
        VirtualScale& scale = backend->virtualBackend.plugIn();
        EXPECT_TRUE(WaitUntil([] { return Globals.AttachedScale != nullptr; }));
        if (Globals.AttachedScale)
            Globals.AttachedScale->SetReaderSleepTime(10); // dialogs close quickly
        return scale;
    }
    void Unplug(VirtualScale& scale) {
        backend->virtualBackend.unplug(scale);
        EXPECT_TRUE(WaitUntil([] { return Globals.AttachedScale == nullptr; }));
    }

    std::vector<Bytes> Requests() const { return backend->filter.Log(); }
    RequestFilter& Filter() { return backend->filter; }

    bool BoxShown(const char* key) const { return boxes.texts().contains(GetText(key)); }
    bool WaitForBox(const char* key, int timeoutMs = 3000) const {
        return WaitUntil([&] { return BoxShown(key); }, timeoutMs);
    }
    // Expects exactly one box showing key, with its caption and icon.
    void ExpectBox(const char* key, const char* captionKey, int flags) const {
        int found = 0;
        for (const MessageBoxRecorder::Shown& shown : boxes.shown()) {
            if (shown.text != GetText(key))
                continue;
            ++found;
            EXPECT_EQ(shown.caption, GetText(captionKey)) << key;
            EXPECT_EQ(shown.flags, flags) << key;
        }
        EXPECT_EQ(found, 1) << key << " shown " << found << " times";
        EXPECT_FALSE(GetText(key).isEmpty()) << key;
    }

    QDateTime now{QDate(2024, 3, 31), QTime(10, 0, 0)};
    QTemporaryDir folder;
    std::unique_ptr<TdmMain> store;
    MessageBoxRecorder boxes;
    FilteredBackend* backend = nullptr;
    std::unique_ptr<THidDeviceController> controller;
    std::function<QDateTime()> previousClock;
};

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const MeasurementRecord& record, std::ostream* out) {
    *out << record.Date.toString(Qt::ISODate).toStdString() << ' ' << record.Weight << '/' << record.Fat
         << '/' << record.Tbw << '/' << record.Mus << '/' << record.Bone;
}
