#include "dialogs/intake/ConsigneeQueues.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/intake/IntakeQueries.h"
#include "grid/KvGrid.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Customer names and times are widened to show whole in the CJK font.
constexpr GridColumns kOrderColumns = {{"货单号", 60},   {"款号", 60},     {"客户名称", 110},
                                       {"货物数量", 70}, {"接货人", 70},   {"接货时间", 130},
                                       {"货物性质", 70}, {"货物分类", 70}, {"货物款式", 70},
                                       {"货物性别", 70}, {"洗涤方法", 150}};

}  // namespace

ConsigneeQueues::ConsigneeQueues(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("intakeQueues"));
    ordersRadio_ = makeRadio(QStringLiteral("等待激活的货单队列"), "waitingOrdersRadio", this);
    flowsRadio_ = makeRadio(QStringLiteral("等待处理的流水队列"), "waitingFlowsRadio", this);
    edit_ = makeButton(QStringLiteral("编辑货单"), "editOrderButton", this);
    end_ = makeButton(QStringLiteral("结束货单"), "endOrderButton", this);
    cancel_ = makeButton(QStringLiteral("取消货单"), "cancelOrderButton", this);
    refuse_ = makeButton(QStringLiteral("退还"), "refuseFlowButton", this);
    forward_ = makeButton(QStringLiteral("直接发送"), "forwardFlowButton", this);

    auto* top = new QHBoxLayout;
    top->addWidget(ordersRadio_);
    top->addWidget(flowsRadio_);
    top->addStretch(1);
    for (QPushButton* b : {edit_, end_, cancel_, refuse_, forward_})
        top->addWidget(b);

    auto* activatedBox = new QGroupBox(QStringLiteral("已激活的货单队列"), this);
    activated_ = makeList(activatedBox->title(), "activatedList", this, kOrderColumns);
    (new QVBoxLayout(activatedBox))->addWidget(activated_);

    waitingBox_ = new QGroupBox(ordersRadio_->text(), this);
    waitingOrders_ = makeList(ordersRadio_->text(), "waitingOrderList", this, kOrderColumns);
    waitingFlows_ = makeList(flowsRadio_->text(), "waitingFlowList", this,
                             {{"流水号", 60},
                              {"货单号", 60},
                              {"客户名称", 110},
                              {"货物等级", 70},
                              {"上一站", 70},
                              {"数量", 60},
                              {"生成时间", 130},
                              {"历史", 200}});
    auto* waitingLayout = new QVBoxLayout(waitingBox_);
    waitingLayout->addWidget(waitingOrders_);
    waitingLayout->addWidget(waitingFlows_);

    auto* lists = new QHBoxLayout;
    lists->addWidget(activatedBox, 1);
    lists->addWidget(waitingBox_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addLayout(lists, 1);

    connect(ordersRadio_, &QRadioButton::toggled, this, [this](bool on) { showOrders(on); });
}

void ConsigneeQueues::showOrders(bool orders)
{
    if (orders != ordersRadio_->isChecked()) {
        // Keeps the radio buttons in step when called directly.
        (orders ? ordersRadio_ : flowsRadio_)->setChecked(true);
        return;
    }
    waitingBox_->setTitle(orders ? ordersRadio_->text() : flowsRadio_->text());
    for (QWidget* w : std::initializer_list<QWidget*>{waitingOrders_, edit_, end_, cancel_})
        w->setVisible(orders);
    for (QWidget* w : std::initializer_list<QWidget*>{waitingFlows_, forward_, refuse_})
        w->setVisible(!orders);
}

void ConsigneeQueues::fillActivated()
{
    prompt().report(
        activated_->Fill(g_sqlTool, intakeq::orders(g_sqlTool, true), true, intakeq::byCaption()));
}

void ConsigneeQueues::fillWaitingOrders()
{
    prompt().report(
        waitingOrders_->Fill(g_sqlTool, intakeq::orders(g_sqlTool, false), true, intakeq::byCaption()));
}

void ConsigneeQueues::fillWaitingFlows()
{
    prompt().report(waitingFlows_->Fill(g_sqlTool, intakeq::waitingFlows(g_sqlTool)));
}

QList<Statement> ConsigneeQueues::reads() const
{
    return {intakeq::orders(g_sqlTool, true), intakeq::orders(g_sqlTool, false),
            intakeq::waitingFlows(g_sqlTool)};
}

void ConsigneeQueues::fill(const Batch& read, int at)
{
    prompt().report(activated_->Fill(read.rows(at), true, intakeq::byCaption()));
    prompt().report(waitingOrders_->Fill(read.rows(at + 1), true, intakeq::byCaption()));
    prompt().report(waitingFlows_->Fill(read.rows(at + 2)));
}

bool ConsigneeQueues::selectedKey(const KvGrid* list, quint64& key)
{
    key = 0;
    const int row = list->GetSelectedRow();
    if (row < 0)
        return false;
    key = convert::toId(list->GetItemText(row, 0));
    return true;
}
