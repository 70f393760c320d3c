#include "dialogs/shipping/Dlg_Shipper.h"

#include "dialogs/shipping/ShipDocket.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/OrderPager.h"
#include "dialogs/shipping/ShipmentBlock.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "dialogs/tickets/Scanned.h"
#include "dialogs/tickets/TicketPrint.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Rights.h"
#include "ui/ScanBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");
const QString kChooseOrder = QStringLiteral("请选择一行货单记录");
constexpr int kRefreshMs = 60000;

// A figure shown read-only in a row, after its caption.
void showFigure(QLineEdit* box, QHBoxLayout* row)
{
    box->setReadOnly(true);
    box->setMaximumWidth(80);
    row->addWidget(makeCaption(box->accessibleName(), box, box->parentWidget()));
    row->addWidget(box);
}

}  // namespace

Dlg_Shipper::Dlg_Shipper(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Shipper"));
    setWindowTitle(QStringLiteral("Shipper"));

    // Order lists: two in one place, one shown at a time.
    radioUnshipped_ = makeRadio(QStringLiteral("未发送的货单列表"), "radioUnshipped", this);
    radioShipped_ = makeRadio(QStringLiteral("已发送的货单列表"), "radioShipped", this);
    auto* refreshButton = makeButton(QStringLiteral("刷新"), "refreshButton", this);
    scan_ = new ScanBox(this);
    auto* reprintButton = makeButton(QStringLiteral("重印流水卡"), "reprintButton", this);
    unshipped_ = new OrderPager(OrderPager::Kind::Unshipped, radioUnshipped_->text(),
                                QStringLiteral("unshipped"), this);
    shipped_ =
        new OrderPager(OrderPager::Kind::Shipped, radioShipped_->text(), QStringLiteral("shipped"), this);
    shipped_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(radioUnshipped_);
    top->addWidget(radioShipped_);
    top->addStretch(1);
    top->addWidget(scan_);
    top->addWidget(reprintButton);
    top->addWidget(refreshButton);

    // Where the chosen order's goods are.
    QGroupBox* pending = flowGroup(QStringLiteral("流水中还不能发送的货物列表"), QStringLiteral("pending"),
                                   pending_, pendingSum_);
    QGroupBox* waiting = flowGroup(QStringLiteral("流水中等待确认的货物列表"), QStringLiteral("waiting"),
                                   waiting_, waitingSum_);
    QGroupBox* confirmed = flowGroup(QStringLiteral("流水中已确认的货物列表"), QStringLiteral("confirmed"),
                                     confirmed_, confirmedSum_);
    auto* confirmButton = makeButton(QStringLiteral("确认"), "confirmButton", waiting);
    auto* returnButton = makeButton(QStringLiteral("退还"), "returnButton", waiting);
    auto* waitingRow = static_cast<QHBoxLayout*>(waiting->layout()->itemAt(1)->layout());
    waitingRow->addWidget(confirmButton);
    waitingRow->addWidget(returnButton);

    auto* shippedGroup = new QGroupBox(QStringLiteral("货单中已发送的货物列表"), this);
    shippedGoods_ = makeList(shippedGroup->title(), "shippedGoodsList", shippedGroup,
                             {{"序列号", 60},
                              {"原版数量", 70},
                              {"洗版数量", 70},
                              {"损耗数量", 70},
                              {"货物数量", 70},
                              {"发送时间", 100},
                              {"发货人", 70}});
    shippedGoods_->SetCellMargin(1.2);
    auto* sumsRow = new QHBoxLayout;
    const std::pair<const char*, const char*> sums[] = {{"原版数量", "shippedOriginal"},
                                                        {"洗版数量", "shippedWashed"},
                                                        {"损耗数量", "shippedLoss"},
                                                        {"货物数量", "shippedGoods"}};
    for (int i = 0; i < 4; ++i) {
        shippedSums_[i] = makeEdit(QString::fromUtf8(sums[i].first), sums[i].second, shippedGroup);
        showFigure(shippedSums_[i], sumsRow);
    }
    sumsRow->addStretch(1);
    auto* printButton = makeButton(QStringLiteral("打印货单"), "printButton", shippedGroup);
    sumsRow->addWidget(printButton);
    auto* shippedLayout = new QVBoxLayout(shippedGroup);
    shippedLayout->addWidget(shippedGoods_, 1);
    shippedLayout->addLayout(sumsRow);

    auto* goods = new QGridLayout;
    goods->addWidget(pending, 0, 0);
    goods->addWidget(waiting, 0, 1);
    goods->addWidget(confirmed, 1, 0);
    goods->addWidget(shippedGroup, 1, 1);

    block_ = new ShipmentBlock(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(unshipped_, 2);
    layout->addWidget(shipped_, 2);
    layout->addLayout(goods, 5);
    layout->addWidget(block_);
    resize(1280, 860);

    const bool management = rights::mayCloseOrders(g_identity);
    block_->closeOrderButton()->setVisible(management);
    block_->repairButton()->setVisible(management);

    connect(radioUnshipped_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showOrders(true);
    });
    connect(radioShipped_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showOrders(false);
    });
    connect(unshipped_, &OrderPager::rowClicked, this, [this](int row) { orderClicked(unshipped_, row); });
    connect(shipped_, &OrderPager::rowClicked, this, [this](int row) { orderClicked(shipped_, row); });
    connect(refreshButton, &QPushButton::clicked, this, &Dlg_Shipper::refresh);
    connect(confirmButton, &QPushButton::clicked, this, &Dlg_Shipper::confirmFlow);
    connect(returnButton, &QPushButton::clicked, this, &Dlg_Shipper::returnFlow);
    connect(printButton, &QPushButton::clicked, this, &Dlg_Shipper::printDocket);
    connect(this, &Dlg_Shipper::docketRequested, this, &Dlg_Shipper::openDocket);
    connect(scan_, &ScanBox::scanned, this, &Dlg_Shipper::scanned);
    connect(reprintButton, &QPushButton::clicked, this, &Dlg_Shipper::reprint);
    for (KvGrid* list : {pending_, waiting_, confirmed_})
        connect(list, &KvGrid::rowClicked, this, [this, list] { lastFlowList_ = list; });
    connect(block_->noCheckBox(), &QCheckBox::toggled, this, [this] {
        if (current_ != 0)
            computeFigures();
    });
    connect(block_->submitButton(), &QPushButton::clicked, this, &Dlg_Shipper::submit);
    connect(block_->closeOrderButton(), &QPushButton::clicked, this, &Dlg_Shipper::closeOrder);
    connect(block_->repairButton(), &QPushButton::clicked, this, &Dlg_Shipper::repair);

    block_->fillPeople();
    radioUnshipped_->setChecked(true);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("refreshTimer1204"));
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &Dlg_Shipper::onRefreshTimer);
    timer_->start();
    scan_->takeFocus();
}

