#include "Bench.h"
#include "Driver.h"
#include "Fixtures.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/Dlg_InquirySalary.h"
#include "dialogs/finance/Dlg_Salary.h"
#include "dialogs/finance/ops/WorkDays.h"
#include "parts/Export.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <memory>

namespace {

// The month so far, not settled yet: from its first day to tomorrow.
bool prepareMonth(Values& v)
{
    const QDate today = kvclock::now().date();
    v[QStringLiteral("from")] = QDate(today.year(), today.month(), 1).toString(QStringLiteral("yyyy-MM-dd"));
    v[QStringLiteral("to")] = today.addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    return true;
}

std::unique_ptr<Dlg_Salary> settlementOfMonth(const Values& v)
{
    auto w = openShown<Dlg_Salary>();
    drive::period(w.get(), v[QStringLiteral("from")], v[QStringLiteral("to")]);
    return w;
}

const ActionRegistration inquiry{
    Action{QStringLiteral("salary.inquiry"), QStringLiteral("Piece-work inquiry: 查询 of the unsettled work"),
           Kind::Interactive, Target::Page, Group::Other, nullptr, [](Run& r, const Values&) {
               auto w = openShown<Dlg_InquirySalary>();
               r.measureClick(w.get(), "queryButton");
           }}};

// The same with the settled years, whose day totals a factory's earlier inquiries have made
// (the first inquiry after loading makes them all: about a minute on ten years).
bool makeDays(Values&)
{
    financeq::WorkFilter all;
    all.includeSettled = true;
    finance::WorkDays days;
    return finance::prepareDays(g_sqlTool, all, &days).ok();
}

const ActionRegistration inquiryAll{
    Action{QStringLiteral("salary.inquiry-all"), QStringLiteral("Piece-work inquiry: 查询 of all years"),
           Kind::Interactive, Target::Whole, Group::Other, makeDays, [](Run& r, const Values&) {
               auto w = openShown<Dlg_InquirySalary>();
               drive::child<QCheckBox>(w.get(), "settledCheck")->setChecked(true);
               r.measureClick(w.get(), "queryButton");
           }}};

// 导出 of every year's piece-work, into a file under the system's temporary folder that is
// removed after each run (KV_EXPORT_DIR: another folder).
class ExportTo : public exporting::Dialogs {
public:
    explicit ExportTo(exporting::Format format) : format_(format) { exporting::setDialogs(this); }
    ~ExportTo() override
    {
        exporting::setDialogs(nullptr);
        QFile::remove(
            path_ + (format_ == exporting::Format::Text ? QStringLiteral(".txt") : QStringLiteral(".xlsx")));
    }
    exporting::Target choose(QWidget*, exporting::Format) override { return {path_, format_}; }
    exporting::Progress progress(QWidget*, quint64) override { return {}; }

private:
    exporting::Format format_;
    QString path_ = QDir(qEnvironmentVariable("KV_EXPORT_DIR", QDir::tempPath()))
                        .filePath(QStringLiteral("kvbench-export"));
};

void exportAll(Run& r, exporting::Format format)
{
    auto w = openShown<Dlg_InquirySalary>();
    drive::child<QCheckBox>(w.get(), "settledCheck")->setChecked(true);
    drive::click(w.get(), "queryButton");
    settle();
    ExportTo target(format);
    r.measureClick(w.get(), "exportButton");
}

const ActionRegistration exportText{Action{
    QStringLiteral("salary.export-all-text"), QStringLiteral("Piece-work inquiry: 导出 of all years, text"),
    Kind::WholeHistory, Target::Whole, Group::Other, makeDays,
    [](Run& r, const Values&) { exportAll(r, exporting::Format::Text); }, true}};
const ActionRegistration exportWorkbook{Action{
    QStringLiteral("salary.export-all-workbook"),
    QStringLiteral("Piece-work inquiry: 导出 of all years, workbook"), Kind::WholeHistory, Target::Whole,
    Group::Other, makeDays, [](Run& r, const Values&) { exportAll(r, exporting::Format::Workbook); }, true}};

const ActionRegistration choose{Action{QStringLiteral("salary.select"),
                                       QStringLiteral("Settlement: 选择 of the month"), Kind::Interactive,
                                       Target::Page, Group::Other, prepareMonth, [](Run& r, const Values& v) {
                                           auto w = settlementOfMonth(v);
                                           r.measureClick(w.get(), "chooseButton");
                                       }}};

// 结算 of one employee the benchmark made, with 20 pieces of work in the month: 选择, every
// other employee removed from the list, then 结算.
const ActionRegistration settleOne{
    Action{QStringLiteral("salary.settle"), QStringLiteral("Settlement: 结算 of one employee"),
           Kind::Interactive, Target::Open, Group::Other, prepareMonth, [](Run& r, const Values& v) {
               const quint64 member = fixture::member(20);
               {
                   auto w = settlementOfMonth(v);
                   drive::click(w.get(), "chooseButton");
                   settle();
                   KvGrid* employees = drive::grid(w.get(), "employeeList");
                   for (int row = employees->GetItemCount() - 1; row >= 0; --row) {
                       if (employees->GetItemText(row, 0) == QString::number(member))
                           continue;
                       employees->SelectRow(row);
                       drive::click(w.get(), "removeButton");
                   }
                   settle();
                   r.measureClick(w.get(), "settleButton");
               }
               fixture::removeMember(member);
           }}};

}  // namespace
