#include "Shots.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/Dlg_InquirySalary.h"
#include "dialogs/finance/Dlg_Salary.h"
#include "dialogs/finance/Dlg_SalaryEdit.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "parts/PagedList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename T>
T* find(QWidget* w, const char* name)
{
    return w->findChild<T*>(QString::fromLatin1(name));
}

void clickRow(KvGrid* g, int row)
{
    if (row >= g->GetItemCount())
        return;
    g->SelectRow(row);
    Q_EMIT g->rowClicked(row);
}

// The month so far, which the demo has not settled yet, and the first employee's work.
void chooseThisMonth(QWidget* w)
{
    const QDate today = kvclock::now().date();
    find<QDateEdit>(w, "startDate")->setDate(QDate(today.year(), today.month(), 1));
    find<QDateEdit>(w, "endDate")->setDate(today.addDays(1));
    find<QPushButton>(w, "chooseButton")->click();
    clickRow(find<KvGrid>(w, "employeeList"), 0);
}

// The newest open order found by its number and locked (closed ones take no supplement), a
// step chosen and the washing team entered with a quantity each.
void prepareSupplement(QWidget* w)
{
    const QString open =
        g_sqlTool.Read(g_sqlTool.Format("select max(货单号) from kvc_record_product where 激活=1 and 结讫=0"))
            .first()
            .text(0);
    find<QCheckBox>(w, "orderSwitch")->setChecked(true);
    find<QLineEdit>(w, "orderEdit")->setText(open);
    find<QPushButton>(w, "searchButton")->click();
    clickRow(find<PagedList>(w, "ordersPager")->list(), 0);
    find<QCheckBox>(w, "lockCheck")->setChecked(true);
    auto* process = find<QComboBox>(w, "processCombo");
    const int step = process->findText(QStringLiteral("石磨工序"));
    process->setCurrentIndex(step);
    Q_EMIT process->activated(step);
    auto* teams = find<KvGrid>(w, "teamList");
    for (int r = 0; r < teams->GetItemCount(); ++r)
        if (teams->GetItemText(r, 0) == QStringLiteral("洗水组"))
            clickRow(teams, r);
    find<QCheckBox>(w, "commonCheck")->setChecked(true);
    auto* quantity = find<QLineEdit>(w, "commonQuantityEdit");
    quantity->setText(QStringLiteral("20"));
    Q_EMIT quantity->textEdited(quantity->text());
    find<QCheckBox>(w, "selectAllCheck")->setChecked(true);
    find<QPushButton>(w, "insertButton")->click();
    find<QCheckBox>(w, "selectAllCheck")->setChecked(false);
}

// One employee's piece-work, settled rows too.
void inquireEmployee(QWidget* w)
{
    find<QCheckBox>(w, "preconditionSwitch")->setChecked(true);
    find<QRadioButton>(w, "memberRadio")->setChecked(true);
    auto* members = find<KvGrid>(w, "memberList");
    for (int r = 0; r < members->GetItemCount(); ++r)
        if (members->GetItemText(r, 1) == QStringLiteral("郑小军"))
            members->SelectRow(r);
    find<QCheckBox>(w, "settledCheck")->setChecked(true);
    find<QPushButton>(w, "queryButton")->click();
}

ShotRegistration salary{Shot{QStringLiteral("salary"), [] { return new Dlg_Salary; }, chooseThisMonth}};
ShotRegistration salaryEdit{
    Shot{QStringLiteral("salary_edit"), [] { return new Dlg_SalaryEdit; }, prepareSupplement}};
ShotRegistration inquiry{
    Shot{QStringLiteral("inquiry_salary"), [] { return new Dlg_InquirySalary; }, inquireEmployee}};

// The progress of a long export: a third of ten years of piece-work written.
const ShotRegistration exportProgress{Shot{QStringLiteral("export_progress"),
                                           [] {
                                               QProgressDialog* d =
                                                   exporting::progressDialog(nullptr, 3810518);
                                               exporting::advance(*d, 1270784);
                                               return d;
                                           },
                                           nullptr}};

}  // namespace
