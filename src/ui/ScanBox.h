#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QLineEdit;

// The scan box "扫码" of a desk. A scanner in keyboard mode types a ticket's code and Enter
// into whatever has the focus, so the box watches every key typed into its window:
// - letters and digits typed where nothing takes text (a list, a button) go into the box;
// - a burst typed into another input faster than any person types (kBurstGapMs between keys,
//   at least kBurstLength keys, then Enter) is taken back out of that input and read as a
//   scan, so that a scan never lands in a number field;
// - Enter in the box reads what it holds.
class ScanBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBurstGapMs = 50;
    static constexpr int kBurstLength = 6;

    explicit ScanBox(QWidget* parent);

    QLineEdit* edit() const { return edit_; }
    // Gives the box the focus (a desk does so when it opens and after acting on a scan).
    void takeFocus();

Q_SIGNALS:
    // A code was scanned or typed and Enter pressed; the box is empty again.
    void scanned(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void read();
    bool ours(QObject* watched) const;
    void startBurst(QLineEdit* target, qint64 at);

    QLineEdit* edit_;
    QElapsedTimer clock_;
    // The burst being typed into another input, and that input's text before it began.
    QPointer<QLineEdit> target_;
    QString before_;
    int cursorBefore_ = 0;
    QString burst_;
    qint64 last_ = -1;
};
