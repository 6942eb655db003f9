// stampa-samples: writes a few logos to try Stampa with (`stampa-samples DIR`):
// a photo-like 24-bit picture, a monochrome one, and one with Chinese text.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>

namespace {

QImage Photo() {
    QImage image(320, 160, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, QColor(40, 90, 180));
    sky.setColorAt(1, QColor(250, 210, 150));
    p.fillRect(image.rect(), sky);
    QRadialGradient sun(240, 60, 40);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(1, QColor(255, 160, 40));
    p.setBrush(sun);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(240, 60), 36, 36);
    p.setBrush(QColor(40, 70, 40));
    p.drawPolygon(QPolygon({{0, 160}, {90, 70}, {170, 160}}));
    p.setBrush(QColor(70, 110, 60));
    p.drawPolygon(QPolygon({{100, 160}, {200, 90}, {320, 160}}));
    return image;
}

QImage Mono() {
    QImage image(200, 96, QImage::Format_Mono);
    image.setColor(0, qRgb(0, 0, 0));
    image.setColor(1, qRgb(255, 255, 255));
    image.fill(1);
    QPainter p(&image);
    p.setPen(QPen(Qt::color0, 6));
    p.drawEllipse(QPointF(48, 48), 36, 36);
    p.drawLine(84, 48, 190, 48);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 18, QFont::Bold));
    p.drawText(QRect(96, 56, 100, 40), Qt::AlignCenter, QStringLiteral("SHOP"));
    return image;
}

QImage Chinese() {
    QImage image(360, 96, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QColor(20, 20, 20));
    p.setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 40));
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("欢迎光临"));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool ok = Photo().save(dir + "/photo.bmp", "BMP") &&
                    Mono().save(dir + "/mono.bmp", "BMP") &&
                    Chinese().save(dir + "/chinese.bmp", "BMP");
    std::printf("%s\n",
                ok ? "photo.bmp, mono.bmp and chinese.bmp written" : "cannot write the samples");
    return ok ? 0 : 1;
}
