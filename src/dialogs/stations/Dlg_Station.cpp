#include "dialogs/stations/Dlg_Station.h"

#include "auth/Passwords.h"
#include "db/Convert.h"
#include "db/KvMessage.h"
#include "db/ListModel.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/stations/StationQueries.h"
#include "dialogs/stations/WorkPanel.h"
#include "dialogs/tickets/Scanned.h"
#include "dialogs/tickets/TicketPrint.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Dlg_Limits.h"
#include "ui/Prompt.h"
#include "ui/Rights.h"
#include "ui/ScanBox.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>
#include <utility>

namespace {

const QString kHint = QStringLiteral("提示");
const QString kError = QStringLiteral("错误");
const QString kLeaveTask = QStringLiteral("有正在进行中的任务，确认离开吗？");
const QString kChooseRow = QStringLiteral("请选择要移动顺序的记录行");

// A failed read, or a flow or order that is not there.
void showError(const Rows& read)
{
    prompt().message(read ? QStringLiteral("找不到该流水的记录") : read.error(), QStringLiteral("Error"));
}

}  // namespace

Dlg_Station::Dlg_Station(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Station"));
    setWindowTitle(QStringLiteral("工作站"));

    stationCombo_ = makeCombo(QStringLiteral("选择工作站"), "stationCombo", this);
    stationCombo_->setMinimumContentsLength(6);
    auto* query = makeButton(QStringLiteral("生产查询"), "queryButton", this);
    query->setEnabled(false);  // no action behind it
    move_ = makeButton(QStringLiteral("移动序列"), "moveButton", this);
    up_ = makeButton(QStringLiteral("上移"), "upButton", this);
    down_ = makeButton(QStringLiteral("下移"), "downButton", this);
    top_ = makeButton(QStringLiteral("上移至顶部"), "topButton", this);
    save_ = makeButton(QStringLiteral("保存"), "saveButton", this);
    scan_ = new ScanBox(this);
    auto* reprint = makeButton(QStringLiteral("重印流水卡"), "reprintButton", this);

    // 1. The lists.
    waiting_ = makeList(QStringLiteral("等待完成的工作"), "waitingList", this,
                        {{"流水号", 60},
                         {"货单号", 60},
                         {"客户名称", 130},
                         {"货物等级", 70},
                         {"上一站", 70},
                         {"数量", 60},
                         {"生成时间", 140}});
    done_ = makeList(QStringLiteral("已完成的工作"), "doneList", this,
                     {{"流水号", 60},
                      {"货单号", 60},
                      {"客户名称", 130},
                      {"数量", 60},
                      {"工序", 70},
                      {"派生", 40},
                      {"结讫时间", 140}});
    // Wide enough for a customer's name and a full time.
    for (KvGrid* g : {waiting_, done_})
        g->setMinimumWidth(600);

    // 3. The details, read-only.
    client_ = makeEdit(QStringLiteral("客户"), "clientEdit", this);
    method_ = makeEdit(QStringLiteral("洗涤方法"), "methodEdit", this);
    nature_ = makeEdit(QStringLiteral("属性"), "natureEdit", this);
    type_ = makeEdit(QStringLiteral("类型"), "typeEdit", this);
    style_ = makeEdit(QStringLiteral("款式"), "styleEdit", this);
    sex_ = makeEdit(QStringLiteral("性别"), "sexEdit", this);
    priority_ = makeEdit(QStringLiteral("优先等级"), "priorityEdit", this);
    from_ = makeEdit(QStringLiteral("来自"), "fromEdit", this);
    quantity_ = makeEdit(QStringLiteral("数量"), "quantityEdit", this);
    history_ = new QPlainTextEdit(this);
    history_->setObjectName(QStringLiteral("historyEdit"));
    history_->setReadOnly(true);
    history_->setMaximumHeight(64);
    panel_ = new WorkPanel(this);

    auto* head = new QHBoxLayout;
    head->addWidget(makeCaption(QStringLiteral("选择工作站"), stationCombo_, this));
    head->addWidget(stationCombo_);
    head->addWidget(scan_);
    head->addWidget(reprint);
    head->addStretch();
    for (QPushButton* b : {query, move_, up_, down_, top_, save_})
        head->addWidget(b);

    auto* lists = new QVBoxLayout;
    lists->addWidget(makeCaption(QStringLiteral("等待完成的工作"), waiting_, this));
    lists->addWidget(waiting_, 3);
    lists->addWidget(makeCaption(QStringLiteral("已完成的工作"), done_, this));
    lists->addWidget(done_, 2);

    auto* details = new QGroupBox(QStringLiteral("工作详情"), this);
    auto* grid = new QGridLayout(details);
    int i = 0;
    for (QLineEdit* edit : {client_, method_, nature_, type_, style_, sex_, priority_, from_, quantity_}) {
        edit->setReadOnly(true);
        grid->addWidget(makeCaption(edit->accessibleName(), edit, details), i / 3, (i % 3) * 2);
        grid->addWidget(edit, i / 3, (i % 3) * 2 + 1);
        ++i;
    }
    grid->addWidget(makeCaption(QStringLiteral("流程历史"), history_, details), 3, 0);
    grid->addWidget(history_, 3, 1, 1, 5);

    auto* work = new QGroupBox(QStringLiteral("处理工作"), this);
    auto* workLayout = new QVBoxLayout(work);
    workLayout->addWidget(panel_);

    auto* right = new QVBoxLayout;
    right->addWidget(details);
    right->addWidget(work, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(lists, 1);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(body, 1);
    resize(1240, 760);

    // 2. The stations, without intake and shipping.
    FillCombo(g_sqlTool, *stationCombo_, stationq::stations(g_sqlTool));

    // 4. The prompt, hidden until "移动序列".
    limits_ = new Dlg_Limits(this);

    // 5. Nothing to act on yet.
    panel_->setProcessAllowed(false);
    setOrdering(false);

    // The user's choice only; selecting a station in code runs nothing.
    connect(stationCombo_, &QComboBox::activated, this, &Dlg_Station::stationChanged);
    connect(waiting_, &KvGrid::rowClicked, this, &Dlg_Station::rowClicked);
    connect(move_, &QPushButton::clicked, this, &Dlg_Station::moveSequence);
    connect(up_, &QPushButton::clicked, this, &Dlg_Station::moveUp);
    connect(down_, &QPushButton::clicked, this, &Dlg_Station::moveDown);
    connect(top_, &QPushButton::clicked, this, &Dlg_Station::moveTop);
    connect(save_, &QPushButton::clicked, this, &Dlg_Station::saveSequence);
    connect(panel_, &WorkPanel::handedOver, this, &Dlg_Station::handedOver);
    connect(panel_, &WorkPanel::notHandedOver, this, &Dlg_Station::notHandedOver);
    connect(scan_, &ScanBox::scanned, this, &Dlg_Station::scanned);
    connect(reprint, &QPushButton::clicked, this, &Dlg_Station::reprint);

    // 6. The refresh.
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("refreshTimer"));
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &Dlg_Station::refreshTick);
    timer_->start();

    // 7. The station the menu asked for.
    if (!g_station.isEmpty()) {
        SelectComboText(*stationCombo_, g_station);
        stationChanged();
        g_station.clear();
    }
    scan_->takeFocus();
}

