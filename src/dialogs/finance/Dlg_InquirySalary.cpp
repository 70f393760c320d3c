#include "dialogs/finance/Dlg_InquirySalary.h"

#include "db/Convert.h"
#include "db/WriteLog.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/ops/WorkDays.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "parts/PagedList.h"
#include "parts/Switches.h"
#include "parts/TimeCondition.h"
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

KvGrid* choiceList(const char* name, const QString& caption,
                   std::initializer_list<std::pair<const char*, int>> columns, QWidget* parent)
{
    return makeList(parent, name, caption, columns);
}

QRadioButton* radio(const QString& caption, const char* name, QWidget* parent)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

}  // namespace

Dlg_InquirySalary::Dlg_InquirySalary(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_InquirySalary"));
    setWindowTitle(QStringLiteral("查询计件"));

    result_ = new PagedList(g_sqlTool, QStringLiteral("result"), this);
    result_->list()->setAccessibleName(QStringLiteral("计件列表"));
    const std::pair<const char*, int> columns[] = {
        {"任务号", 60},   {"货单号", 60}, {"流水号", 60},   {"姓名", 60}, {"完成时间", 150}, {"完成数量", 70},
        {"损耗数量", 70}, {"工价", 70},   {"损耗单价", 70}, {"共计", 70}, {"结乞", 60},      {"经办人", 70}};
    for (const auto& [text, width] : columns)
        result_->list()->InsertColumn(QString::fromUtf8(text), width);
    totals_ = choiceList("totalsList", QStringLiteral("合计"),
                         {{"完成数量", 70}, {"损耗数量", 70}, {"共计", 60}}, this);
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

    prompt().report(members_->Fill(g_sqlTool, financeq::activeMembers(g_sqlTool)));
    prompt().report(clients_->Fill(g_sqlTool, financeq::activeClients(g_sqlTool)));
    prompt().report(processes_->Fill(g_sqlTool, financeq::processSteps(g_sqlTool)));
    FillCombo(g_sqlTool, *recorder_, financeq::recorders(g_sqlTool));
}

QWidget* Dlg_InquirySalary::conditionPanel()
{
    auto* panel = new QWidget(this);
    precondition_ = makeCheckBox(QStringLiteral("选择前置条件"), "preconditionSwitch", panel);
    byMember_ = radio(QStringLiteral("选择员工"), "memberRadio", panel);
    byClient_ = radio(QStringLiteral("选择客户"), "clientRadio", panel);
    byProcess_ = radio(QStringLiteral("选择工序"), "processRadio", panel);
    auto* group = new QButtonGroup(panel);
    for (QRadioButton* r : {byMember_, byClient_, byProcess_})
        group->addButton(r);
    members_ = choiceList("memberList", byMember_->text(), {{"工号", 60}, {"员工姓名", 130}}, panel);
    clients_ = choiceList("clientList", byClient_->text(), {{"客户号", 60}, {"客户名称", 130}}, panel);
    processes_ =
        choiceList("processList", byProcess_->text(), {{"名称", 60}, {"工作站", 70}, {"工价", 60}}, panel);
    done_ = new TimeCondition(QStringLiteral("选择完成时间"), QStringLiteral("done"), TimeCondition::Second,
                              TimeCondition::First, panel);
    byRecorder_ = makeCheckBox(QStringLiteral("选择经办人"), "recorderSwitch", panel);
    recorder_ = new QComboBox(panel);
    recorder_->setObjectName(QStringLiteral("recorderCombo"));
    recorder_->setAccessibleName(byRecorder_->text());
    settled_ = makeCheckBox(QStringLiteral("包括已结乞计件"), "settledCheck", panel);
    auto* queryButton = makeButton(QStringLiteral("查询"), "queryButton", panel);
    bindSwitch(byRecorder_, {recorder_});

    auto* radios = new QHBoxLayout;
    for (QRadioButton* r : {byMember_, byClient_, byProcess_})
        radios->addWidget(r);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(precondition_);
    layout->addLayout(radios);
    for (KvGrid* g : {members_, clients_, processes_}) {
        g->setMinimumWidth(220);
        layout->addWidget(g, 1);
    }
    layout->addWidget(done_);
    auto* recorderRow = new QHBoxLayout;
    recorderRow->addWidget(byRecorder_);
    recorderRow->addWidget(recorder_, 1);
    layout->addLayout(recorderRow);
    layout->addWidget(settled_);
    layout->addWidget(queryButton);

    connect(precondition_, &QCheckBox::toggled, this, &Dlg_InquirySalary::preconditionToggled);
    for (QRadioButton* r : {byMember_, byClient_, byProcess_})
        connect(r, &QRadioButton::toggled, this, &Dlg_InquirySalary::choosePrecondition);
    connect(queryButton, &QPushButton::clicked, this, &Dlg_InquirySalary::query);
    preconditionToggled(false);
    return panel;
}

