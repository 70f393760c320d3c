#pragma once

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The shipment block of the shipping desk: what may still be shipped (read-only), the
// quantities of the next shipment, its amount, the shipper and the issuer, and the
// buttons that act on the order.
class ShipmentBlock : public QGroupBox {
    Q_OBJECT
public:
    enum Quantity { Original, Washed, Loss, Goods };

    explicit ShipmentBlock(QWidget* parent = nullptr);

    // The order the amount is priced for; 0 for none.
    void setOrder(quint64 order) { order_ = order; }
    // Where a shipment is typed and submitted; greyed out where none can be saved (the
    // shipped orders are closed). The buttons that act on orders stay as they are.
    void setEntriesEnabled(bool on);
    void fillPeople();

    void showRemaining(qint64 original, qint64 washed, qint64 loss, qint64 available);
    void clearRemaining();
    void clearEntries();
    // An entered quantity (text that is no number counts 0).
    int entered(Quantity q) const;
    QString shipper() const;
    QString issuer() const;
    bool noQuantityCheck() const;

    QCheckBox* noCheckBox() const { return noCheck_; }
    QPushButton* submitButton() const { return submit_; }
    QPushButton* closeOrderButton() const { return closeOrder_; }
    QPushButton* repairButton() const { return repair_; }

private:
    void shipAll();
    void updateAmount();
    quint64 order_ = 0;
    QLineEdit* remaining_[4];
    QLineEdit* entries_[4];
    QLineEdit* amount_;
    QComboBox* shipper_;
    QComboBox* issuer_;
    QCheckBox* noCheck_;
    QPushButton* shipAll_;
    QPushButton* submit_;
    QPushButton* closeOrder_;
    QPushButton* repair_;
    QPushButton* loss_;
};