bool Dlg_Station::taskInProgress() const
{
    return panel_->taskInProgress();
}

bool Dlg_Station::confirmLeave()
{
    // Both questions first: a cancelled second one leaves the task as it was.
    if (panel_->taskInProgress() && !prompt().confirm(kLeaveTask, kHint))
        return false;
    if (sequenceSet_ &&
        !prompt().confirm(
            QStringLiteral("%1工作站设定了工作序列，如果离开，顺序将会恢复原状，确认离开吗？").arg(station_),
            kHint))
        return false;
    panel_->endTask();
    sequenceSet_ = false;
    return true;
}

void Dlg_Station::stationChanged()
{
    // The station already open, chosen again, changes nothing.
    if (stationOpen_ && stationCombo_->currentText() == station_)
        return;
    if (!confirmLeave()) {
        // Staying: the drop-down shows the station the screen still works on.
        SelectComboText(*stationCombo_, station_);
        return;
    }
    saved_.fill(0);
    panel_->setProcessAllowed(false);
    setOrdering(false);

    station_ = stationCombo_->currentText();
    panel_->setStation(station_);
    if (station_.isEmpty()) {
        waiting_->DeleteAllItems();
        done_->DeleteAllItems();
        setCurrent(0, 0);
        return;
    }
    stationOpen_ = true;
    panel_->setProcessAllowed(rights::mayProcess(g_identity, station_));
    rebuildQueue(true);
    currentFromFirstRow();
}