QGroupBox* Dlg_Shipper::flowGroup(const QString& caption, const QString& name, KvGrid*& list, QLineEdit*& sum)
{
    auto* group = new QGroupBox(caption, this);
    list = makeList(
        caption, (name + QStringLiteral("List")).toLatin1().constData(), group,
        {{"流水号", 60}, {"数量", 60}, {"上一站", 70}, {"工作站", 70}, {"生成时间", 100}, {"历史", 120}});
    list->SetCellMargin(1.2);
    auto* row = new QHBoxLayout;
    sum = makeEdit(QStringLiteral("货物数量"), (name + QStringLiteral("Sum")).toLatin1().constData(), group);
    showFigure(sum, row);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list, 1);
    layout->addLayout(row);
    return group;
}

void Dlg_Shipper::showOrders(bool unshipped)
{
    OrderPager* shown = unshipped ? unshipped_ : shipped_;
    OrderPager* hidden = unshipped ? shipped_ : unshipped_;
    hidden->hide();
    shown->show();
    block_->setEntriesEnabled(unshipped);
    clearLower();
    shown->firstPage();
}

void Dlg_Shipper::orderClicked(OrderPager* pager, int row)
{
    bool selected = false;
    const quint64 order = pager->selectedOrder(&selected);
    if (row < 0 || !selected) {
        // Nothing chosen: nothing of another order may stay on display to be acted on.
        clearLower();
        return;
    }
    if (order == 0) {
        clearLower();
        prompt().message(shipping::kBadOrder, kError);
        return;
    }
    if (order != current_)
        block_->clearEntries();
    current_ = order;
    block_->setOrder(order);
    if (pager == shipped_) {
        prompt().report(shippedGoods_->Fill(g_sqlTool, shipperq::shipments(g_sqlTool, order)));
        return;
    }
    loadOrder();
}

