#pragma once

#include <QDialog>
#include <QPixmap>

class CipherLibrary;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The log-in window: a picture with the account and password boxes on it. It hands the
// typed values to its parent (the main window) through g_account and g_password and the
// posted message 10086 (9527: 1 submitted, 0 given up) and waits for the answer
// (9528: 1 accepted, which closes it, 0 refused).
class Dlg_Cover : public QDialog {
    Q_OBJECT
public:
    // `cipher` deciphers a remembered password (none shown without it).
    explicit Dlg_Cover(QWidget* parent = nullptr, const CipherLibrary* cipher = nullptr);
    ~Dlg_Cover() override;

    // The log-in window that is open, for the main window's answers; null when none.
    static Dlg_Cover* current();
    // The main window's answer 9528 when it refused and told the user why itself.
    static constexpr int kRefusedTold = 2;

    // Gives up: tells the parent, then closes as cancelled ("取消", the close box, Escape).
    void reject() override;
    // Submits the remembered account and password, when both are remembered.
    void submitRemembered();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void submit();

    QPixmap picture_;
    QLineEdit* account_;
    QLineEdit* password_;
    QCheckBox* saveAccount_;
    QCheckBox* savePassword_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