// Appends the rows of one class that are not listed yet, up to the cap.
bool Dlg_Station::appendRows(const Rows& read)
{
    ListModel rows;
    for (int c = 0; c < waiting_->GetColumnCount(); ++c)
        rows.addColumn(waiting_->rows().column(c).caption, 0);
    if (!prompt().report(FillList(rows, read, true)))
        return false;
    QVector<QStringList> fresh;
    for (int r = 0; r < rows.rows() && waiting_->GetItemCount() + fresh.size() < kListCap; ++r) {
        const QString flow = rows.cell(r, 0);
        if (listed_.contains(flow))
            continue;
        listed_.insert(flow);
        fresh.append(rows.rowCells(r));
    }
    waiting_->rows().appendRows(fresh);
    return true;
}

void Dlg_Station::rebuildQueue(bool withDone)
{
    waiting_->DeleteAllItems();
    listed_.clear();
    if (station_.isEmpty())
        return;

    QList<Statement> reads;
    for (const quint64 slot : saved_)
        if (slot != 0)
            reads << stationq::flowState(g_sqlTool, slot) << stationq::queueFlow(g_sqlTool, slot);
    for (const stationq::QueueClass c : stationq::kQueueClasses)
        reads << stationq::queue(g_sqlTool, station_, c);
    if (withDone)
        reads << stationq::done(g_sqlTool, station_);
    const Batch read = g_sqlTool.ReadAll(reads);
    if (!read) {
        prompt().report(read.rows(read.failedAt()));
        return;
    }

    // The hand-fixed places first, while their flows are open.
    int at = 0;
    for (quint64& slot : saved_) {
        if (slot == 0)
            continue;
        const Rows state = read.rows(at);
        const Rows flow = read.rows(at + 1);
        at += 2;
        if (state.empty() || state.first().toInt(0) != 0) {
            slot = 0;
            continue;
        }
        if (!appendRows(flow))
            return;
    }

    // Then the classes, newest sent-back first, the others oldest first.
    for (int c = 0; c < int(std::size(stationq::kQueueClasses)); ++c, ++at)
        if (waiting_->GetItemCount() < kListCap && !appendRows(read.rows(at)))
            return;
    if (withDone)
        prompt().report(done_->Fill(read.rows(at)));
}

void Dlg_Station::setCurrent(quint64 flow, quint64 order)
{
    flow_ = flow;
    order_ = order;
    panel_->setCurrent(flow, order);
    loadDetails();
}

void Dlg_Station::currentFromFirstRow()
{
    if (waiting_->GetItemCount() == 0) {
        setCurrent(0, 0);
        return;
    }
    setCurrent(convert::toId(waiting_->GetItemText(0, 0)), convert::toId(waiting_->GetItemText(0, 1)));
}

void Dlg_Station::clearDetails()
{
    for (QLineEdit* e : {client_, method_, nature_, type_, style_, sex_, priority_, from_, quantity_})
        e->clear();
    history_->clear();
}

