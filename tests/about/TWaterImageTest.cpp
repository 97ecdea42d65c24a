// SPDX-License-Identifier: MIT
#include "about/TWaterImage.h"
#include "ScriptedRandom.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QImage Solid(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Left half red, right half blue.
QImage Halves(int width, int height) {
    QImage image = Solid(width, height, Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class WaterImageTest : public ::testing::Test {
protected:
    ScriptedRandom random;
    TWaterImage image{nullptr, random.Source()};
};

TEST_F(WaterImageTest, StartsWithTheDefaults) {
    EXPECT_TRUE(image.Picture().isNull());
    EXPECT_FALSE(image.AutoSize());
    EXPECT_EQ(image.Damping(), 20);
    EXPECT_EQ(image.ClickBlob(), 250);
    EXPECT_EQ(image.TrackBlob(), 100);
    EXPECT_EQ(image.RandomBlob(), 500);
    EXPECT_EQ(image.RandomDelay(), 800);
    EXPECT_EQ(image.size(), QSize(105, 105));
    EXPECT_EQ(image.RippleTimer()->interval(), 50);
    EXPECT_TRUE(image.RippleTimer()->isActive());
    EXPECT_EQ(image.Effect().MapWidth(), 105);
    EXPECT_EQ(image.Effect().MapHeight(), 105);
}

TEST_F(WaterImageTest, PropertiesAreReachableByName) {
    EXPECT_TRUE(image.setProperty("RandomBlob", 5));
    EXPECT_EQ(image.RandomBlob(), 5);
    EXPECT_TRUE(image.setProperty("Damping", 35));
    EXPECT_EQ(image.Effect().Damping(), 35);
    image.SetDamping(0);
    image.SetDamping(100);
    EXPECT_EQ(image.property("Damping").toInt(), 35);
}

TEST_F(WaterImageTest, AutoSizeTakesThePictureSizeAndStillsTheWater) {
    image.SetPicture(Solid(50, 50, Qt::green));
    image.Effect().AddBlob(10, 10, 2, 300);
    image.move(7, 9);
    image.SetAutoSize(true);
    image.SetPicture(Halves(40, 30));
    EXPECT_EQ(image.geometry(), QRect(7, 9, 40, 30));
    EXPECT_EQ(image.SourceBitmap().size(), QSize(40, 30));
    EXPECT_EQ(image.TargetBitmap(), image.SourceBitmap());
    EXPECT_EQ(image.Effect().MapWidth(), 40);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(image.Effect().CurrentRow(y)[x], 0);
    EXPECT_EQ(image.SourceBitmap().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(image.sizeHint(), QSize(40, 30));
}

TEST_F(WaterImageTest, WithoutAutoSizeThePictureIsStretchedOverTheControl) {
    image.SetPicture(Halves(10, 4));
    EXPECT_EQ(image.size(), QSize(105, 105));
    EXPECT_EQ(image.SourceBitmap().size(), QSize(105, 105));
    EXPECT_EQ(image.SourceBitmap().format(), QImage::Format_RGB888);
    EXPECT_EQ(image.SourceBitmap().pixelColor(10, 100), QColor(Qt::red));
    EXPECT_EQ(image.SourceBitmap().pixelColor(95, 3), QColor(Qt::blue));
}

TEST_F(WaterImageTest, SettingThePictureCopiesIt) {
    QImage picture = Solid(8, 8, Qt::yellow);
    image.SetPicture(picture);
    picture.fill(Qt::black);
    EXPECT_EQ(image.Picture().pixelColor(0, 0), QColor(Qt::yellow));
}

TEST_F(WaterImageTest, RandomDropsDrawChanceRadiusStrengthThenPosition) {
    struct Case {
        int randomDelay;
        int randomBlob;
        std::initializer_list<int> answers;
        std::vector<int> ranges;
        int strength; // 0: no drop
    };
    const Case cases[] = {
        {800, 500, {0, 1, 499, 30, 40}, {17, 2, 500, 32767, 32767}, 599},
        {800, 5, {0, 0, 4, 30, 40}, {17, 2, 5, 32767, 32767}, 104},
        {800, 5, {0, 0, 0, 30, 40}, {17, 2, 5, 32767, 32767}, 100},
        {800, 5, {16}, {17}, 0},
        {50, 5, {1}, {2}, 0},
        {51, 5, {2}, {3}, 0},
        {1, 5, {1}, {2}, 0},
        {0, 5, {0}, {}, 0},
        {800, 0, {0}, {}, 0},
        {-5, 5, {0}, {}, 0},
    };
    for (const Case& c : cases) {
        ScriptedRandom script;
        TWaterImage water(nullptr, script.Source());
        water.SetAutoSize(true);
        water.SetPicture(Solid(60, 50, Qt::gray));
        water.SetRandomDelay(c.randomDelay);
        water.SetRandomBlob(c.randomBlob);
        script.Answer(c.answers);
        water.RippleTimerTimer();
        EXPECT_EQ(script.Ranges(), c.ranges) << c.randomDelay << " " << c.randomBlob;
        // The tick has rendered a frame since: the map with the drop is now the previous one.
        int highest = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x)
                highest = std::max(highest, water.Effect().PreviousRow(y)[x]);
        EXPECT_EQ(highest, c.strength) << c.randomDelay << " " << c.randomBlob;
    }
}

TEST_F(WaterImageTest, RandomDropFallsWhereThePositionDrawsSay) {
    image.SetAutoSize(true);
    image.SetPicture(Solid(60, 50, Qt::gray));
    random.Answer({0, 1, 3, 30, 40}); // radius 2: x = 30 mod 55 + 3, y = 40 mod 45 + 3
    image.RippleTimerTimer();
    EXPECT_EQ(image.Effect().PreviousRow(43)[33], 103);
    EXPECT_EQ(image.Effect().PreviousRow(41)[33], 103);
    EXPECT_EQ(image.Effect().PreviousRow(40)[33], 0);
}

TEST_F(WaterImageTest, TicksDoNothingWhenDisabledOrWithoutPicture) {
    image.RippleTimerTimer();
    EXPECT_TRUE(random.Ranges().empty());
    image.SetPicture(Solid(20, 20, Qt::gray));
    image.setEnabled(false);
    image.Effect().AddBlob(50, 50, 1, 100);
    image.RippleTimerTimer();
    EXPECT_TRUE(random.Ranges().empty());
    EXPECT_EQ(image.Effect().CurrentRow(50)[50], 100); // no step taken
    image.setEnabled(true);
    random.Answer({5});
    image.RippleTimerTimer();
    EXPECT_EQ(random.Ranges(), std::vector<int>{17});
    EXPECT_NE(image.Effect().CurrentRow(50)[50], 100);
}

TEST_F(WaterImageTest, BeforeRenderChangesOneFrameOnly) {
    image.SetAutoSize(true);
    image.SetPicture(Solid(30, 20, Qt::gray));
    random.Answer({5, 5});
    int calls = 0;
    image.SetOnBeforeRender([&](TWaterImage* sender, QImage& bitmap) {
        EXPECT_EQ(sender, &image);
        EXPECT_EQ(bitmap, image.SourceBitmap());
        bitmap.fill(Qt::red);
        ++calls;
    });
    image.RippleTimerTimer();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image.TargetBitmap().pixelColor(10, 10), QColor(Qt::red)); // still water: a copy
    EXPECT_EQ(image.SourceBitmap().pixelColor(10, 10), QColor(Qt::gray));
    image.SetOnBeforeRender(nullptr);
    image.RippleTimerTimer();
    EXPECT_EQ(image.TargetBitmap().pixelColor(10, 10), QColor(Qt::gray));
}

TEST_F(WaterImageTest, BeforeRenderMayHandBackAPictureOfAnotherSize) {
    image.SetAutoSize(true);
    image.SetPicture(Solid(30, 20, Qt::gray));
    random.Answer({5, 5, 5});
    image.SetOnBeforeRender([](TWaterImage*, QImage& bitmap) { bitmap = Solid(7, 3, Qt::red); });
    image.Effect().AddBlob(3, 2, 2, 60);
    image.RippleTimerTimer();
    EXPECT_EQ(image.TargetBitmap().size(), QSize(30, 20));
    EXPECT_EQ(image.TargetBitmap().pixelColor(20, 15), QColor(Qt::gray)); // outside the small picture
    image.SetOnBeforeRender([](TWaterImage*, QImage& bitmap) { bitmap = QImage(); });
    image.RippleTimerTimer();
}

TEST_F(WaterImageTest, AfterRenderSeesTheFinishedFrame) {
    image.SetAutoSize(true);
    image.SetPicture(Solid(30, 20, Qt::gray));
    random.Answer({5});
    QImage seen;
    image.SetOnAfterRender([&](TWaterImage* sender, QImage& bitmap) {
        EXPECT_EQ(sender, &image);
        EXPECT_EQ(&bitmap, &image.TargetBitmap());
        seen = bitmap;
    });
    image.RippleTimerTimer();
    EXPECT_EQ(seen, image.TargetBitmap());
}

TEST_F(WaterImageTest, MouseLeavesTrailsAndClicksMakeDrops) {
    image.SetAutoSize(true);
    image.SetPicture(Solid(40, 30, Qt::gray));
    SendMouse(&image, QEvent::MouseMove, {10, 12}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(image.Effect().CurrentRow(12)[10], 100);
    EXPECT_EQ(image.Effect().CurrentRow(12)[11], 100);
    EXPECT_EQ(image.Effect().CurrentRow(13)[11], 0);
    SendMouse(&image, QEvent::MouseMove, {20, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(image.Effect().CurrentRow(5)[20], 250);
    SendMouse(&image, QEvent::MouseMove, {30, 5}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(image.Effect().CurrentRow(5)[30], 100);
    SendMouse(&image, QEvent::MouseButtonPress, {35, 25}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(image.Effect().CurrentRow(25)[35], 250);
    SendMouse(&image, QEvent::MouseButtonPress, {5, 25}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(image.Effect().CurrentRow(25)[5], 0);
    // Points outside the control (a grabbed mouse) leave nothing, not even a random drop.
    SendMouse(&image, QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::LeftButton);
    SendMouse(&image, QEvent::MouseMove, {-1, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(random.Ranges().empty());
    image.SetTrackBlob(7);
    image.SetClickBlob(9);
    SendMouse(&image, QEvent::MouseMove, {1, 1}, Qt::NoButton, Qt::NoButton);
    SendMouse(&image, QEvent::MouseButtonPress, {38, 1}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(image.Effect().CurrentRow(1)[1], 7);
    EXPECT_EQ(image.Effect().CurrentRow(1)[38], 9);
}

TEST_F(WaterImageTest, PaintsTheRenderedFrame) {
    image.SetAutoSize(true);
    image.SetPicture(Halves(30, 20));
    random.Answer({5});
    image.Effect().AddBlob(15, 10, 2, 3);
    image.RippleTimerTimer();
    const QImage painted = image.grab().toImage().convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(painted, image.TargetBitmap());
    EXPECT_NE(image.TargetBitmap(), image.SourceBitmap());
}

TEST_F(WaterImageTest, ResizingRebuildsTheBitmapsAndStillsTheWater) {
    image.SetPicture(Halves(10, 10));
    image.show();
    image.Effect().AddBlob(5, 5, 2, 100);
    image.resize(64, 48);
    EXPECT_EQ(image.SourceBitmap().size(), QSize(64, 48));
    EXPECT_EQ(image.TargetBitmap().size(), QSize(64, 48));
    EXPECT_EQ(image.Effect().MapWidth(), 64);
    EXPECT_EQ(image.Effect().CurrentRow(5)[5], 0);
    image.hide();
    image.resize(20, 16); // a hidden control learns of it at the next tick
    random.Answer({5});
    image.RippleTimerTimer();
    EXPECT_EQ(image.TargetBitmap().size(), QSize(20, 16));
}

// Every small and odd size with random drops, mouse drops at the edges and frames: under the
// sanitizers this shows that nothing is read or written outside a map or a picture.
TEST_F(WaterImageTest, TinySizesSurviveDropsAndFrames) {
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(2, 2), QSize(3, 5),
                             QSize(5, 5), QSize(6, 6), QSize(13, 4)}) {
        ScriptedRandom script;
        TWaterImage water(nullptr, script.Source());
        water.SetPicture(Halves(9, 9));
        water.resize(size);
        water.SetRandomDelay(1);
        for (int tick = 0; tick < 6; ++tick) {
            script.Answer({0, tick % 2, tick * 7, tick * 11, 32766 - tick});
            for (const QPoint at : {QPoint(0, 0), QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1),
                                    QPoint(size.width() - 1, size.height() - 1)}) {
                SendMouse(&water, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
                SendMouse(&water, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            }
            water.RippleTimerTimer();
        }
        EXPECT_EQ(water.TargetBitmap().size(), size.isEmpty() ? QSize(0, 0) : size);
        water.grab();
    }
}

TEST_F(WaterImageTest, TheTimerRendersByItself) {
    image.SetPicture(Solid(10, 10, Qt::gray));
    int frames = 0;
    image.SetOnAfterRender([&](TWaterImage*, QImage&) { ++frames; });
    const QDeadlineTimer deadline(2000);
    while (frames < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(frames, 2);
}

} // namespace
