#include "dialogs/stations/WorkPanel.h"

#include "db/Convert.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/stations/StationQueries.h"
#include "dialogs/tickets/TicketPrint.h"
#include "flow/Flow.h"
#include "flow/FlowQueries.h"
#include "flow/Station.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");

// A typed count: empty is 0, a whole number is itself, anything else is not a count.
int countOf(const QString& text)
{
    if (text.trimmed().isEmpty())
        return 0;
    return convert::isInt(text) ? convert::toInt(text) : -1;
}

}  // namespace

WorkPanel::WorkPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("workPanel"));

    process_ = makeButton(QStringLiteral("处理工作"), "processButton", this);
    mode_ = makeCombo(QStringLiteral("选择处理方式"), "modeCombo", this);
    modeLabel_ = makeCaption(mode_->accessibleName(), mode_, this);
    destination_ = makeCombo(QStringLiteral("选择目的地"), "destinationCombo", this);
    rate_ = makeEdit(QStringLiteral("工价"), "rateEdit", this);
    rate_->setReadOnly(true);
    lossCharge_ = makeEdit(QStringLiteral("损耗赔偿"), "lossChargeEdit", this);
    lossCharge_->setReadOnly(true);
    team_ = makeCombo(QStringLiteral("选择班组"), "teamCombo", this);
    for (QComboBox* c : {mode_, destination_, team_})
        c->setMinimumContentsLength(8);

    members_ = makeList(QStringLiteral("班组成员"), "memberList", this, {{"工号", 60}, {"姓名", 60}});
    singleList_ = makeList(QStringLiteral("单人模式"), "singleList", this,
                           {{"工号", 60}, {"姓名", 70}, {"完成数量", 70}, {"损耗数量", 70}});
    singleList_->SetTextEditor(2);
    singleList_->SetTextEditor(3);
    // 共计 is computed from the totals, never typed.
    coopList_ = makeList(QStringLiteral("合作模式"), "cooperativeList", this,
                         {{"工号", 60}, {"姓名", 70}, {"共计", 70}});
    for (KvGrid* g : {members_, singleList_, coopList_})
        g->setMinimumWidth(140);

    single_ = makeRadio(QStringLiteral("单人模式"), "singleRadio", this);
    cooperative_ = makeRadio(QStringLiteral("合作模式"), "cooperativeRadio", this);
    auto* modes = new QButtonGroup(this);
    modes->addButton(single_);
    modes->addButton(cooperative_);
    single_->setChecked(true);
    selectAll_ = makeCheckBox(QStringLiteral("全选"), "selectAllCheck", this);
    insert_ = makeButton(QStringLiteral("插入"), "insertButton", this);
    delete_ = makeButton(QStringLiteral("删除"), "deleteButton", this);
    singleSubmit_ = makeButton(QStringLiteral("提交"), "singleSubmitButton", this);
    coopSubmit_ = makeButton(QStringLiteral("提交"), "cooperativeSubmitButton", this);
    totalDone_ = makeEdit(QStringLiteral("总完成数"), "totalDoneEdit", this);
    totalLost_ = makeEdit(QStringLiteral("总损耗数"), "totalLostEdit", this);
    totalDoneLabel_ = makeCaption(totalDone_->accessibleName(), totalDone_, this);
    totalLostLabel_ = makeCaption(totalLost_->accessibleName(), totalLost_, this);

    auto* top = new QGridLayout;
    top->addWidget(process_, 0, 0);
    top->addWidget(modeLabel_, 0, 1);
    top->addWidget(mode_, 0, 2);
    top->addWidget(makeCaption(destination_->accessibleName(), destination_, this), 0, 3);
    top->addWidget(destination_, 0, 4);
    top->addWidget(makeCaption(rate_->accessibleName(), rate_, this), 1, 1);
    top->addWidget(rate_, 1, 2);
    top->addWidget(makeCaption(lossCharge_->accessibleName(), lossCharge_, this), 1, 3);
    top->addWidget(lossCharge_, 1, 4);
    top->addWidget(makeCaption(team_->accessibleName(), team_, this), 2, 1);
    top->addWidget(team_, 2, 2);
    top->setColumnStretch(2, 1);
    top->setColumnStretch(4, 1);

    auto* middle = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{single_, cooperative_, selectAll_, insert_, delete_})
        middle->addWidget(w);
    middle->addStretch();

    auto* totals = new QHBoxLayout;
    totals->addWidget(totalDoneLabel_);
    totals->addWidget(totalDone_);
    totals->addWidget(totalLostLabel_);
    totals->addWidget(totalLost_);
    totals->addStretch();
    totals->addWidget(singleSubmit_);
    totals->addWidget(coopSubmit_);

    auto* lists = new QHBoxLayout;
    lists->addWidget(members_, 2);
    lists->addLayout(middle);
    lists->addWidget(singleList_, 3);
    lists->addWidget(coopList_, 3);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addLayout(lists, 1);
    layout->addLayout(totals);

    connect(process_, &QPushButton::clicked, this, &WorkPanel::accept);
    // Only the user's choice runs these: filling a drop-down passes through its first item.
    connect(mode_, &QComboBox::textActivated, this, &WorkPanel::modeChosen);
    connect(team_, &QComboBox::textActivated, this, &WorkPanel::teamChosen);
    connect(single_, &QRadioButton::toggled, this, &WorkPanel::showMode);
    connect(insert_, &QPushButton::clicked, this, &WorkPanel::insertWorkers);
    connect(delete_, &QPushButton::clicked, this, &WorkPanel::deleteWorker);
    connect(totalDone_, &QLineEdit::textChanged, this, &WorkPanel::split);
    connect(totalLost_, &QLineEdit::textChanged, this, &WorkPanel::split);
    connect(singleSubmit_, &QPushButton::clicked, this, &WorkPanel::submit);
    connect(coopSubmit_, &QPushButton::clicked, this, &WorkPanel::submit);

    process_->setEnabled(false);
    showMode();
    setPanelEnabled(false);
}