void Dlg_Station::loadDetails()
{
    // Cleared first, so that nothing of the previous flow is left beside this one.
    clearDetails();
    if (flow_ == 0) {
        panel_->clearRates();
        return;
    }
    // With the order the list shows, both in one exchange.
    const Batch read =
        g_sqlTool.ReadAll(order_ != 0 ? QList<Statement>{stationq::flowDetails(g_sqlTool, flow_),
                                                         stationq::orderDetails(g_sqlTool, order_)}
                                      : QList<Statement>{stationq::flowDetails(g_sqlTool, flow_)});
    const Rows flow = read.rows(0);
    if (!flow || flow.empty()) {
        showError(flow);
        return;
    }
    using F = stationq::FlowDetails;
    from_->setText(flow.first().text(F::Previous));
    quantity_->setText(flow.first().text(F::Quantity));
    history_->setPlainText(flow.first().text(F::History));

    const quint64 owner = flow.first().toId(F::Order);
    const Rows order =
        owner == order_ ? read.rows(1) : g_sqlTool.Read(stationq::orderDetails(g_sqlTool, owner));
    if (!order || order.empty()) {
        showError(order);
        return;
    }
    using O = stationq::OrderDetails;
    const std::pair<O::Column, QLineEdit*> targets[] = {
        {O::ClientName, client_}, {O::Method, method_}, {O::Nature, nature_},    {O::Type, type_},
        {O::Kind, style_},        {O::Sex, sex_},       {O::Priority, priority_}};
    for (const auto& [column, edit] : targets)
        if (!order.first().isNull(column))
            edit->setText(order.first().text(column));
}

void Dlg_Station::rowClicked(int row)
{
    if (!stationOpen_ || row < 0 || row >= waiting_->GetItemCount())
        return;
    const quint64 flow = convert::toId(waiting_->GetItemText(row, 0));
    const bool task = panel_->taskInProgress();
    if (task && flow == flow_)
        return;
    const Rows order = g_sqlTool.Read(stationq::orderOfFlow(g_sqlTool, flow));
    if (!prompt().report(order))
        return;
    // A task belongs to the flow it was accepted for: another flow means leaving it.
    if (task) {
        if (!prompt().confirm(kLeaveTask, kHint)) {
            selectCurrentRow();
            return;
        }
        panel_->endTask();
    }
    setCurrent(flow, order.first().toId(0));
}

void Dlg_Station::selectCurrentRow()
{
    for (int r = 0; r < waiting_->GetItemCount(); ++r) {
        if (convert::toId(waiting_->GetItemText(r, 0)) == flow_) {
            waiting_->SelectRow(r);
            return;
        }
    }
    waiting_->SelectRow(-1);
}

void Dlg_Station::refreshTick()
{
    // Not behind another window, and not while rows are being put in order by hand.
    if (!isActiveWindow() || ordering_)
        return;
    rebuildQueue();
    // An idle desk never keeps a flow that is no longer waiting here as its current one.
    if (!panel_->taskInProgress() && !listed_.contains(QString::number(flow_)))
        currentFromFirstRow();
}

void Dlg_Station::setOrdering(bool on)
{
    ordering_ = on;
    for (QPushButton* b : {up_, down_, top_, save_})
        b->setEnabled(on);
    move_->setEnabled(!on);
}

void Dlg_Station::moveSequence()
{
    if (stationOpen_)
        limits_->ask();
}

void Dlg_Station::passwordTyped()
{
    const Rows read = g_sqlTool.Read(adminq::setting(g_sqlTool, adminq::kPrivilegedPassword));
    if (!read || read.empty()) {
        prompt().message(read ? QStringLiteral("没有设定特权密码") : read.error(), QStringLiteral("Error"));
        return;
    }
    if (read.first().isNull(0))
        return;
    limits_->hide();
    if (!passwords::matches(read.first().text(0), g_limitPassword)) {
        prompt().message(QStringLiteral("错误的密码"), QStringLiteral("错误"));
        limits_->ask();
        return;
    }
    prompt().message(
        QStringLiteral("请选择需要变更顺序的工作队列，最多前%1条工作的顺序将被保存").arg(kSequenceSlots),
        kHint);
    setOrdering(true);
}

void Dlg_Station::moveUp()
{
    const int row = waiting_->GetSelectedRow();
    if (row < 0) {
        prompt().message(kChooseRow, kHint);
        return;
    }
    if (row == 0)
        return;
    waiting_->SwapRows(row, row - 1);
    waiting_->SelectRow(row - 1);
}

void Dlg_Station::moveDown()
{
    const int row = waiting_->GetSelectedRow();
    if (row < 0) {
        prompt().message(kChooseRow, kHint);
        return;
    }
    if (waiting_->GetItemCount() < 2 || row == waiting_->GetItemCount() - 1)
        return;
    waiting_->SwapRows(row, row + 1);
    waiting_->SelectRow(row + 1);
}

