#include "dialogs/intake/Dlg_Consignee.h"

#include "db/mySQLTool.h"
#include "dialogs/intake/ConsigneeForm.h"
#include "dialogs/intake/ConsigneeQueues.h"
#include "dialogs/intake/IntakeQueries.h"
#include "dialogs/tickets/Scanned.h"
#include "dialogs/tickets/TicketPrint.h"
#include "flow/Flow.h"
#include "flow/Intake.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Rights.h"
#include "ui/ScanBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");
constexpr int kRefreshMs = 60000;

// Selects the row whose first column is `key`; false when the list has none.
bool selectRow(KvGrid* list, quint64 key)
{
    const QString text = QString::number(key);
    for (int r = 0; r < list->GetItemCount(); ++r) {
        if (list->GetItemText(r, 0) == text) {
            list->SelectRow(r);
            list->scrollTo(list->model()->index(r, 0));
            return true;
        }
    }
    return false;
}

}  // namespace

Dlg_Consignee::Dlg_Consignee(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Consignee"));
    setWindowTitle(QStringLiteral("来货登记"));
    form_ = new ConsigneeForm(this);
    queues_ = new ConsigneeQueues(this);
    scan_ = new ScanBox(this);
    auto* printOrder = makeButton(QStringLiteral("打印货单卡"), "printOrderTicketButton", this);
    auto* reprint = makeButton(QStringLiteral("重印流水卡"), "reprintButton", this);
    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(scan_);
    scanRow->addWidget(printOrder);
    scanRow->addWidget(reprint);
    scanRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(form_, 4);
    layout->addLayout(scanRow);
    layout->addWidget(queues_, 5);
    resize(1280, 860);

    connect(form_->submitButton(), &QPushButton::clicked, this, &Dlg_Consignee::submit);
    connect(queues_->editButton(), &QPushButton::clicked, this, &Dlg_Consignee::editOrder);
    connect(queues_->endButton(), &QPushButton::clicked, this, &Dlg_Consignee::endOrder);
    connect(queues_->cancelButton(), &QPushButton::clicked, this, &Dlg_Consignee::cancelOrder);
    connect(queues_->refuseButton(), &QPushButton::clicked, this, &Dlg_Consignee::refuseFlow);
    connect(queues_->forwardButton(), &QPushButton::clicked, this, &Dlg_Consignee::forwardFlow);
    connect(scan_, &ScanBox::scanned, this, &Dlg_Consignee::scanned);
    connect(printOrder, &QPushButton::clicked, this, &Dlg_Consignee::printOrderTicket);
    connect(reprint, &QPushButton::clicked, this, &Dlg_Consignee::reprintFlow);

    // Everything the desk opens with in one exchange. A missing setting is reported; the
    // screen is still set up completely.
    const QList<Statement> formReads = form_->openingReads();
    const Batch read = g_sqlTool.ReadAll(formReads + queues_->reads());
    form_->fillOpening(read, 0);
    queues_->fill(read, static_cast<int>(formReads.size()));
    form_->lockFields();
    form_->allowNewClients(rights::mayCreateClients(g_identity));
    queues_->showOrders(true);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("refreshTimer1203"));
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &Dlg_Consignee::onRefreshTimer);
    timer_->start();
    scan_->takeFocus();
}

void Dlg_Consignee::done(int result)
{
    if (editMode_ && !prompt().confirm(QStringLiteral("放弃所做的修改吗？"), kNotice))
        return;
    QDialog::done(result);
}

void Dlg_Consignee::keyPressEvent(QKeyEvent* e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(e);
        return;
    }
    e->accept();
    if (form_->keepsEnter(focusWidget()))
        return;
    accept();
}

void Dlg_Consignee::onRefreshTimer()
{
    if (isActiveWindow())
        queues_->fillWaitingFlows();
}

