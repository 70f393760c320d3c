#include "print/QrCode.h"

#include <qrencode.h>
#include <QPainter>
#include <memory>

QrCode::QrCode(const QByteArray& text)
{
    // Case-sensitive automatic mode: the ticket's capitals and digits take the compact
    // alphanumeric mode, which keeps the code small.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code)
        return;
    size_ = code->width;
    dark_.resize(size_ * size_);
    for (int i = 0; i < size_ * size_; ++i)
        dark_[i] = code->data[i] & 1;
}

void QrCode::draw(QPainter& painter, const QRectF& square) const
{
    painter.save();
    painter.fillRect(square, Qt::white);
    if (size_ > 0) {
        const double module = square.width() / (size_ + 2 * kQuietModules);
        const QPointF origin = square.topLeft() + QPointF(module, module) * kQuietModules;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        // Each dark module a little oversized, so that no hairline of white runs between
        // neighbours when the device rounds the edges.
        for (int y = 0; y < size_; ++y)
            for (int x = 0; x < size_; ++x)
                if (dark(x, y))
                    painter.drawRect(QRectF(origin.x() + x * module, origin.y() + y * module, module * 1.02,
                                            module * 1.02));
    }
    painter.restore();
}
