#pragma once

#include "db/Statement.h"
#include "grid/KvGrid.h"

#include <QDialog>

class PagedList;
class QPushButton;
class QRadioButton;
class QWidget;
class RawConditions;
struct RawSummaries;

// The raw-material inquiry "原料查询": purchases or issues by material, supplier or customer,
// employee, team, recording user and time, a page at a time, with their summaries per
// material, per supplier or customer and per team.
class Dlg_RawInquiry : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_RawInquiry(QWidget* parent = nullptr);

private:
    struct Summary {
        QWidget* box;
        KvGrid* list;
        QPushButton* exportButton;
    };
    Summary makeSummary(const QString& caption, const char* name, GridColumns columns);
    void setMode(bool purchases);
    void forget();
    void query();
    void showSummaries(const RawSummaries& sums);
    void exportResult();
    void exportSummary(const Summary& s);

    RawConditions* conditions_;
    QRadioButton* purchaseMode_;
    QRadioButton* issueMode_;
    PagedList* purchases_;
    PagedList* issues_;
    QPushButton* exportResult_;
    Summary materialSums_, supplierSums_, clientSums_, teamSums_;
    Statement saved_;  // the last query's rows, without a LIMIT; empty when forgotten
};