void Dlg_Shipper::loadOrder()
{
    // The order's four lists and its quantities in one exchange.
    const Batch read = g_sqlTool.ReadAll(
        {shipperq::shipments(g_sqlTool, current_), shipperq::pendingFlows(g_sqlTool, current_),
         shipperq::waitingFlows(g_sqlTool, current_), shipperq::confirmedFlows(g_sqlTool, current_),
         shipperq::orderQuantities(g_sqlTool, current_)});
    int at = 0;
    for (KvGrid* list : {shippedGoods_, pending_, waiting_, confirmed_})
        prompt().report(list->Fill(read.rows(at++)));
    computeFigures(read.rows(at));
}

// Shows the current order again after another desk changed it under us.
void Dlg_Shipper::reloadCurrent()
{
    if (current_ == 0)
        return;
    if (radioUnshipped_->isChecked())
        loadOrder();
    else
        prompt().report(shippedGoods_->Fill(g_sqlTool, shipperq::shipments(g_sqlTool, current_)));
}

void Dlg_Shipper::clearLower()
{
    // Without the order's lists on display no action may act on that order.
    current_ = 0;
    block_->setOrder(0);
    figures_ = shipping::Shippable();
    for (KvGrid* list : {pending_, waiting_, confirmed_, shippedGoods_})
        list->DeleteAllItems();
    for (QLineEdit* box : {pendingSum_, waitingSum_, confirmedSum_})
        box->clear();
    for (QLineEdit* box : shippedSums_)
        box->clear();
    block_->clearRemaining();
    block_->clearEntries();
}

void Dlg_Shipper::computeFigures(const std::optional<Rows>& quantities)
{
    const QString count = QStringLiteral("数量");
    pendingSum_->setText(QString::number(pending_->SumColumn(count)));
    waitingSum_->setText(QString::number(waiting_->SumColumn(count)));
    confirmedSum_->setText(QString::number(confirmed_->SumColumn(count)));

    figures_ = shipping::Shippable();
    const Rows read =
        quantities ? *quantities : g_sqlTool.Read(shipperq::orderQuantities(g_sqlTool, current_));
    if (!prompt().report(read))
        return;
    if (read.empty()) {
        prompt().message(shipping::kBadOrder, kError);
        return;
    }
    const Row& order = read.first();
    figures_.orderOriginal = order.toInt64(0);
    figures_.orderWashed = order.toInt64(1);
    figures_.orderLoss = order.toInt64(2);
    figures_.orderGoods = order.toInt64(3);

    const char* sums[] = {"原版数量", "洗版数量", "损耗数量", "货物数量"};
    qint64 shipped[4];
    for (int i = 0; i < 4; ++i) {
        shipped[i] = shippedGoods_->SumColumn(QString::fromUtf8(sums[i]));
        shippedSums_[i]->setText(QString::number(shipped[i]));
    }
    figures_.shippedOriginal = shipped[0];
    figures_.shippedWashed = shipped[1];
    figures_.shippedLoss = shipped[2];
    figures_.shippedGoods = shipped[3];
    figures_.confirmed = confirmed_->SumColumn(count);
    block_->showRemaining(figures_.remainingOriginal(), figures_.remainingWashed(), figures_.remainingLoss(),
                          figures_.available(block_->noQuantityCheck()));
}

