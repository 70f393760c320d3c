#pragma once

#include "dialogs/finance/FinanceQueries.h"
#include "parts/ConditionPanel.h"

#include <QDialog>

class KvGrid;
class PagedList;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
namespace finance {
struct Supplement;
}

// "计件追加": piece-work recorded after the fact. The user finds an order and locks it, picks
// a process step, collects employees team by team with a quantity each, and registers one
// finished flow at "追加" with a piece-work row per employee.
class Dlg_SalaryEdit : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_SalaryEdit(QWidget* parent = nullptr);

    // The locked order's 货单号; 0 while none is locked.
    quint64 lockedOrder() const { return locked_; }
    // The rate of the chosen process step.
    double rate() const { return rate_; }

private:
    QWidget* searchPanel();
    QWidget* editPanel();
    void search();
    void orderClicked(int row);
    void lockToggled(bool on);
    void setLockMode(bool on);
    void teamClicked(int row);
    void processChosen();
    void commonQuantityEdited();
    void insertRows();
    void insertMember(int row);
    void deleteRows();
    void quantityEdited(int row, int column);
    void setAmount(int row);
    void registerWork();
    bool piecesAgreed(const finance::Supplement& s);

    // Order search.
    ConditionPanel<financeq::OrderFilter> conditions_;
    KvGrid* clients_;
    PagedList* orders_;
    KvGrid* lockedList_;
    QCheckBox* lock_;

    // Editing.
    KvGrid* teams_;
    KvGrid* staff_;
    QComboBox* process_;
    QCheckBox* common_;
    QLineEdit* commonQuantity_;
    QCheckBox* selectAll_;
    QPushButton* insert_;
    QPushButton* delete_;
    QPushButton* register_;
    KvGrid* edit_;

    quint64 locked_ = 0;
    int lockedGoods_ = 0;
    double rate_ = 0;
};
