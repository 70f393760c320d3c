#include "dialogs/finance/Dlg_InquirySalary.h"

#include "db/Convert.h"
#include "db/WriteLog.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/ops/WorkDays.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "parts/PagedList.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
using F = financeq::WorkFilter;

}  // namespace

Dlg_InquirySalary::Dlg_InquirySalary(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_InquirySalary"));
    setWindowTitle(QStringLiteral("查询计件"));

    result_ = new PagedList(g_sqlTool, QStringLiteral("result"), this);
    result_->list()->setAccessibleName(QStringLiteral("计件列表"));
    result_->list()->InsertColumns({{"任务号", 60},
                                    {"货单号", 60},
                                    {"流水号", 60},
                                    {"姓名", 60},
                                    {"完成时间", 150},
                                    {"完成数量", 70},
                                    {"损耗数量", 70},
                                    {"工价", 70},
                                    {"损耗单价", 70},
                                    {"共计", 70},
                                    {"结乞", 60},
                                    {"经办人", 70}});
    totals_ = makeList(QStringLiteral("合计"), "totalsList", this,
                       {{"完成数量", 70}, {"损耗数量", 70}, {"共计", 60}});
    totals_->setMaximumHeight(totals_->horizontalHeader()->sizeHint().height() +
                              2 * totals_->fontMetrics().height());
    auto* exportButton = makeButton(QStringLiteral("导出"), "exportButton", this);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(totals_, 1);
    bottom->addWidget(exportButton, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(result_, 1);
    right->addLayout(bottom);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(conditionPanel());
    layout->addLayout(right, 1);
    resize(1240, 780);

    connect(exportButton, &QPushButton::clicked, this, &Dlg_InquirySalary::exportResult);
}

QWidget* Dlg_InquirySalary::conditionPanel()
{
    auto* panel = new QWidget(this);
    auto* precondition = makeCheckBox(QStringLiteral("选择前置条件"), "preconditionSwitch", panel);
    auto* byMember = makeRadio(QStringLiteral("选择员工"), "memberRadio", panel);
    auto* byClient = makeRadio(QStringLiteral("选择客户"), "clientRadio", panel);
    auto* byProcess = makeRadio(QStringLiteral("选择工序"), "processRadio", panel);
    auto* group = new QButtonGroup(panel);
    for (QRadioButton* r : {byMember, byClient, byProcess})
        group->addButton(r);
    KvGrid* members = makeList(byMember->text(), "memberList", panel, {{"工号", 60}, {"员工姓名", 130}});
    KvGrid* clients = makeList(byClient->text(), "clientList", panel, {{"客户号", 60}, {"客户名称", 130}});
    KvGrid* processes =
        makeList(byProcess->text(), "processList", panel, {{"名称", 60}, {"工作站", 70}, {"工价", 60}});
    auto* done = new TimeCondition(QStringLiteral("选择完成时间"), QStringLiteral("done"),
                                   TimeCondition::Second, TimeCondition::First, panel);
    auto* byRecorder = makeCheckBox(QStringLiteral("选择经办人"), "recorderSwitch", panel);
    QComboBox* recorder = makeCombo(byRecorder->text(), "recorderCombo", panel);
    auto* settled = makeCheckBox(QStringLiteral("包括已结乞计件"), "settledCheck", panel);
    auto* queryButton = makeButton(QStringLiteral("查询"), "queryButton", panel);

    // Unticked, no precondition stays chosen and no list enabled.
    bindChoices(precondition, group);
    conditions_
        .list(byMember, members, "您设置了勾选员工，请选择一个员工作为查询条件",
              [](F& f, const QString& id) {
                  f.by = F::By::Member;
                  f.id = convert::toId(id);
              })
        .list(byClient, clients, "您设置了勾选客户，请选择一个客户作为查询条件",
              [](F& f, const QString& id) {
                  f.by = F::By::Client;
                  f.id = convert::toId(id);
              })
        .list(byProcess, processes, "您设置了勾选工序，请选择一个工序作为查询条件",
              [](F& f, const QString& name) {
                  f.by = F::By::Process;
                  f.process = name;
              })
        .time(done, "您设置了勾选完成时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.done = m; })
        .combo(byRecorder, recorder, "您设置了勾选经办人，请选择一格经办人作为查询条件",
               [](F& f, const QString& name) { f.recorder = name; })
        .flag(settled, [](F& f, bool on) { f.includeSettled = on; });

    auto* radios = new QHBoxLayout;
    for (QRadioButton* r : {byMember, byClient, byProcess})
        radios->addWidget(r);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(precondition);
    layout->addLayout(radios);
    for (KvGrid* g : {members, clients, processes}) {
        g->setMinimumWidth(220);
        layout->addWidget(g, 1);
    }
    layout->addWidget(done);
    auto* recorderRow = new QHBoxLayout;
    recorderRow->addWidget(byRecorder);
    recorderRow->addWidget(recorder, 1);
    layout->addLayout(recorderRow);
    layout->addWidget(settled);
    layout->addWidget(queryButton);

    connect(queryButton, &QPushButton::clicked, this, &Dlg_InquirySalary::query);

    prompt().report(members->Fill(g_sqlTool, financeq::activeMembers(g_sqlTool)));
    prompt().report(clients->Fill(g_sqlTool, financeq::activeClients(g_sqlTool)));
    prompt().report(processes->Fill(g_sqlTool, financeq::processSteps(g_sqlTool)));
    FillCombo(g_sqlTool, *recorder, financeq::recorders(g_sqlTool));
    return panel;
}

// "查询": the first page, and in the same pass as the count the totals of every matching row.
void Dlg_InquirySalary::query()
{
    const std::optional<financeq::WorkFilter> f = conditions_.read();
    if (!f)
        return;
    totals_->DeleteAllItems();
    finance::WorkDays days;
    if (!prompt().report(finance::prepareDays(g_sqlTool, *f, &days))) {
        result_->clear();
        saved_ = Statement();
        return;
    }
    saved_ = financeq::work(g_sqlTool, *f);
    WriteLog(saved_.text());
    const financeq::WorkFilter kept = *f;
    const bool shown = result_->run(
        [this, kept, days](quint64 offset, int count) {
            const bool walk = financeq::taskOrder(kept, result_->total(), days.lastTask, offset + count);
            return financeq::workPage(g_sqlTool, kept, offset, count, walk);
        },
        financeq::workSummary(g_sqlTool, kept, days.summed));
    if (!shown)
        return;
    result_->label()->setText(QStringLiteral("共查询到%1条记录，显示其中1-%2条")
                                  .arg(result_->total())
                                  .arg(result_->list()->GetItemCount()));
    showTotals();
}

void Dlg_InquirySalary::showTotals()
{
    using S = financeq::WorkSummary;
    const Row& sums = result_->counted();
    totals_->AppendItem({QString::number(sums.toInt64(S::Done)), QString::number(sums.toInt64(S::Lost)),
                         QString::asprintf("%.2f", sums.toDouble(S::Money))});
}

// "导出": the whole result of the last query, in the result layout.
void Dlg_InquirySalary::exportResult()
{
    using K = exporting::Kind;
    const exporting::Columns columns = exporting::columnsOf(
        result_->list()->rows(), {K::Integer, K::Integer, K::Integer, K::Text, K::Moment, K::Integer,
                                  K::Integer, K::Money, K::Money, K::Money, K::Integer, K::Text});
    // Piece-work is looked at in a spreadsheet; its text layout has no reader of its own.
    exporting::reportExport(exporting::exportResult(this, g_sqlTool, saved_, QStringLiteral("计件查询"),
                                                    columns, result_->total(), exporting::Format::Workbook));
}
