#include "dialogs/inquiry/OrderDetails.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "grid/KvGrid.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

OrderDetails::OrderDetails(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("orderDetails"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int column = 0;
    const auto place = [&](const QString& caption, QWidget* w, int stretch) {
        grid->addWidget(makeCaption(caption, w, this), 0, column);
        grid->addWidget(w, 1, column);
        grid->setColumnStretch(column++, stretch);
    };
    flows_ = makeList(QStringLiteral("正在车间运行的流水列表"), "flowsList", this,
                      {{"流水号", 55}, {"上一站", 70}, {"当前站", 70}, {"数量", 50}});
    place(flows_->accessibleName(), flows_, 3);
    shipments_ = makeList(QStringLiteral("该货单的发货记录列表"), "shipmentsList", this,
                          {{"序列号", 55}, {"数量", 50}, {"发货人", 55}, {"发送时间", 95}});
    place(shipments_->accessibleName(), shipments_, 3);
    history_ = new QPlainTextEdit(this);
    history_->setObjectName(QStringLiteral("historyText"));
    history_->setReadOnly(true);
    place(QStringLiteral("流水历史记录"), history_, 3);
    steps_ = makeList(QStringLiteral("流水经历步骤"), "stepsList", this, {{"流水号", 0}, {"工序", 85}});
    place(steps_->accessibleName(), steps_, 1);
    workers_ = makeList(QStringLiteral("参与员工列表"), "workersList", this,
                        {{"工号", 50}, {"姓名", 60}, {"完成", 55}});
    place(workers_->accessibleName(), workers_, 2);

    connect(flows_, &KvGrid::rowClicked, this, [this](int row) {
        if (row >= 0)
            showFlow(convert::toId(flows_->GetItemText(row, 0)));
    });
    connect(steps_, &KvGrid::rowClicked, this, [this](int row) {
        if (row >= 0)
            showWorkers(convert::toId(steps_->GetItemText(row, 0)));
    });
}

void OrderDetails::clear()
{
    history_->clear();
    for (KvGrid* list : {flows_, shipments_, steps_, workers_})
        list->DeleteAllItems();
    lastFlow_ = 0;
}

void OrderDetails::showOrder(quint64 order)
{
    history_->clear();
    for (KvGrid* list : {steps_, workers_})
        list->DeleteAllItems();
    prompt().report(flows_->Fill(g_sqlTool, inquiryproq::runningFlows(g_sqlTool, order)));
    prompt().report(shipments_->Fill(g_sqlTool, inquiryproq::shipments(g_sqlTool, order)));
}

void OrderDetails::showFlow(quint64 flow)
{
    history_->clear();
    steps_->DeleteAllItems();
    workers_->DeleteAllItems();
    lastFlow_ = flow;
    // The whole chain in one statement, the clicked flow first; each step goes to the top, so
    // the list reads from the oldest step down to the clicked flow.
    const Rows chain = g_sqlTool.Read(inquiryproq::flowChain(g_sqlTool, flow, kStepCap));
    if (!prompt().report(chain))
        return;
    using C = inquiryproq::FlowChain;
    QString process;
    for (int i = 0; i < chain.size(); ++i) {
        const Row& step = chain.at(i);
        steps_->InsertItem(0);
        // A step without its process step keeps the one of the step after it.
        if (!step.isNull(C::Process))
            process = step.text(C::Process);
        if (i == 0 && !step.isNull(C::History))
            history_->setPlainText(step.text(C::History));
        if (step.toInt(C::Closed) == 1) {
            steps_->SetItemText(0, 0, QString::number(step.toId(C::Flow)));
            steps_->SetItemText(0, 1, process);
        }
    }
}

void OrderDetails::showWorkers(quint64 flow)
{
    prompt().report(workers_->Fill(g_sqlTool, inquiryproq::stepWorkers(g_sqlTool, flow)));
}
