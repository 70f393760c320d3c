#pragma once

#include <QDialog>

class KvGrid;
class QComboBox;
class QLineEdit;

// The issue desk "领料登记": material taken from stock by a team's employee for a customer's
// goods.
class Dlg_RawOut : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_RawOut(QWidget* parent = nullptr);

private:
    void issue();

    KvGrid* materials_;
    KvGrid* members_;
    KvGrid* clients_;
    QComboBox* team_;
    QLineEdit* quantity_;
    KvGrid* issues_;
};
