// SPDX-License-Identifier: MIT
// Draws the about box banner (334 x 57) and the splash picture (393 x 295) of Body Fat Scale as
// 24-bit PNG files. The pictures are committed; run this only to change them:
//   g++ -std=c++17 -fPIC DrawArtwork.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw-artwork
//   QT_QPA_PLATFORM=offscreen /tmp/draw-artwork ..
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>

namespace {

const QColor Navy(8, 28, 66);
const QColor Blue(24, 86, 168);
const QColor Cyan(120, 220, 255);

void DrawBlueprintGrid(QPainter& p, const QRect& area, int minor, int major) {
    p.save();
    for (int x = area.left(); x <= area.right(); x += minor) {
        p.setPen(QPen(QColor(255, 255, 255, (x - area.left()) % major == 0 ? 46 : 18), 1));
        p.drawLine(QPointF(x + 0.5, area.top()), QPointF(x + 0.5, area.bottom()));
    }
    for (int y = area.top(); y <= area.bottom(); y += minor) {
        p.setPen(QPen(QColor(255, 255, 255, (y - area.top()) % major == 0 ? 46 : 18), 1));
        p.drawLine(QPointF(area.left(), y + 0.5), QPointF(area.right(), y + 0.5));
    }
    p.restore();
}

// A dimension line with arrow heads and a label, as on a technical drawing.
void DrawDimension(QPainter& p, QPointF from, QPointF to, const QString& label) {
    p.save();
    p.setPen(QPen(QColor(170, 215, 255, 150), 1));
    p.drawLine(from, to);
    const QPointF along = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF across(-along.y(), along.x());
    for (const auto& [tip, direction] : {std::pair{from, along}, std::pair{to, -along}}) {
        QPolygonF head;
        head << tip << tip + direction * 6 + across * 2.5 << tip + direction * 6 - across * 2.5;
        p.setBrush(QColor(170, 215, 255, 170));
        p.drawPolygon(head);
        p.drawLine(tip - across * 5, tip + across * 5);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    p.setFont(font);
    p.translate((from + to) / 2);
    p.rotate(std::atan2(along.y(), along.x()) * 180 / M_PI);
    p.drawText(QRectF(-40, -13, 80, 11), Qt::AlignCenter, label);
    p.restore();
}

// The glass scale, drawn on a 300 x 300 platform that transform maps into the picture.
void DrawGlassScale(QPainter& p, const QTransform& transform, double thickness) {
    const QRectF platform(0, 0, 300, 300);
    QPainterPath outline;
    outline.addRoundedRect(platform, 26, 26);
    const QPolygonF top = transform.map(outline.toFillPolygon());

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Soft shadow on the drawing board.
    for (int i = 0; i < 8; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 20, 16));
        p.drawPolygon(top.translated(6 + i * 1.2, thickness + 6 + i * 1.5));
    }
    // The edge of the glass slab.
    for (int i = static_cast<int>(thickness); i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 200, 230, 60 + 10 * (static_cast<int>(thickness) - i)));
        p.drawPolygon(top.translated(0, i));
    }
    // The glass top: clear with a cool tint and a diagonal reflection.
    p.setTransform(transform);
    QLinearGradient glass(0, 0, 300, 300);
    glass.setColorAt(0, QColor(210, 240, 255, 120));
    glass.setColorAt(0.5, QColor(150, 205, 240, 70));
    glass.setColorAt(1, QColor(190, 230, 255, 110));
    p.setBrush(glass);
    p.setPen(QPen(QColor(235, 250, 255, 220), 2.2));
    p.drawPath(outline);
    p.setClipPath(outline);
    QPainterPath shine;
    shine.moveTo(40, -10);
    shine.lineTo(150, -10);
    shine.lineTo(-10, 170);
    shine.lineTo(-10, 90);
    shine.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 55));
    p.drawPath(shine);
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawPath(QTransform().translate(150, 150).map(shine));

    // Four electrodes where the feet stand.
    for (const QRectF& pad : {QRectF(28, 150, 92, 120), QRectF(180, 150, 92, 120), QRectF(40, 60, 72, 62),
                              QRectF(188, 60, 72, 62)}) {
        QLinearGradient metal(pad.topLeft(), pad.bottomRight());
        metal.setColorAt(0, QColor(245, 248, 252));
        metal.setColorAt(0.45, QColor(170, 182, 196));
        metal.setColorAt(0.55, QColor(205, 214, 224));
        metal.setColorAt(1, QColor(130, 142, 158));
        p.setBrush(metal);
        p.setPen(QPen(QColor(90, 100, 115), 1.2));
        p.drawRoundedRect(pad, 14, 14);
        p.setPen(QPen(QColor(255, 255, 255, 140), 1));
        for (double y = pad.top() + 10; y < pad.bottom() - 6; y += 9)
            p.drawLine(QPointF(pad.left() + 10, y), QPointF(pad.right() - 10, y));
    }

    // The display between the back electrodes.
    const QRectF display(118, 60, 64, 40);
    p.setBrush(QColor(12, 22, 30, 235));
    p.setPen(QPen(QColor(200, 230, 245), 1.5));
    p.drawRoundedRect(display, 6, 6);
    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setPixelSize(19);
    digits.setBold(true);
    p.setFont(digits);
    p.setPen(Cyan);
    p.drawText(display.adjusted(0, -4, 0, 0), Qt::AlignCenter, QStringLiteral("68.4"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    p.setFont(small);
    p.setPen(QColor(120, 220, 255, 190));
    p.drawText(display.adjusted(4, 0, -4, -2), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("kg  21.6%"));
    p.restore();
}

QImage DrawSplash() {
    QImage image(393, 295, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient background(0, 0, 393, 295);
    background.setColorAt(0, Navy);
    background.setColorAt(0.6, Blue);
    background.setColorAt(1, QColor(36, 120, 200));
    p.fillRect(image.rect(), background);
    DrawBlueprintGrid(p, image.rect(), 12, 60);

    // A glow behind the scale.
    QRadialGradient glow(QPointF(216, 146), 170);
    glow.setColorAt(0, QColor(140, 210, 255, 90));
    glow.setColorAt(1, QColor(140, 210, 255, 0));
    p.fillRect(image.rect(), glow);

    // Technical drawing: a measuring circle with ticks, dimension lines and a body-fat curve.
    p.setPen(QPen(QColor(170, 215, 255, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(216, 146), 150, 150);
    for (int angle = 0; angle < 360; angle += 6) {
        const double a = angle * M_PI / 180;
        const double inner = angle % 30 == 0 ? 140 : 145;
        p.drawLine(QPointF(216 + inner * std::cos(a), 146 + inner * std::sin(a)),
                   QPointF(216 + 150 * std::cos(a), 146 + 150 * std::sin(a)));
    }
    DrawDimension(p, QPointF(100, 240), QPointF(330, 240), QStringLiteral("310 mm"));
    DrawDimension(p, QPointF(356, 84), QPointF(356, 210), QStringLiteral("300 mm"));

    QTransform perspective;
    QTransform::quadToQuad(QPolygonF({QPointF(0, 0), QPointF(300, 0), QPointF(300, 300), QPointF(0, 300)}),
                           QPolygonF({QPointF(140, 76), QPointF(300, 76), QPointF(334, 212), QPointF(104, 212)}),
                           perspective);
    DrawGlassScale(p, perspective, 7);

    // A measurement curve in the lower left, as if plotted on the board.
    QPainterPath curve;
    curve.moveTo(16, 266);
    for (int x = 16; x <= 150; x += 2)
        curve.lineTo(x, 258 - 14 * std::sin((x - 16) / 22.0) * std::exp(-(x - 16) / 160.0) - (x - 16) * 0.06);
    p.setPen(QPen(QColor(255, 190, 90, 200), 1.6));
    p.drawPath(curve);

    // Title.
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 30, 120));
    p.drawText(QPointF(18, 42), QStringLiteral("Body Fat Scale"));
    p.setPen(Qt::white);
    p.drawText(QPointF(16, 40), QStringLiteral("Body Fat Scale"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(11);
    p.setFont(subtitle);
    p.setPen(QColor(200, 230, 255));
    p.drawText(QPointF(18, 58), QStringLiteral("weight  \u00b7  body fat  \u00b7  water  \u00b7  muscle  \u00b7  bone"));
    p.end();
    return image;
}

QImage DrawBanner() {
    QImage image(334, 57, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient background(0, 0, 334, 0);
    background.setColorAt(0, Navy);
    background.setColorAt(0.55, Blue);
    background.setColorAt(1, QColor(110, 180, 235));
    p.fillRect(image.rect(), background);
    DrawBlueprintGrid(p, image.rect(), 8, 40);

    // Gentle waves across the banner: they show the ripples' refraction.
    for (int line = 0; line < 5; ++line) {
        QPainterPath wave;
        const double base = 8 + line * 11;
        wave.moveTo(0, base);
        for (int x = 0; x <= 334; x += 2)
            wave.lineTo(x, base + 3 * std::sin(x / 17.0 + line * 1.3));
        p.setPen(QPen(QColor(255, 255, 255, 28 + line * 6), 1.2));
        p.drawPath(wave);
    }

    QTransform perspective;
    QTransform::quadToQuad(QPolygonF({QPointF(0, 0), QPointF(300, 0), QPointF(300, 300), QPointF(0, 300)}),
                           QPolygonF({QPointF(17, 9), QPointF(47, 9), QPointF(53, 43), QPointF(9, 43)}),
                           perspective);
    DrawGlassScale(p, perspective, 3);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(22);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 30, 120));
    p.drawText(QPointF(69, 32), QStringLiteral("Body Fat Scale"));
    p.setPen(Qt::white);
    p.drawText(QPointF(68, 31), QStringLiteral("Body Fat Scale"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(10);
    p.setFont(subtitle);
    p.setPen(QColor(215, 235, 255));
    p.drawText(QPointF(70, 46), QStringLiteral("Your body composition, measured and charted"));
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool written = DrawSplash().save(folder + QStringLiteral("/Splash.png")) &&
                         DrawBanner().save(folder + QStringLiteral("/Banner.png"));
    return written ? 0 : 1;
}
