#pragma once

#include "db/Statement.h"
#include "dialogs/finance/FinanceQueries.h"
#include "parts/ConditionPanel.h"

#include <QDialog>

class KvGrid;
class PagedList;

// "计件查询": piece-work rows by an employee, a customer or a process step, the completion
// time, the recorder and whether settled rows are included; a page at a time with the totals
// of all of them, and the whole result exported.
class Dlg_InquirySalary : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_InquirySalary(QWidget* parent = nullptr);

private:
    QWidget* conditionPanel();
    void query();
    void showTotals();
    void exportResult();

    ConditionPanel<financeq::WorkFilter> conditions_;
    PagedList* result_;
    KvGrid* totals_;

    // The statement of the last query, without a limit: what 导出 writes.
    Statement saved_;
};