void Dlg_InquirySalary::preconditionToggled(bool on)
{
    if (!on) {
        // Unticked: no radio stays checked, so no list stays enabled.
        QButtonGroup* group = byMember_->group();
        group->setExclusive(false);
        for (QRadioButton* r : {byMember_, byClient_, byProcess_})
            r->setChecked(false);
        group->setExclusive(true);
    }
    for (QRadioButton* r : {byMember_, byClient_, byProcess_})
        r->setEnabled(on);
    choosePrecondition();
}

void Dlg_InquirySalary::choosePrecondition()
{
    members_->setEnabled(byMember_->isChecked());
    clients_->setEnabled(byClient_->isChecked());
    processes_->setEnabled(byProcess_->isChecked());
}

std::optional<financeq::WorkFilter> Dlg_InquirySalary::filter()
{
    using By = financeq::WorkFilter::By;
    financeq::WorkFilter f;
    const auto chosen = [](KvGrid* list, const QString& missing) -> std::optional<QString> {
        const int row = list->GetSelectedRow();
        if (row < 0) {
            prompt().message(missing, kError);
            return std::nullopt;
        }
        return list->GetItemText(row, 0);
    };
    if (precondition_->isChecked()) {
        if (byMember_->isChecked()) {
            const auto id = chosen(members_, QStringLiteral("您设置了勾选员工，请选择一个员工作为查询条件"));
            if (!id)
                return std::nullopt;
            f.by = By::Member;
            f.id = convert::toId(*id);
        } else if (byClient_->isChecked()) {
            const auto id = chosen(clients_, QStringLiteral("您设置了勾选客户，请选择一个客户作为查询条件"));
            if (!id)
                return std::nullopt;
            f.by = By::Client;
            f.id = convert::toId(*id);
        } else if (byProcess_->isChecked()) {
            const auto name =
                chosen(processes_, QStringLiteral("您设置了勾选工序，请选择一个工序作为查询条件"));
            if (!name)
                return std::nullopt;
            f.by = By::Process;
            f.process = *name;
        }
    }
    if (done_->ticked()) {
        switch (done_->range()) {
            case TimeCondition::Range::None:
                prompt().message(QStringLiteral("您设置了勾选完成时间，请选择一项内容作为查询条件"), kError);
                return std::nullopt;
            case TimeCondition::Range::After:
                f.after = done_->afterMoment();
                break;
            case TimeCondition::Range::Before:
                f.before = done_->beforeMoment();
                break;
            case TimeCondition::Range::Within:
                f.after = done_->moment(TimeCondition::First);
                f.before = done_->moment(TimeCondition::Second);
                break;
        }
    }
    if (byRecorder_->isChecked()) {
        if (recorder_->currentText().isEmpty()) {
            prompt().message(QStringLiteral("您设置了勾选经办人，请选择一格经办人作为查询条件"), kError);
            return std::nullopt;
        }
        f.recorder = recorder_->currentText();
    }
    f.includeSettled = settled_->isChecked();
    return f;
}

// "查询": the first page, and in the same pass as the count the totals of every matching row.
void Dlg_InquirySalary::query()
{
    const std::optional<financeq::WorkFilter> f = filter();
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
    const Row& sums = result_->counted();
    totals_->AppendItem({QString::number(sums.toInt64(1)), QString::number(sums.toInt64(2)),
                         QString::asprintf("%.2f", sums.toDouble(3))});
}

// "导出": the whole result of the last query, in the result layout.
void Dlg_InquirySalary::exportResult()
{
    if (saved_.empty() || !saved_.ok()) {
        prompt().message(QStringLiteral("没有内容可被导出"), kError);
        return;
    }
    exporting::reportExport(exporting::exportResult(this, g_sqlTool.Read(saved_)));
}
