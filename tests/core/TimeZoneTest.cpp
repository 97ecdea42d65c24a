// SPDX-License-Identifier: MIT
#include "core/Clock.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>

namespace {

// Puts TZ back as it was when the test began.
class TimeZoneTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (saved_)
            qputenv("TZ", *saved_);
        else
            qunsetenv("TZ");
    }

private:
    std::optional<QByteArray> saved_ =
        qEnvironmentVariableIsSet("TZ") ? std::optional<QByteArray>(qgetenv("TZ")) : std::nullopt;
};

TEST_F(TimeZoneTest, AnUnsetZoneBecomesTheSystemsZoneFileAndASetOneStays) {
    qunsetenv("TZ");
    KeepSystemTimeZoneForTheRun();
    if (QFileInfo::exists(QStringLiteral("/etc/localtime")))
        EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    else
        EXPECT_FALSE(qEnvironmentVariableIsSet("TZ")) << "no zone file to name";

    qputenv("TZ", "Asia/Tokyo");
    KeepSystemTimeZoneForTheRun();
    EXPECT_EQ(qgetenv("TZ"), QByteArray("Asia/Tokyo"));
    qputenv("TZ", "");
    KeepSystemTimeZoneForTheRun();
    EXPECT_EQ(qgetenv("TZ"), QByteArray()) << "an empty TZ means UTC to the C library, and is kept";
}

} // namespace