void WorkPanel::setCurrent(quint64 flow, quint64 order)
{
    flow_ = flow;
    order_ = order;
}

void WorkPanel::setProcessAllowed(bool allowed)
{
    process_->setEnabled(allowed);
}

void WorkPanel::endTask()
{
    task_ = false;
    setPanelEnabled(false);
}

void WorkPanel::clearRates()
{
    rate_->clear();
    lossCharge_->clear();
}

void WorkPanel::acceptIfAllowed()
{
    if (process_->isEnabled() && !task_)
        accept();
}

KvGrid* WorkPanel::workers() const
{
    return cooperative_->isChecked() ? coopList_ : singleList_;
}

// "处理工作"
void WorkPanel::accept()
{
    if (flow_ == 0)
        return;
    if (!prompt().confirm(QStringLiteral("确定接受这项工作吗？"), QStringLiteral("提示")))
        return;
    task_ = true;
    // The task stays on the flow accepted here, whatever the screen shows later.
    taskFlow_ = flow_;
    taskOrder_ = order_;
    appliedMode_.clear();
    setPanelEnabled(true);
    FillCombo(g_sqlTool, *mode_, stationq::processes(g_sqlTool, station_));
    mode_->insertItem(0, flow::kForward);
    mode_->setCurrentIndex(-1);
}

void WorkPanel::setPanelEnabled(bool on)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{team_, destination_, insert_, delete_, singleSubmit_, coopSubmit_,
                                         totalDone_, totalLost_, members_, singleList_, coopList_})
        w->setEnabled(on);
    process_->setVisible(!on);
    mode_->setVisible(on);
    modeLabel_->setVisible(on);
    if (on)
        return;
    mode_->clear();
    appliedMode_.clear();
    destination_->clear();
    team_->clear();
    members_->DeleteAllItems();
    singleList_->DeleteAllItems();
    coopList_->DeleteAllItems();
    rate_->clear();
    totalDone_->clear();
    totalLost_->clear();
}

void WorkPanel::modeChosen(const QString& mode)
{
    // The same mode again keeps the workers typed for it.
    if (mode.isEmpty() || mode == appliedMode_)
        return;
    const bool forward = mode == flow::kForward;
    if (!forward) {
        const Rows rate = g_sqlTool.Read(flowq::processRate(g_sqlTool, mode));
        if (!rate || rate.empty()) {
            prompt().message(rate ? QStringLiteral("找不到工序%1的工价").arg(mode) : rate.error(),
                             QStringLiteral("Error"));
            // The rate shown stays that of the mode applied before, so show that mode.
            SelectComboText(*mode_, appliedMode_);
            return;
        }
        rate_->setText(rate.first().text(0));
    } else {
        rate_->clear();  // passing on pays nothing
    }
    appliedMode_ = mode;

    destination_->clear();
    team_->clear();
    members_->DeleteAllItems();
    singleList_->DeleteAllItems();
    coopList_->DeleteAllItems();
    FillCombo(g_sqlTool, *destination_, adminq::choices(g_sqlTool, adminq::Choice::Stations));
    SelectComboText(*destination_, station_);
    setPanelEnabled(true);
    if (!forward) {
        FillCombo(g_sqlTool, *team_, adminq::choices(g_sqlTool, adminq::Choice::Teams));
    }

    const Rows charge = g_sqlTool.Read(adminq::setting(g_sqlTool, adminq::kLossPrice));
    if (!prompt().report(charge))
        return;
    lossCharge_->setText(charge.first().text(0));
}

