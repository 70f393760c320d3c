#pragma once

#include "db/Statement.h"
#include "dialogs/finance/FinanceQueries.h"

#include <QDialog>
#include <optional>

class KvGrid;
class PagedList;
class QCheckBox;
class QComboBox;
class QRadioButton;
class TimeCondition;

// "计件查询": piece-work rows by an employee, a customer or a process step, the completion
// time, the recorder and whether settled rows are included; a page at a time with the totals
// of all of them, and the whole result exported.
class Dlg_InquirySalary : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_InquirySalary(QWidget* parent = nullptr);

private:
    QWidget* conditionPanel();
    void preconditionToggled(bool on);
    void choosePrecondition();
    // The filter of the ticked conditions; none after a missing input was reported.
    std::optional<financeq::WorkFilter> filter();
    void query();
    void showTotals();
    void exportResult();

    QCheckBox* precondition_;
    QRadioButton* byMember_;
    QRadioButton* byClient_;
    QRadioButton* byProcess_;
    KvGrid* members_;
    KvGrid* clients_;
    KvGrid* processes_;
    TimeCondition* done_;
    QCheckBox* byRecorder_;
    QComboBox* recorder_;
    QCheckBox* settled_;
    PagedList* result_;
    KvGrid* totals_;

    // The statement of the last query, without a limit: what 导出 writes.
    Statement saved_;
};