void Dlg_Consignee::submit()
{
    if (!prompt().confirm(QStringLiteral("确定提交新货单吗？"), kNotice))
        return;
    const bool activate = form_->activate();
    const intake::OrderForm values = form_->values();
    intake::Order order;
    if (!prompt().report(intake::checkOrder(g_sqlTool, values, activate, order)))
        return;

    QString newClient;
    if (values.newClient) {
        bool exists = false;
        if (!prompt().report(intake::clientExists(g_sqlTool, values.clientName, exists)))
            return;
        if (exists) {
            if (!prompt().confirm(
                    QStringLiteral("客户%1已存在，请确认是否插入同名的新客户？").arg(values.clientName),
                    QStringLiteral("警告")))
                return;
        } else if (!prompt().confirm(QStringLiteral("数据库中没有找到该客户的资料，是否新增？"), kNotice)) {
            prompt().message(QStringLiteral("请输入正确的客户名称"), kError);
            return;
        }
        newClient = values.clientName;
    }

    order.account = g_account;
    const bool fresh = !editMode_;
    intake::Written written;
    const Outcome r =
        intake::submitOrder(g_sqlTool, order, activate, editMode_ ? editing_ : 0, newClient, &written);
    if (!prompt().report(r)) {
        // The order under edit was taken by another desk: stay in edit mode, so that a
        // second submit cannot register the same goods as a new order, and show the queues.
        if (r.isTaken()) {
            queues_->fillActivated();
            queues_->fillWaitingOrders();
        }
        return;
    }
    if (!newClient.isEmpty()) {
        form_->fillClients();
        form_->chooseClient(written.client);
    }
    editMode_ = false;
    editing_ = 0;
    if (!activate) {
        prompt().message(QStringLiteral("货单成功编辑"), kNotice);
        queues_->fillWaitingOrders();
        // A new waiting order's own ticket goes with its goods until it is activated.
        if (fresh)
            tickets::printMadeOrder(this, written.order);
        return;
    }
    prompt().message(QStringLiteral("货单成功录入"), kNotice);
    queues_->fillActivated();
    queues_->fillWaitingOrders();
    tickets::printMade(this, {written.flow});
}

void Dlg_Consignee::editOrder()
{
    KvGrid* list = queues_->waitingOrders();
    quint64 order = 0;
    if (!ConsigneeQueues::selectedKey(list, order)) {
        prompt().message(QStringLiteral("请选择一行记录进行编辑"), kError);
        return;
    }
    if (editMode_ && !prompt().confirm(QStringLiteral("放弃所做的修改吗？"), kNotice))
        return;
    const QString number = list->GetItemText(list->GetSelectedRow(), 0);
    if (!prompt().confirm(QStringLiteral("重新编辑号码为%1的货单吗？").arg(number), kNotice))
        return;
    form_->reset();
    form_->setActivate(false);
    editMode_ = false;
    editing_ = 0;
    // Edit mode only with an order to write back to; with 0 a submit would add a new one.
    if (order == 0) {
        prompt().message(intake::kBadOrder, kError);
        return;
    }
    const Rows read = g_sqlTool.Read(intakeq::order(g_sqlTool, order));
    if (!prompt().report(read))
        return;
    const Row& row = read.first();
    const bool waiting = !read.empty() && row.toInt(read.field(QStringLiteral("激活"))) == 0 &&
                         row.toInt(read.field(QStringLiteral("结讫"))) == 0;
    if (!waiting) {
        // Activated, ended or cancelled meanwhile at another desk.
        prompt().message(flow::kOrderTaken, kError);
        queues_->fillActivated();
        queues_->fillWaitingOrders();
        return;
    }
    editMode_ = true;
    editing_ = order;
    form_->loadOrder(read.fields(), row);
}

void Dlg_Consignee::afterRefusal(const Outcome& r, bool orders)
{
    if (!r.isTaken())
        return;
    if (orders)
        queues_->fillWaitingOrders();
    else
        queues_->fillWaitingFlows();
}

void Dlg_Consignee::endOrder()
{
    quint64 order = 0;
    if (!ConsigneeQueues::selectedKey(queues_->waitingOrders(), order)) {
        prompt().message(QStringLiteral("请选择一行需要发送的未激活货单"), kError);
        return;
    }
    if (!prompt().confirm(
            QStringLiteral("该货单还未激活进入车间进行处理，将直接送往发送工作站退还给客户，确认吗？"),
            kNotice))
        return;
    const Outcome r = intake::endOrder(g_sqlTool, order, form_->priority());
    if (!prompt().report(r)) {
        afterRefusal(r, true);
        return;
    }
    prompt().message(QStringLiteral("货单已发送"), kNotice);
    queues_->fillWaitingOrders();
}

