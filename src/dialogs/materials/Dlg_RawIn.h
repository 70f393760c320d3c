#pragma once

#include <QDialog>

class KvGrid;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The purchase desk "采购登记": purchases of raw material raise its stock and running totals;
// new materials and suppliers are added here, on their own or with a purchase.
class Dlg_RawIn : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_RawIn(QWidget* parent = nullptr);

private:
    QWidget* materialPanel();
    QWidget* supplierPanel();
    QWidget* purchasePanel();
    void fillSuppliers(quint64 select = 0);
    void updateAmount();
    void applyMaterial();
    void applySupplier();
    void registerPurchase();

    KvGrid* materials_ = nullptr;
    QCheckBox* editMaterial_ = nullptr;
    QLineEdit* materialName_ = nullptr;
    QComboBox* materialUnit_ = nullptr;
    KvGrid* suppliers_ = nullptr;
    QCheckBox* editSupplier_ = nullptr;
    QLineEdit* supplierName_ = nullptr;
    QLineEdit* supplierRemark_ = nullptr;
    KvGrid* buyers_ = nullptr;
    QLineEdit* quantity_ = nullptr;
    QLineEdit* price_ = nullptr;
    QCheckBox* editAmount_ = nullptr;
    QLineEdit* amount_ = nullptr;
    KvGrid* purchases_ = nullptr;
};
