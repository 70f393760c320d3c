#pragma once

#include <QByteArray>
#include <QRectF>
#include <QVector>

class QPainter;

// A QR code's modules, made with libqrencode (error correction M, the smallest version
// that holds the text).
class QrCode {
public:
    explicit QrCode(const QByteArray& text);

    bool isNull() const { return size_ == 0; }
    int size() const { return size_; }  // modules a side, without the quiet zone
    bool dark(int x, int y) const { return dark_.at(y * size_ + x); }

    // Draws the code filling `square` (a quiet zone of kQuietModules included), black on white.
    void draw(QPainter& painter, const QRectF& square) const;
    static constexpr int kQuietModules = 4;

private:
    int size_ = 0;
    QVector<bool> dark_;
};