void Dlg_Station::moveTop()
{
    const int row = waiting_->GetSelectedRow();
    if (row < 0) {
        prompt().message(kChooseRow, kHint);
        return;
    }
    if (row == 0)
        return;
    const QStringList cells = waiting_->rows().rowCells(row);
    waiting_->InsertItem(0, cells);
    waiting_->DeleteItem(row + 1);
    waiting_->SelectRow(0);
}

void Dlg_Station::saveSequence()
{
    const int n = std::min(waiting_->GetItemCount(), kSequenceSlots);
    saved_.fill(0);
    for (int i = 0; i < n; ++i)
        saved_[i] = convert::toId(waiting_->GetItemText(i, 0));
    setOrdering(false);
    rebuildQueue();
    // A task in progress stays on its flow.
    if (!panel_->taskInProgress())
        currentFromFirstRow();
    sequenceSet_ = true;
    timer_->start();
}

void Dlg_Station::handedOver()
{
    rebuildQueue(true);
    currentFromFirstRow();
}

void Dlg_Station::notHandedOver(bool taken)
{
    // Taken by another desk: the task has ended and the screen moves on as after a
    // hand-over. Otherwise the task stays on its flow.
    if (taken) {
        handedOver();
        return;
    }
    rebuildQueue();
}

void Dlg_Station::scanned(const QString& text)
{
    const scan::Scanned s = scan::read(text);
    if (s.kind == ticket::Kind::Order)
        prompt().message(scan::kOrderTicket.arg(s.order.order), kError);
    if (s.kind != ticket::Kind::Flow)
        return;
    const scan::FlowPlace& place = s.flow;
    if (!stationOpen_ || !place.open() || place.orderEnded() || place.station != station_) {
        prompt().message(scan::describe(place), kError);
        return;
    }
    chooseFlow(place.flow, place.order);
}

int Dlg_Station::rowOfFlow(quint64 flow) const
{
    const QString key = QString::number(flow);
    for (int r = 0; r < waiting_->GetItemCount(); ++r)
        if (waiting_->GetItemText(r, 0) == key)
            return r;
    return -1;
}

// As a click on its row and on "处理工作" would: a task on another flow is left only when the
// user says so.
void Dlg_Station::chooseFlow(quint64 flow, quint64 order)
{
    if (panel_->taskInProgress()) {
        if (flow == flow_) {
            prompt().message(QStringLiteral("流水%1正在处理中").arg(flow), kHint);
            return;
        }
        if (!prompt().confirm(kLeaveTask, kHint))
            return;
        panel_->endTask();
    }
    int row = rowOfFlow(flow);
    if (row < 0) {
        // Beyond the rows the queue shows: listed at its end for this choice.
        const Rows read = g_sqlTool.Read(stationq::queueFlow(g_sqlTool, flow));
        if (!prompt().report(read))
            return;
        if (read.empty()) {
            showError(read);
            return;
        }
        QStringList cells;
        for (int c = 0; c < waiting_->GetColumnCount(); ++c)
            cells.append(read.first().text(c));
        row = waiting_->AppendItem(cells);
        listed_.insert(QString::number(flow));
    }
    waiting_->SelectRow(row);
    waiting_->scrollTo(waiting_->model()->index(row, 0));
    setCurrent(flow, order);
    panel_->acceptIfAllowed();
}

void Dlg_Station::reprint()
{
    if (flow_ == 0) {
        prompt().message(QStringLiteral("请选择一行流水"), kError);
        return;
    }
    tickets::reprintFlow(this, flow_);
}

void Dlg_Station::reject()
{
    if (confirmLeave())
        QDialog::reject();
}

bool Dlg_Station::event(QEvent* e)
{
    if (e->type() == KvMessage::kType) {
        if (static_cast<KvMessage*>(e)->code() == Dlg_Limits::kPasswordTyped)
            passwordTyped();
        return true;
    }
    return QDialog::event(e);
}

void Dlg_Station::keyPressEvent(QKeyEvent* e)
{
    // Enter never closes the screen.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
