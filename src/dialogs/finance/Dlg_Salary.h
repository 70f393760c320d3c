#pragma once

#include "dialogs/finance/ops/Settlement.h"

#include <QDialog>
#include <QHash>

class KvGrid;
class QCheckBox;
class QDateEdit;
class QPushButton;
class QRadioButton;

// "计件结算": the employees with their unsettled piece-work of a period, each employee's
// pending and settled work and settlement history, and the settlement of the listed ones.
class Dlg_Salary : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Salary(QWidget* parent = nullptr);

    // The period of the last 选择.
    const finance::Period& period() const { return period_; }

private:
    void choose();
    void employeeClicked(int row);
    void showMember(quint64 member);
    void showLowerList();
    void removeRow();
    void exportList();
    void settle();
    // Shows the employee's work as found now in his row and expects it from now on.
    void showAmount(int row, const finance::PendingWork& work);

    QCheckBox* onlyPending_;
    QCheckBox* inactive_;
    QDateEdit* start_;
    QDateEdit* end_;
    KvGrid* employees_;
    QPushButton* remove_;
    QPushButton* export_;
    QPushButton* settle_;
    QRadioButton* showPending_;
    QRadioButton* showSettled_;
    QRadioButton* showHistory_;
    KvGrid* pending_;
    KvGrid* settled_;
    KvGrid* history_;

    finance::Period period_;
    // What 选择 found for each listed employee; 结算 pays exactly that.
    QHash<quint64, finance::PendingWork> work_;
    quint64 member_ = 0;
};
