// kvicon OUTDIR SIZE...: the program's icon, a drop of water over a wave on a blue tile,
// drawn at each size so that every size is sharp (OUTDIR/SIZE.png).
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// Drawn on a 256-unit square and scaled.
QImage draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient tile(0, 0, 0, 256);
    tile.setColorAt(0, QColor(0x3a, 0x9c, 0xf0));
    tile.setColorAt(1, QColor(0x10, 0x4f, 0x9e));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);

    // The wave the garments are washed in, clipped to the tile.
    QPainterPath clip;
    clip.addRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
    p.setClipPath(clip);
    QPainterPath wave;
    wave.moveTo(0, 200);
    wave.cubicTo(50, 176, 90, 224, 128, 200);
    wave.cubicTo(166, 176, 206, 224, 256, 200);
    wave.lineTo(256, 256);
    wave.lineTo(0, 256);
    wave.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawPath(wave);
    p.setClipping(false);

    // The drop: a point at the top running into a round belly.
    QPainterPath drop;
    drop.moveTo(128, 30);
    drop.cubicTo(150, 70, 192, 110, 192, 152);
    drop.arcTo(QRectF(64, 88, 128, 128), 0, -180);
    drop.cubicTo(64, 110, 106, 70, 128, 30);
    drop.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(drop);

    // A glint, left out where it would be a smudge.
    if (size >= 32) {
        QPainterPath glint;
        glint.moveTo(100, 130);
        glint.cubicTo(96, 156, 106, 178, 126, 188);
        p.setPen(QPen(QColor(0x3a, 0x9c, 0xf0), 12, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(glint);
    }
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kvicon OUTDIR SIZE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0 || !draw(size).save(out.filePath(QStringLiteral("%1.png").arg(size)))) {
            std::fprintf(stderr, "kvicon: cannot write the icon of size %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