void WorkPanel::teamChosen(const QString& team)
{
    if (team.isEmpty())
        return;
    prompt().report(members_->Fill(g_sqlTool, stationq::teamMembers(g_sqlTool, team)));
}

void WorkPanel::showMode()
{
    const bool single = single_->isChecked();
    singleList_->setVisible(single);
    singleSubmit_->setVisible(single);
    for (QWidget* w : std::initializer_list<QWidget*>{coopList_, coopSubmit_, totalDone_, totalLost_,
                                                      totalDoneLabel_, totalLostLabel_})
        w->setVisible(!single);
}

void WorkPanel::insertWorkers()
{
    KvGrid* list = workers();
    const bool single = list == singleList_;
    const auto present = [list](const QString& id) {
        for (int r = 0; r < list->GetItemCount(); ++r)
            if (list->GetItemText(r, 0) == id)
                return true;
        return false;
    };
    const auto add = [&](int member) {
        const QString id = members_->GetItemText(member, 0);
        if (present(id))
            return;
        QStringList cells{id, members_->GetItemText(member, 1), QString()};
        if (single)
            cells.append(QString());
        list->AppendItem(cells);
    };
    if (selectAll_->isChecked()) {
        for (int r = 0; r < members_->GetItemCount(); ++r)
            add(r);
    } else {
        const int member = members_->GetSelectedRow();
        if (member < 0) {
            prompt().message(QStringLiteral("请选择一个员工"), kError);
            return;
        }
        add(member);
    }
    // A share typed for fewer workers would leave the newcomer unpaid.
    if (!single)
        split();
}

void WorkPanel::deleteWorker()
{
    KvGrid* list = workers();
    const int row = list->GetSelectedRow();
    if (row < 0)
        return;
    list->DeleteItem(row);
    // Share the whole amount among those who remain.
    if (list == coopList_)
        split();
}

void WorkPanel::split()
{
    const QString share = flow::cooperativeShare(
        convert::toDouble(rate_->text()), convert::toDouble(lossCharge_->text()),
        convert::toInt(totalDone_->text()), convert::toInt(totalLost_->text()), coopList_->GetItemCount());
    if (share.isEmpty())
        return;
    for (int r = 0; r < coopList_->GetItemCount(); ++r)
        coopList_->SetItemText(r, 2, share);
}

void WorkPanel::submit()
{
    flow::HandOver h;
    h.station = station_;
    h.flow = taskFlow_;
    h.order = taskOrder_;
    h.mode = mode_->currentText();
    h.destination = destination_->currentText();
    h.rate = convert::toDouble(rate_->text());
    h.lossCharge = convert::toDouble(lossCharge_->text());
    h.cooperative = cooperative_->isChecked();
    const KvGrid* list = workers();
    for (int r = 0; r < list->GetItemCount(); ++r) {
        flow::Worker w;
        w.id = convert::toId(list->GetItemText(r, 0));
        if (!h.cooperative) {
            w.done = countOf(list->GetItemText(r, 2));
            w.lost = countOf(list->GetItemText(r, 3));
        }
        h.workers.append(w);
    }
    h.totalDone = countOf(totalDone_->text());
    h.totalLost = countOf(totalLost_->text());
    h.account = g_account;
    h.now = GetTimeText(0);

    flow::HandOverResult made;
    const Outcome r = flow::handOver(g_sqlTool, h, &made);
    if (!r.ok()) {
        prompt().report(r);
        if (r.isTaken()) {
            // The flow is gone: so is the task, and nothing typed for it is kept to be
            // paid on another flow.
            endTask();
            Q_EMIT notHandedOver(true);
        } else if (r.kind() == Outcome::Kind::Failed) {
            // The task stays, with everything typed, so that it can be submitted again.
            Q_EMIT notHandedOver(false);
        }
        return;
    }
    prompt().message(QStringLiteral("工作处理成功"), QStringLiteral("提示"));
    task_ = false;
    setPanelEnabled(false);
    // The tickets travel with the goods: the part that goes on and the part left here.
    tickets::printMade(this, {made.successor, made.derived});
    Q_EMIT handedOver();
}
