#pragma once

#include "db/Rows.h"
#include "dialogs/admin/AdminQueries.h"

#include <QDialog>
#include <array>
#include <optional>

class ManagePanel;
class QCheckBox;
class QLineEdit;
class QPushButton;

// Production management "生产管理": the technologies, process steps, employees, customers,
// orders and loss records edited in grids, and the loss unit price and privileged password.
class Dlg_Manage : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Manage(QWidget* parent = nullptr);

    ManagePanel* panel(int index) const { return panels_[index]; }

public Q_SLOTS:
    void reject() override;
    void accept() override;

private:
    void showInactiveMembers();
    void queryOrders();
    void saveLossPrice();
    void savePassword();
    // The two settings, as read.
    bool readSettings(const std::array<Rows, 2>& settings);
    bool mayClose();

    ManagePanel* panels_[6];
    QCheckBox* inactiveMembers_;
    QCheckBox* inactiveClients_;
    QLineEdit* lossPrice_;
    QPushButton* saveLossPrice_;
    QLineEdit* password_;
    QPushButton* savePassword_;
    // The simple inquiry's conditions once one was made: the order grid shows its orders, not
    // the activated ones.
    std::optional<adminq::OrderFilter> inquiry_;
};
