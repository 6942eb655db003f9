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

// Drawn in black on white, then made a 1-bit picture (Qt's painter does not
// draw into 1-bit images reliably).
QImage Mono() {
    QImage image(200, 96, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setPen(QPen(Qt::black, 6));
        p.drawEllipse(QPointF(48, 48), 36, 36);
        p.drawLine(84, 48, 190, 48);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 18, QFont::Bold));
        p.drawText(QRect(96, 56, 100, 40), Qt::AlignCenter, QStringLiteral("SHOP"));
    }
    return image.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither);
}

// A sample is a logo only when it has ink and paper: dark and light pixels both.
bool HasDarkAndLight(const QImage& image) {
    bool dark = false;
    bool light = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            (qGray(image.pixel(x, y)) < 128 ? dark : light) = true;
        }
    }
    return dark && light;
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
    const struct {
        QImage image;
        const char* name;
    } samples[] = {{Photo(), "photo.bmp"}, {Mono(), "mono.bmp"}, {Chinese(), "chinese.bmp"}};
    for (const auto& sample : samples) {
        const QString path = dir + "/" + sample.name;
        QImage written;
        if (!sample.image.save(path, "BMP") || !written.load(path, "BMP") ||
            !HasDarkAndLight(written)) {
            std::fprintf(stderr, "%s: not written, or without dark and light pixels\n",
                         sample.name);
            return 1;
        }
    }
    std::printf("photo.bmp, mono.bmp and chinese.bmp written\n");
    return 0;
}