quint64 Dlg_Shipper::chosenWaitingFlow(const QString& noSelection)
{
    const int row = waiting_->GetSelectedRow();
    if (row < 0) {
        prompt().message(noSelection, kError);
        return 0;
    }
    const quint64 flow = convert::toId(waiting_->GetItemText(row, QStringLiteral("流水号")));
    if (flow == 0)
        prompt().message(shipping::kBadFlow, kError);
    return flow;
}

void Dlg_Shipper::confirmFlow()
{
    const quint64 flow = chosenWaitingFlow(QStringLiteral("请选择一行需要确认的流水记录"));
    if (flow == 0 ||
        !prompt().confirm(QStringLiteral("第%1号流水将被确认，等待发货，确定吗？").arg(flow), kNotice))
        return;
    afterFlowAction(shipping::confirmFlow(g_sqlTool, flow, g_account));
}

void Dlg_Shipper::returnFlow()
{
    const quint64 flow = chosenWaitingFlow(QStringLiteral("请选择一行需要退还的流水记录"));
    if (flow == 0 ||
        !prompt().confirm(QStringLiteral("第%1号流水将被退还给上一站，确定吗？").arg(flow), kNotice))
        return;
    afterFlowAction(shipping::returnFlow(g_sqlTool, flow, g_account));
}

void Dlg_Shipper::afterFlowAction(const Outcome& r)
{
    prompt().report(r);
    // A failed statement changed nothing; otherwise show where the goods are now (a
    // returned flow moves to the not-yet-shippable list).
    if (r.kind() != Outcome::Kind::Failed)
        loadOrder();
}

void Dlg_Shipper::refresh()
{
    // The list on display, with the chosen order kept chosen and its lists read again, so that
    // flows newly arrived at 发送 show up beside it.
    OrderPager* shown = radioUnshipped_->isChecked() ? unshipped_ : shipped_;
    shown->reload();
    reloadCurrent();
}

void Dlg_Shipper::onRefreshTimer()
{
    if (isActiveWindow())
        refresh();
}

void Dlg_Shipper::submit()
{
    if (current_ == 0) {
        prompt().message(kChooseOrder, kError);
        return;
    }
    shipping::Shipment s;
    s.order = current_;
    s.original = block_->entered(ShipmentBlock::Original);
    s.washed = block_->entered(ShipmentBlock::Washed);
    s.loss = block_->entered(ShipmentBlock::Loss);
    s.goods = block_->entered(ShipmentBlock::Goods);
    s.shipper = block_->shipper();
    s.issuer = block_->issuer();
    s.noQuantityCheck = block_->noQuantityCheck();
    s.account = g_account;
    if (!prompt().report(shipping::checkShipment(s, figures_)))
        return;
    if (s.loss > figures_.remainingLoss())
        prompt().message(QStringLiteral("填写的损耗数量大于目前已登记的损耗数，请确认无误"),
                         QStringLiteral("警告"));
    if (s.shipper.isEmpty()) {
        prompt().message(QStringLiteral("请选择发货人"), kError);
        return;
    }
    if (s.issuer.isEmpty()) {
        prompt().message(QStringLiteral("请选择开票人"), kError);
        return;
    }
    if (!prompt().confirm(QStringLiteral("生成新的发货单，确定吗？"), kNotice))
        return;

    shipping::Shipped shipped;
    const Outcome r = shipping::ship(g_sqlTool, s, &shipped);
    if (!prompt().report(r)) {
        // Another desk shipped first: show what is left now, keep the typed quantities.
        if (r.kind() != Outcome::Kind::Failed)
            reloadCurrent();
        return;
    }
    prompt().message(QStringLiteral("发货单编辑完成"), kNotice);
    block_->clearEntries();
    // An order the shipment closed leaves the list of unshipped orders but stays on screen
    // with its shipments, so that its docket is one click away. The list of shipped orders is
    // counted when it is shown, not now.
    if (shipped.closed)
        unshipped_->reload();
    loadOrder();
}

