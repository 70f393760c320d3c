#include "app/Dashboard.h"

#include "app/DashboardQueries.h"
#include "db/Convert.h"
#include "db/FillList.h"
#include "db/Gbk.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "flow/Flow.h"
#include "grid/KvGrid.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Dashboard::Dashboard(mySQLTool& db, QWidget* parent) : QWidget(parent), db_(db)
{
    orders_ = makeList(
        QStringLiteral("货单"), "orderList", this,
        {{"货单号", 60},   {"客户", 70},     {"货物数量", 70}, {"接货时间", 100}, {"洗涤方法", 150},
         {"接货人", 70},   {"货物性质", 70}, {"款号", 50},     {"货物分类", 70},  {"货物性别", 70},
         {"货物等级", 70}, {"货物单价", 70}, {"货物款式", 70}, {"损耗单价", 70},  {"原版数量", 70},
         {"洗版数量", 70}, {"损耗数量", 70}, {"关联", 50},     {"激活", 50},      {"激活时间", 100}});
    flows_ =
        makeList(QStringLiteral("流水"), "flowList", this, {{"流水号", 65}, {"工作站", 70}, {"数量", 55}});
    methods_ =
        makeList(QStringLiteral("洗涤方法统计"), "methodTable", this, {{"洗涤方法", 510}, {"货物数量", 70}});
    technologies_ =
        makeList(QStringLiteral("工艺数量统计"), "technologyTable", this, {{"工艺", 130}, {"数量", 50}});
    const GridColumns stationColumns = {{"工作站", 70}, {"流水", 60}, {"数量", 60}};
    waiting_ = makeList(QStringLiteral("工作站等待处理的流水"), "waitingTable", this, stationColumns);
    finished_ = makeList(QStringLiteral("本日工作站已处理的流水"), "finishedTable", this, stationColumns);
    history_ = new QPlainTextEdit(this);
    history_->setObjectName(QStringLiteral("routeHistory"));
    history_->setReadOnly(true);
    history_->setAccessibleName(QStringLiteral("流水历史记录"));

    orderCaption_ = makeCaption(QString(), orders_, this, "orderCaption");
    methodCaption_ = makeCaption(QString(), methods_, this, "methodCaption");
    technologyCaption_ =
        makeCaption(technologies_->accessibleName(), technologies_, this, "technologyCaption");
    waitingCaption_ = makeCaption(waiting_->accessibleName(), waiting_, this, "waitingCaption");
    finishedCaption_ = makeCaption(finished_->accessibleName(), finished_, this, "finishedCaption");
    auto* historyCaption = makeCaption(QStringLiteral("流水历史记录"), history_, this, "historyCaption");

    refresh_ = makeButton(QStringLiteral("刷新"), "refresh", this);

    // The proportions of the fixed dialog: two bands of equal height; columns 392, 134, 134.
    auto* top = new QHBoxLayout;
    top->addWidget(orderCaption_, 1);
    top->addWidget(refresh_);

    auto* right = new QVBoxLayout;
    right->addWidget(flows_, 1);
    right->addWidget(historyCaption);
    right->addWidget(history_, 1);

    auto* stations = new QVBoxLayout;
    stations->addWidget(waitingCaption_);
    stations->addWidget(waiting_, 1);
    stations->addWidget(finishedCaption_);
    stations->addWidget(finished_, 1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->addLayout(top, 0, 0, 1, 3);
    grid->addWidget(orders_, 1, 0, 1, 2);
    grid->addLayout(right, 1, 2);
    grid->addWidget(methodCaption_, 2, 0);
    grid->addWidget(technologyCaption_, 2, 1);
    grid->addWidget(methods_, 3, 0);
    grid->addWidget(technologies_, 3, 1);
    grid->addLayout(stations, 2, 2, 2, 1);
    grid->setColumnStretch(0, 392);
    grid->setColumnStretch(1, 134);
    grid->setColumnStretch(2, 134);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(3, 1);
    for (KvGrid* g : {technologies_, flows_, waiting_, finished_})
        g->setMinimumWidth(216);

    connect(orders_, &KvGrid::rowClicked, this, [this] { selectOrder(); });
    connect(flows_, &KvGrid::rowClicked, this, [this] { selectFlow(); });
    connect(refresh_, &QPushButton::clicked, this, &Dashboard::Refresh);
}

int Dashboard::FillList(KvGrid& list, const Statement& statement, bool clear)
{
    const FillResult r = list.Fill(db_, statement, clear);
    prompt().report(r);
    return r.code;
}

int Dashboard::FillOrderList(const Rows* read)
{
    const FillResult r = read ? orders_->Fill(*read) : orders_->Fill(db_, dashq::openOrders(db_));
    // A failed fill leaves no totals to name rather than stale ones.
    orderCaption_->setText(
        r.ok() ? QStringLiteral("共有%1单正在运行的货单，显示其中%2单").arg(r.total).arg(r.shown)
               : QString());
    prompt().report(r);
    return r.code;
}

void Dashboard::selectOrder()
{
    const int row = orders_->GetFocusedRow();
    if (row < 0) {
        selectedOrder_ = 0;
        return;
    }
    selectedOrder_ = convert::toId(Gbk::leftBytes(orders_->GetItemText(row, 0), 99));
    if (selectedOrder_ == 0) {
        prompt().message(QStringLiteral("内部数据错误"), QStringLiteral("错误"));
        return;
    }
    // The route shown belonged to a flow of the order chosen before.
    history_->clear();
    FillList(*flows_, dashq::orderFlows(db_, selectedOrder_), true);
}

void Dashboard::selectFlow()
{
    const int row = flows_->GetSelectedRow();
    if (row < 0)
        return;
    history_->clear();
    const quint64 flowId = convert::toId(flows_->GetItemText(row, 0));
    if (flowId == 0)
        return;
    const Rows route = db_.Read(dashq::flowRoute(db_, flowId));
    if (!prompt().report(route))
        return;
    if (!route.first().isNull(0))
        history_->setPlainText(route.first().text(0));
}

int Dashboard::FillMethodTable(const Rows* read)
{
    methodTexts_.clear();
    methods_->DeleteAllItems();
    methodCaption_->clear();
    const Rows methods = read ? *read : db_.Read(dashq::methodPieces(db_));
    if (!methods)
        return -1;
    for (const Row& r : methods) {
        if (r.isNull(0))
            continue;
        methodTexts_.append(r.text(0));
        methods_->AppendItem({r.text(0), QString::number(r.toInt64(1))});
    }
    const qint64 total = methods_->SumColumn(QStringLiteral("货物数量"));
    methodCaption_->setText(
        QStringLiteral("共有%1种洗涤方法包括%2件货物正在车间运行").arg(methods_->GetItemCount()).arg(total));
    return 1;
}

bool Dashboard::collectStations(QStringList& out, const Rows* before)
{
    out.clear();
    const Rows read = before ? *before : db_.Read(dashq::stations(db_));
    for (const Row& r : read)
        if (!r.isNull(0) && r.text(0) != flow::kIntake)
            out.append(r.text(0));
    return read.ok();
}

bool Dashboard::fillStationTable(KvGrid& table, QStringList& stations, const Statement& counts,
                                 const Rows* stationsRead, const Rows* countsRead)
{
    table.DeleteAllItems();
    if (!collectStations(stations, stationsRead))
        return false;
    const Rows read = countsRead ? *countsRead : db_.Read(counts);
    if (!read)
        return false;
    // Stations without flows have no row in the result.
    QHash<QString, QStringList> byStation;
    for (const Row& r : read)
        byStation.insert(r.text(0), {QString::number(r.toInt64(1)), QString::number(r.toInt64(2))});
    for (const QString& station : stations)
        table.AppendItem(QStringList{station} +
                         byStation.value(station, {QStringLiteral("0"), QStringLiteral("0")}));
    return true;
}

int Dashboard::FillWaitingTable(const Rows* stations, const Rows* counts)
{
    if (!fillStationTable(*waiting_, waitingStations_, counts ? Statement() : dashq::waiting(db_), stations,
                          counts))
        return -1;
    waitingCaption_->setText(QStringLiteral("工作站等待处理的流水"));
    return 1;
}

int Dashboard::FillFinishedTable(const Rows* stations, const Rows* counts)
{
    if (!fillStationTable(*finished_, finishedStations_,
                          counts ? Statement() : dashq::finished(db_, GetTimeText(1)), stations, counts))
        return -1;
    finishedCaption_->setText(QStringLiteral("本日工作站已处理的流水"));
    return 1;
}

int Dashboard::FillTechnologyTable(const Rows* read)
{
    technologyNames_.clear();
    technologies_->DeleteAllItems();
    const Rows technologies = read ? *read : db_.Read(dashq::technologyPieces(db_));
    if (!technologies)
        return -1;
    for (const Row& r : technologies) {
        if (r.isNull(0))
            continue;
        technologyNames_.append(r.text(0));
        technologies_->AppendItem({r.text(0), QString::number(r.toInt64(1))});
    }
    technologyCaption_->setText(QStringLiteral("工艺数量统计"));
    return 1;
}

void Dashboard::Refresh()
{
    const Batch read = db_.ReadAll({dashq::openOrders(db_), dashq::methodPieces(db_), dashq::stations(db_),
                                    dashq::waiting(db_), dashq::finished(db_, GetTimeText(1)),
                                    dashq::technologyPieces(db_)});
    const Rows orders = read.rows(0), methods = read.rows(1), stations = read.rows(2), waiting = read.rows(3),
               finished = read.rows(4), technologies = read.rows(5);
    FillOrderList(&orders);
    FillMethodTable(&methods);
    FillWaitingTable(&stations, &waiting);
    FillFinishedTable(&stations, &finished);
    FillTechnologyTable(&technologies);
}