void Dlg_Consignee::cancelOrder()
{
    quint64 order = 0;
    if (!ConsigneeQueues::selectedKey(queues_->waitingOrders(), order)) {
        prompt().message(QStringLiteral("请选择一行需要取消的未激活货单"), kError);
        return;
    }
    if (!prompt().confirm(QStringLiteral("该货单将被取消，不做任何处理，确认吗？"), kNotice))
        return;
    const Outcome r = intake::cancelOrder(g_sqlTool, order);
    if (!prompt().report(r)) {
        afterRefusal(r, true);
        return;
    }
    prompt().message(QStringLiteral("货单已取消"), kNotice);
    queues_->fillWaitingOrders();
}

void Dlg_Consignee::refuseFlow()
{
    moveFlow(true);
}

void Dlg_Consignee::forwardFlow()
{
    moveFlow(false);
}

void Dlg_Consignee::moveFlow(bool refuse)
{
    quint64 flow = 0;
    if (!ConsigneeQueues::selectedKey(queues_->waitingFlows(), flow)) {
        prompt().message(
            refuse ? QStringLiteral("请选择一行需要退还的流水") : QStringLiteral("请选择一行需要转发的流水"),
            kError);
        return;
    }
    if (!prompt().confirm(refuse ? QStringLiteral("该流水将被退还给洗水工作站，确认吗？")
                                 : QStringLiteral("该流水将被转发给发送工作站，确认吗？"),
                          kNotice))
        return;
    const Outcome r = refuse ? intake::refuseFlow(g_sqlTool, flow, g_account)
                             : intake::forwardFlow(g_sqlTool, flow, g_account);
    if (!prompt().report(r)) {
        afterRefusal(r, false);
        return;
    }
    prompt().message(refuse ? QStringLiteral("流水已退还") : QStringLiteral("流水已转发至发送工作站"),
                     kNotice);
    queues_->fillWaitingFlows();
}

void Dlg_Consignee::scanned(const QString& text)
{
    const scan::Scanned s = scan::read(text);
    if (s.kind == ticket::Kind::Order) {
        const scan::OrderPlace& order = s.order;
        if (order.waiting()) {
            queues_->showOrders(true);
            if (!selectRow(queues_->waitingOrders(), order.order)) {
                queues_->fillWaitingOrders();
                selectRow(queues_->waitingOrders(), order.order);
            }
            return;
        }
        // An activated order is shown where it is listed; any other is told.
        if (order.active != 1 || order.state != 0 || !selectRow(queues_->activated(), order.order))
            prompt().message(scan::describe(order), kError);
        return;
    }
    if (s.kind != ticket::Kind::Flow)
        return;
    const scan::FlowPlace& place = s.flow;
    if (!place.open() || place.orderEnded() || place.station != flow::kIntake) {
        prompt().message(scan::describe(place), kError);
        return;
    }
    queues_->showOrders(false);
    if (!selectRow(queues_->waitingFlows(), place.flow)) {
        queues_->fillWaitingFlows();
        selectRow(queues_->waitingFlows(), place.flow);
    }
}

void Dlg_Consignee::printOrderTicket()
{
    quint64 order = 0;
    if (!ConsigneeQueues::selectedKey(queues_->waitingOrders(), order)) {
        prompt().message(QStringLiteral("请选择一行等待激活的货单"), kError);
        return;
    }
    tickets::reprintOrder(this, order);
}

void Dlg_Consignee::reprintFlow()
{
    quint64 flow = 0;
    if (!ConsigneeQueues::selectedKey(queues_->waitingFlows(), flow)) {
        prompt().message(QStringLiteral("请选择一行等待处理的流水"), kError);
        return;
    }
    tickets::reprintFlow(this, flow);
}