void Dlg_Shipper::closeOrder()
{
    // The orders on display are closed ones; the row still chosen in the hidden list of
    // unshipped orders is not what the user is looking at.
    if (!radioUnshipped_->isChecked()) {
        prompt().message(QStringLiteral("请在未发送的货单列表中选择要结讫的货单"), kError);
        return;
    }
    bool selected = false;
    const quint64 order = unshipped_->selectedOrder(&selected);
    if (!selected) {
        prompt().message(QStringLiteral("请选择一行要结讫的货单记录"), kError);
        return;
    }
    if (order == 0) {
        prompt().message(shipping::kBadOrder, kError);
        return;
    }
    if (order != current_)
        block_->clearEntries();
    current_ = order;
    block_->setOrder(order);
    loadOrder();

    const Outcome workshop = shipping::checkNotInWorkshop(g_sqlTool, order);
    if (!workshop) {
        if (workshop.kind() == Outcome::Kind::Failed)
            prompt().report(workshop);
        prompt().message(shipping::kInWorkshop, kError);
        return;
    }
    if (!prompt().confirm(
            QStringLiteral(
                "强行结讫将不能生成发货单，\n同时该货单所有仍在运行的流水也将全部关闭，确认结讫吗？"),
            kNotice))
        return;
    if (!prompt().report(shipping::forceClose(g_sqlTool, order)))
        return;
    clearLower();
    unshipped_->reload();
}

void Dlg_Shipper::repair()
{
    if (!prompt().confirm(
            QStringLiteral("将对数据库中所有因错误原因导致未结讫的最后一站流水进行修复，确定吗？"),
            QStringLiteral("警告")))
        return;
    if (!prompt().report(shipping::repair(g_sqlTool)))
        return;
    prompt().message(QStringLiteral("修复完毕"), kNotice);
    unshipped_->reload();
}

void Dlg_Shipper::printDocket()
{
    const int row = shippedGoods_->GetSelectedRow();
    if (row < 0) {
        prompt().message(QStringLiteral("请选择左侧的一行发货记录进行打印"), kError);
        return;
    }
    const quint64 serial = convert::toId(shippedGoods_->GetItemText(row, QStringLiteral("序列号")));
    if (serial == 0) {
        prompt().message(QStringLiteral("错误的序列号"), kError);
        return;
    }
    Q_EMIT docketRequested(serial);
}

void Dlg_Shipper::openDocket(quint64 serial)
{
    printShipmentDocket(this, serial);
}

void Dlg_Shipper::scanned(const QString& text)
{
    const scan::Scanned s = scan::read(text);
    if (s.kind == ticket::Kind::Order) {
        if (s.order.state != 0 || s.order.active == 0)
            prompt().message(scan::describe(s.order), kError);
        else
            chooseOrder(s.order.order);
    }
    if (s.kind != ticket::Kind::Flow)
        return;
    const scan::FlowPlace& place = s.flow;
    if (!place.atShipping() || place.orderEnded()) {
        prompt().message(scan::describe(place), kError);
        return;
    }
    chooseOrder(place.order);
    // Ready for 确认, or for the shipment once confirmed.
    KvGrid* list = place.confirmed() ? confirmed_ : waiting_;
    for (int r = 0; r < list->GetItemCount(); ++r) {
        if (convert::toId(list->GetItemText(r, QStringLiteral("流水号"))) == place.flow) {
            list->SelectRow(r);
            list->scrollTo(list->model()->index(r, 0));
            lastFlowList_ = list;
        }
    }
}

// As a click on the order's row would, whatever page the list shows.
void Dlg_Shipper::chooseOrder(quint64 order)
{
    if (!radioUnshipped_->isChecked())
        radioUnshipped_->setChecked(true);
    unshipped_->selectKey(QString::number(order));
    if (order != current_)
        block_->clearEntries();
    current_ = order;
    block_->setOrder(order);
    loadOrder();
}

void Dlg_Shipper::reprint()
{
    const int row = lastFlowList_ ? lastFlowList_->GetSelectedRow() : -1;
    if (row < 0) {
        prompt().message(QStringLiteral("请在流水列表中选择一行流水"), kError);
        return;
    }
    tickets::reprintFlow(this, convert::toId(lastFlowList_->GetItemText(row, QStringLiteral("流水号"))));
}
