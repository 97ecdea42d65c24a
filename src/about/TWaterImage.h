// SPDX-License-Identifier: MIT
#pragma once

#include "about/ProgramRandom.h"
#include "about/TWaterEffect.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QTimer;
class TWaterImage;

// Called with the control and a picture: before each frame with a copy of the source picture
// (changes show in that frame only), after each frame with the finished frame.
using TRenderEvent = std::function<void(TWaterImage* Sender, QImage& ABitmap)>;

// A picture seen through rippling water. A 50 ms timer advances the waves and lets random drops
// fall; the mouse leaves a trail of small drops and the left button makes bigger ones. Each frame
// is rendered into an off-screen picture that painting copies to the screen.
class TWaterImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int Damping READ Damping WRITE SetDamping)
    Q_PROPERTY(int ClickBlob READ ClickBlob WRITE SetClickBlob)
    Q_PROPERTY(int TrackBlob READ TrackBlob WRITE SetTrackBlob)
    Q_PROPERTY(int RandomBlob READ RandomBlob WRITE SetRandomBlob)
    Q_PROPERTY(int RandomDelay READ RandomDelay WRITE SetRandomDelay)

public:
    static constexpr int TimerInterval = 50;

    explicit TWaterImage(QWidget* parent = nullptr, TRandomSource random = ProgramRandom);
    ~TWaterImage() override;

    const QImage& Picture() const { return Picture_; }
    void SetPicture(const QImage& picture); // copies the picture
    bool AutoSize() const { return AutoSize_; }
    void SetAutoSize(bool autoSize);
    int Damping() const { return effect_.Damping(); }
    void SetDamping(int damping) { effect_.SetDamping(damping); } // 1 to 99, others ignored
    int ClickBlob() const { return ClickBlob_; }
    void SetClickBlob(int strength) { ClickBlob_ = strength; }
    int TrackBlob() const { return TrackBlob_; }
    void SetTrackBlob(int strength) { TrackBlob_ = strength; }
    // Random drops have strengths 100 to RandomBlob + 99; 0 or less switches them off.
    int RandomBlob() const { return RandomBlob_; }
    void SetRandomBlob(int strength) { RandomBlob_ = strength; }
    // A random drop falls in one timer tick of ceiling(RandomDelay / 50) + 1; 0 or less: never.
    int RandomDelay() const { return RandomDelay_; }
    void SetRandomDelay(int milliseconds) { RandomDelay_ = milliseconds; }
    void SetOnBeforeRender(TRenderEvent handler) { OnBeforeRender_ = std::move(handler); }
    void SetOnAfterRender(TRenderEvent handler) { OnAfterRender_ = std::move(handler); }

    QSize sizeHint() const override;

    // The parts the control renders with, for those who look closer (tests).
    TWaterEffect& Effect() { return effect_; }
    const QImage& SourceBitmap() const { return SourceBitmap_; }
    const QImage& TargetBitmap() const { return TargetBitmap_; }
    QTimer* RippleTimer() const { return RippleTimer_; }

    // One tick of the ripple timer: a random drop perhaps, one frame, a repaint.
    void RippleTimerTimer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void RebuildBitmaps();
    void ApplyAutoSize();
    void Render(QImage& source);

    QImage Picture_;
    bool AutoSize_ = false;
    int ClickBlob_ = 250;
    int TrackBlob_ = 100;
    int RandomBlob_ = 500;
    int RandomDelay_ = 800;
    TRenderEvent OnBeforeRender_;
    TRenderEvent OnAfterRender_;

    TRandomSource random_;
    QTimer* RippleTimer_ = nullptr;
    QImage SourceBitmap_;
    QImage TargetBitmap_;
    TWaterEffect effect_;
    bool Painting_ = false;
    bool destroying_ = false;
};
