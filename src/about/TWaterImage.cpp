// SPDX-License-Identifier: MIT
#include "about/TWaterImage.h"

#include "core/ErrorHandler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr QImage::Format PixelFormat = QImage::Format_RGB888; // three bytes a pixel

// The engine works on 24-bit pixel memory; other pictures are converted first.
void MakeThreeBytesPerPixel(QImage& image) {
    if (!image.isNull() && image.format() != PixelFormat)
        image.convertTo(PixelFormat);
}

TSourcePixels SourcePixelsOf(const QImage& image) {
    if (image.isNull())
        return {};
    return {image.constBits(), image.width(), image.height(),
            static_cast<std::ptrdiff_t>(image.bytesPerLine())};
}

TTargetPixels TargetPixelsOf(QImage& image) {
    if (image.isNull())
        return {};
    return {image.bits(), image.width(), image.height(), static_cast<std::ptrdiff_t>(image.bytesPerLine())};
}

} // namespace

TWaterImage::TWaterImage(QWidget* parent, TRandomSource random)
    : QWidget(parent), random_(random), RippleTimer_(new QTimer(this)), effect_(std::move(random)) {
    setObjectName(QStringLiteral("WaterImage"));
    setMouseTracking(true);
    RippleTimer_->setObjectName(QStringLiteral("RippleTimer"));
    RippleTimer_->setInterval(TimerInterval);
    connect(RippleTimer_, &QTimer::timeout, this, Guarded([this] { RippleTimerTimer(); }));
    RippleTimer_->start();
    resize(105, 105);
    RebuildBitmaps();
}

TWaterImage::~TWaterImage() {
    destroying_ = true;
}

void TWaterImage::SetPicture(const QImage& picture) {
    Picture_ = picture.copy();
    // The control paints every pixel itself only while it has a picture to paint.
    setAttribute(Qt::WA_OpaquePaintEvent, !Picture_.isNull());
    if (AutoSize_)
        ApplyAutoSize();
    RebuildBitmaps();
    if (!Painting_)
        update();
}

void TWaterImage::SetAutoSize(bool autoSize) {
    AutoSize_ = autoSize;
    if (AutoSize_ && size() != Picture_.size() && !Picture_.isNull()) {
        ApplyAutoSize();
        RebuildBitmaps();
        update();
    }
}

void TWaterImage::ApplyAutoSize() {
    if (Picture_.width() > 0 && Picture_.height() > 0)
        setGeometry(x(), y(), Picture_.width(), Picture_.height());
}

QSize TWaterImage::sizeHint() const {
    if (AutoSize_ && !Picture_.isNull())
        return Picture_.size();
    return QSize(105, 105);
}

void TWaterImage::RebuildBitmaps() {
    if (destroying_)
        return;
    const int w = width();
    const int h = height();
    SourceBitmap_ = w > 0 && h > 0 ? QImage(w, h, PixelFormat) : QImage();
    effect_.SetMapSize(w, h);
    if (SourceBitmap_.isNull()) {
        TargetBitmap_ = QImage();
        return;
    }
    SourceBitmap_.fill(Qt::black);
    if (!Picture_.isNull()) {
        QPainter painter(&SourceBitmap_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(SourceBitmap_.rect(), Picture_);
    }
    TargetBitmap_ = SourceBitmap_.copy();
}

void TWaterImage::resizeEvent(QResizeEvent* event) {
    // A hidden control receives its resize when it is first shown; the bitmaps may already fit.
    if (SourceBitmap_.size() != size() || (SourceBitmap_.isNull() && !size().isEmpty()))
        RebuildBitmaps();
    QWidget::resizeEvent(event);
}

void TWaterImage::paintEvent(QPaintEvent*) {
    const bool wasPainting = Painting_;
    Painting_ = true;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{Painting_, wasPainting};
    if (Picture_.isNull() || TargetBitmap_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, TargetBitmap_);
}

void TWaterImage::RippleTimerTimer() {
    if (!isEnabled() || Picture_.isNull())
        return;
    // A control resized while hidden has not had its resize event yet.
    if (SourceBitmap_.size() != size())
        RebuildBitmaps();

    if (RandomDelay_ > 0 && RandomBlob_ > 0) {
        const int chances = (RandomDelay_ + TimerInterval - 1) / TimerInterval + 1;
        if (random_(chances) == 0) {
            const int radius = 1 + random_(2);
            const int strength = 100 + random_(RandomBlob_);
            effect_.AddBlob(-1, -1, radius, strength);
        }
    }

    if (OnBeforeRender_) {
        QImage frameSource = SourceBitmap_.copy();
        OnBeforeRender_(this, frameSource);
        Render(frameSource);
    } else {
        Render(SourceBitmap_);
    }
    if (OnAfterRender_)
        OnAfterRender_(this, TargetBitmap_);
    update();
}

void TWaterImage::Render(QImage& source) {
    MakeThreeBytesPerPixel(source);
    MakeThreeBytesPerPixel(TargetBitmap_);
    effect_.RenderFrame(SourcePixelsOf(source), TargetPixelsOf(TargetBitmap_));
}

void TWaterImage::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPoint point = event->position().toPoint();
    if (rect().contains(point))
        effect_.AddBlob(point.x(), point.y(), 1,
                        (event->buttons() & Qt::LeftButton) ? ClickBlob_ : TrackBlob_);
    event->accept();
}

void TWaterImage::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint point = event->position().toPoint();
        effect_.AddBlob(point.x(), point.y(), 1, ClickBlob_);
    }
}
