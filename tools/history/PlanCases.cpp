#include "PlanCases.h"

#include "app/DashboardQueries.h"
#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/board/BoardQueries.h"
#include "dialogs/board/ops/BoardFigures.h"
#include "dialogs/finance/FinanceQueries.h"
#include "dialogs/finance/ops/WorkDays.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "dialogs/intake/IntakeQueries.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/quality/QualityQueries.h"
#include "dialogs/shipping/ShipmentQueries.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "dialogs/shipping/StatementQueries.h"
#include "dialogs/stations/StationQueries.h"
#include "dialogs/tickets/TicketQueries.h"
#include "flow/FlowQueries.h"

namespace plans {

namespace {

// The board's waiting goods as of the end of the data, banded as the board bands them.
Statement boardWaiting(mySQLTool& db, const Values& v)
{
    const QDateTime now = QDateTime::fromString(v.now, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const auto text = [&](qint64 back) {
        return now.addSecs(-back).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    };
    return boardq::waiting(db, v.now, text(board::kRecentSeconds), text(board::kDaySeconds));
}

// The piece-work inquiry as the desk builds it.
financeq::WorkFilter inquiry(financeq::WorkFilter::By by, quint64 id, bool settled)
{
    financeq::WorkFilter f;
    f.by = by;
    f.id = id;
    f.process = QStringLiteral("石磨工序");
    f.includeSettled = settled;
    return f;
}

// A filter of the inquiry drawn from the values; its page and its count with the totals.
// As the desk does: the day totals made first, the count read before the page.
using WorkOf = financeq::WorkFilter (*)(const Values&);
Statement deskStatement(mySQLTool& db, const financeq::WorkFilter& f, bool sums)
{
    finance::WorkDays days;
    if (const Outcome made = finance::prepareDays(db, f, &days); !made)
        return Statement::invalid(made.text());
    const Statement summary = financeq::workSummary(db, f, days.summed);
    if (sums)
        return summary;
    const bool walk = financeq::taskOrder(f, db.Read(summary).first().toId(0), days.lastTask, kListCap);
    return financeq::workPage(db, f, 0, kListCap, walk);
}
Case inquiryPage(const char* name, WorkOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return deskStatement(db, f(v), false); }};
}
Case inquirySums(const char* name, WorkOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return deskStatement(db, f(v), true); }};
}
// The supplement's order search with a filter drawn from the values: its page and its count.
using OrdersOf = financeq::OrderFilter (*)(const Values&);
Case orderSearch(const char* name, OrdersOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return financeq::orders(db, f(v), 0, kListCap); }};
}
Case orderCount(const char* name, OrdersOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return financeq::countOrders(db, f(v)); }};
}
financeq::OrderFilter clientsOrders(const Values& v)
{
    financeq::OrderFilter f;
    f.client = v.client;
    return f;
}
financeq::OrderFilter lastMonthsOrders(const Values& v)
{
    financeq::OrderFilter f;
    f.received = {v.lastmonth, v.month};
    return f;
}
financeq::OrderFilter oldOrder(const Values& v)
{
    financeq::OrderFilter f;
    f.order = v.orderOld;
    return f;
}

template <bool settled>
financeq::WorkFilter month(const Values& v)
{
    financeq::WorkFilter f = inquiry(financeq::WorkFilter::By::None, 0, settled);
    f.done = {settled ? v.lastmonth : v.month, settled ? v.month : v.tomorrow};
    return f;
}
template <bool settled>
financeq::WorkFilter recorder(const Values&)
{
    financeq::WorkFilter f = inquiry(financeq::WorkFilter::By::None, 0, settled);
    f.recorder = QStringLiteral("洗水班长");
    return f;
}

// The tool's own look at the data, not a statement of the screens.
template <typename... A>
Row first(mySQLTool& db, const char* format, const A&... args)
{
    return db.Read(db.Format(format, args...)).first();
}

// The loss registry as it opens, and the records from last month on to the end of today,
// handled ones too.
qualityq::Filter qualityMonth(const Values& v)
{
    return {{v.lastmonth, v.tomorrow}, true};
}

QString midnight(const QString& date)
{
    return date + QStringLiteral(" 00:00:00");
}

// The shipment inquiry for the busiest customer's last month, and for one order.
shipmentq::Filter clientMonth(const Values& v)
{
    shipmentq::Filter f;
    f.client = v.client;
    f.sent = {midnight(v.lastmonth), midnight(v.month)};
    return f;
}
shipmentq::Filter oneOrder(const Values& v)
{
    shipmentq::Filter f;
    f.order = v.orderOld;
    return f;
}

// The raw-material inquiry on the issues: the first page of its rows and its sums, as the
// screen sends them.
Statement issuesPage(mySQLTool& db, const materialq::Filter& f)
{
    return limited(db, materialq::issueRows(db, f), 0, kListCap);
}
QString busiestMaterial(mySQLTool& db)
{
    return first(db, "select 名称 from kvc_record_raw_out group by 名称 order by count(*) desc limit 1")
        .text(0);
}
quint64 busiestIssuer(mySQLTool& db)
{
    return first(db, "select 工号 from kvc_record_raw_out group by 工号 order by count(*) desc limit 1")
        .toId(0);
}
materialq::Filter issuesOf(std::optional<QString> material, std::optional<quint64> client,
                           std::optional<quint64> member)
{
    materialq::Filter f;
    f.material = material;
    f.client = client;
    f.member = member;
    return f;
}
materialq::Filter lastMonthsIssues(const Values& v)
{
    materialq::Filter f;
    f.time = {midnight(v.lastmonth), midnight(v.month)};
    return f;
}

// The order inquiry with conditions drawn from the values: its count with the totals, and its
// first page read as the screen reads it, after that count.
using InquiryOf = inquiryproq::Filter (*)(const Values&);
Case orderTotals(const char* name, InquiryOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return inquiryproq::ordersTotals(db, f(v)); }};
}
Case orderPage(const char* name, InquiryOf f)
{
    return {QString::fromLatin1(name), [f](mySQLTool& db, const Values& v) {
                const inquiryproq::Filter filter = f(v);
                const Rows totals = db.Read(inquiryproq::ordersTotals(db, filter));
                if (totals.empty())
                    return Statement::invalid(db.GetError());
                return inquiryproq::orders(db, filter, 0, kListCap,
                                           inquiryproq::numberOrder(totals.first(), kListCap));
            }};
}
inquiryproq::Filter everyOrder(const Values&)
{
    inquiryproq::Filter f;
    f.includeClosed = true;
    return f;
}
inquiryproq::Filter customersOrders(const Values& v)
{
    inquiryproq::Filter f = everyOrder(v);
    f.customer = v.client;
    return f;
}
// Orders received from day `from` to the end of today, closed ones included.
inquiryproq::Filter receivedSince(const QString& from, const Values& v)
{
    inquiryproq::Filter f = everyOrder(v);
    f.received = {midnight(from), midnight(v.tomorrow)};
    return f;
}
inquiryproq::Filter customersMonth(const Values& v)
{
    inquiryproq::Filter f = receivedSince(v.month, v);
    f.customer = v.client;
    return f;
}

// Production management's order grid after the simple inquiry.
Case manageOrders(const char* name, adminq::OrderFilter (*f)(const Values&))
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return adminq::inquiredOrders(db, f(v), kListCap + 1); }};
}
adminq::OrderFilter clientsActivated(const Values& v)
{
    adminq::OrderFilter f;
    f.client = v.client;
    f.withClosed = true;
    return f;
}

}  // namespace

Values draw(mySQLTool& db)
{
    Values v;
    v.now = first(db, "select max(生成时间) from kvc_record_procedure").text(0);
    v.today = v.now.left(10);
    v.month = v.today.left(7) + QStringLiteral("-01");
    const Row dates = first(db,
                            "select date_format('%s' - interval 1 month, '%%Y-%%m-%%d'), "
                            "date_format('%s' + interval 1 day, '%%Y-%%m-%%d'), "
                            "date_format('%s' - interval 1 year, '%%Y-%%m-%%d')",
                            v.month, v.today, v.month);
    v.lastmonth = dates.text(0);
    v.yesterday = first(db, "select date_format('%s' - interval 1 day, '%%Y-%%m-%%d')", v.today).text(0);
    v.tomorrow = dates.text(1);
    v.yearago = dates.text(2);
    v.orderShipping =
        first(db,
              "select max(货单号) from kvc_record_procedure where 工作站='发送' and 上一站<>'发送' "
              "and 结讫=0")
            .toId(0);
    v.orderOpen =
        first(db, "select max(货单号) from kvc_record_procedure where 工作站='%s' and 结讫=0", v.station)
            .toId(0);
    v.orderOld = first(db, "select (min(货单号) + max(货单号)) div 2 from kvc_record_product").toId(0);
    v.flow = first(db, "select max(流水号) from kvc_record_procedure where 工作站='%s' and 结讫=0", v.station)
                 .toId(0);
    v.flowOld =
        first(db,
              "select min(流水号) from kvc_record_procedure where 货单号=%I64u and 结讫=1 and 工作站='%s'",
              v.orderOld, v.station)
            .toId(0);
    v.member =
        first(db, "select min(工号) from kvc_record_member where 班组='%s' and 激活=1", v.team).toId(0);
    v.client =
        first(db, "select 客户号 from kvc_record_product group by 客户号 order by count(*) desc limit 1")
            .toId(0);
    v.quietClient =
        first(db, "select 客户号 from kvc_record_product group by 客户号 order by count(*), 客户号 limit 1")
            .toId(0);
    return v;
}

const std::vector<Case>& cases()
{
    using stationq::QueueClass;
    using By = financeq::WorkFilter::By;
    using V = const Values&;
    static const std::vector<Case> all = {
        {"dashboard.orders", [](mySQLTool& db, V) { return dashq::openOrders(db); }},
        {"dashboard.order-flows", [](mySQLTool& db, V v) { return dashq::orderFlows(db, v.orderOpen); }},
        {"dashboard.methods", [](mySQLTool& db, V) { return dashq::methodPieces(db); }},
        {"dashboard.stations", [](mySQLTool& db, V) { return dashq::stations(db); }},
        {"dashboard.waiting", [](mySQLTool& db, V) { return dashq::waiting(db); }},
        {"dashboard.finished-today", [](mySQLTool& db, V v) { return dashq::finished(db, v.today); }},
        {"dashboard.technologies", [](mySQLTool& db, V) { return dashq::technologyPieces(db); }},

        {"board.stations", [](mySQLTool& db, V) { return boardq::stations(db); }},
        {"board.waiting", boardWaiting},
        {"board.finished-today", [](mySQLTool& db, V v) { return boardq::finished(db, v.today); }},
        {"board.teams",
         [](mySQLTool& db, V v) { return boardq::teams(db, v.yesterday + QStringLiteral(" 00:00:00")); }},
        {"board.rush-orders", [](mySQLTool& db, V) { return boardq::rushOrders(db, board::kRushShown); }},
        {"board.shipping-waiting",
         [](mySQLTool& db, V) { return boardq::shippingWaiting(db, board::kShippingShown); }},

        {"intake.activated", [](mySQLTool& db, V) { return intakeq::orders(db, true); }},
        {"intake.waiting-orders", [](mySQLTool& db, V) { return intakeq::orders(db, false); }},
        {"intake.waiting-flows", [](mySQLTool& db, V) { return intakeq::waitingFlows(db); }},

        {"station.sent-back",
         [](mySQLTool& db, V v) { return stationq::queue(db, v.station, QueueClass::SentBack); }},
        {"station.derived",
         [](mySQLTool& db, V v) { return stationq::queue(db, v.station, QueueClass::Derived); }},
        {"station.urgent",
         [](mySQLTool& db, V v) { return stationq::queue(db, v.station, QueueClass::Urgent); }},
        {"station.hurried",
         [](mySQLTool& db, V v) { return stationq::queue(db, v.station, QueueClass::Hurried); }},
        {"station.normal",
         [](mySQLTool& db, V v) { return stationq::queue(db, v.station, QueueClass::Normal); }},
        {"station.saved-state", [](mySQLTool& db, V v) { return stationq::flowState(db, v.flow); }},
        {"station.done", [](mySQLTool& db, V v) { return stationq::done(db, v.station); }},
        {"station.flow", [](mySQLTool& db, V v) { return stationq::flowDetails(db, v.flow); }},
        {"station.details", [](mySQLTool& db, V v) { return stationq::orderDetails(db, v.orderOpen); }},
        {"station.team", [](mySQLTool& db, V v) { return stationq::teamMembers(db, v.team); }},

        {"ticket.flow", [](mySQLTool& db, V v) { return ticketq::flowTicket(db, v.flow); }},
        {"ticket.order", [](mySQLTool& db, V v) { return ticketq::orderTicket(db, v.orderOpen); }},
        {"ticket.place", [](mySQLTool& db, V v) { return ticketq::flowPlace(db, v.flowOld); }},
        {"ticket.successors",
         [](mySQLTool& db, V v) { return ticketq::successors(db, v.orderOld, v.flowOld); }},
        {"ticket.order-state", [](mySQLTool& db, V v) { return ticketq::orderState(db, v.orderOld); }},

        {"shipping.unshipped", [](mySQLTool& db, V) { return shipperq::unshippedOrders(db, 0, kListCap); }},
        {"shipping.unshipped-count", [](mySQLTool& db, V) { return shipperq::countUnshippedOrders(db); }},
        {"shipping.shipped", [](mySQLTool& db, V) { return shipperq::shippedOrders(db, 0, kListCap); }},
        {"shipping.shipped-page200",
         [](mySQLTool& db, V) { return shipperq::shippedOrders(db, 199 * quint64(kListCap), kListCap); }},
        {"shipping.shipped-count", [](mySQLTool& db, V) { return shipperq::countShippedOrders(db); }},
        {"shipping.pending", [](mySQLTool& db, V v) { return shipperq::pendingFlows(db, v.orderShipping); }},
        {"shipping.waiting", [](mySQLTool& db, V v) { return shipperq::waitingFlows(db, v.orderShipping); }},
        {"shipping.confirmed",
         [](mySQLTool& db, V v) { return shipperq::confirmedFlows(db, v.orderShipping); }},
        {"shipping.shipments", [](mySQLTool& db, V v) { return shipperq::shipments(db, v.orderShipping); }},
        {"shipping.quantities",
         [](mySQLTool& db, V v) { return shipperq::orderQuantities(db, v.orderShipping); }},
        {"shipping.closing-test",
         [](mySQLTool& db, V v) { return flowq::flowsInWorkshop(db, v.orderShipping); }},
        {"shipping.close-confirmed",
         [](mySQLTool& db, V v) { return flowq::closeConfirmedFlows(db, v.orderShipping); }, true},
        {"shipping.repair", [](mySQLTool& db, V) { return flowq::repairConfirmedFlows(db); }, true},

        {"quality.open", [](mySQLTool& db, V) { return qualityq::records(db, {}, kListCap); }},
        {"quality.open-count", [](mySQLTool& db, V) { return qualityq::countRecords(db, {}); }},
        {"quality.month",
         [](mySQLTool& db, V v) { return qualityq::records(db, qualityMonth(v), kListCap); }},
        {"quality.month-count",
         [](mySQLTool& db, V v) { return qualityq::countRecords(db, qualityMonth(v)); }},
        // The shipment inquiry: a customer's last month, one order, the first page of everything
        // and its totals (kept by the writes: HistoryPlanTest holds that plan).
        {"shipment.client-month",
         [](mySQLTool& db, V v) { return shipmentq::shipments(db, clientMonth(v), 0, kListCap); }},
        {"shipment.client-month-totals",
         [](mySQLTool& db, V v) { return shipmentq::totals(db, clientMonth(v)); }},
        {"shipment.order",
         [](mySQLTool& db, V v) { return shipmentq::shipments(db, oneOrder(v), 0, kListCap); }},
        {"shipment.order-totals", [](mySQLTool& db, V v) { return shipmentq::totals(db, oneOrder(v)); }},
        {"shipment.all", [](mySQLTool& db, V) { return shipmentq::shipments(db, {}, 0, kListCap); }},
        {"shipment.all-totals", [](mySQLTool& db, V) { return shipmentq::totals(db, {}); }},
        // The statistics: last month's customers, the busiest customer's settlement and statement.
        {"statistics.customers",
         [](mySQLTool& db, V v) {
             return statementq::customers(db, midnight(v.lastmonth), midnight(v.month));
         }},
        {"statistics.pairs",
         [](mySQLTool& db, V v) {
             return statementq::pairs(db, v.client, midnight(v.lastmonth), midnight(v.month));
         }},
        {"statistics.shipments",
         [](mySQLTool& db, V v) {
             return statementq::shipments(db, v.client, midnight(v.lastmonth), midnight(v.month));
         }},
        {"raw.materials", [](mySQLTool& db, V) { return materialq::materials(db); }},
        {"raw.stock", [](mySQLTool& db, V) { return materialq::stockHolding(db, busiestMaterial(db), 1.0); }},
        {"raw.recent-purchases", [](mySQLTool& db, V) { return materialq::recentPurchases(db); }},
        {"raw.recent-issues", [](mySQLTool& db, V) { return materialq::recentIssues(db); }},
        {"raw.purchases-page",
         [](mySQLTool& db, V) { return limited(db, materialq::purchaseRows(db, {}), 0, kListCap); }},
        {"raw.purchases-sums", [](mySQLTool& db, V) { return materialq::purchaseSums(db, {}); }},
        {"raw.issues-page", [](mySQLTool& db, V) { return issuesPage(db, {}); }},
        {"raw.issues-sums", [](mySQLTool& db, V) { return materialq::issueSums(db, {}); }},
        {"raw.issues-material-page",
         [](mySQLTool& db, V) { return issuesPage(db, issuesOf(busiestMaterial(db), {}, {})); }},
        {"raw.issues-material-sums",
         [](mySQLTool& db, V) { return materialq::issueSums(db, issuesOf(busiestMaterial(db), {}, {})); }},
        {"raw.issues-client-page",
         [](mySQLTool& db, V v) { return issuesPage(db, issuesOf({}, v.client, {})); }},
        {"raw.issues-client-sums",
         [](mySQLTool& db, V v) { return materialq::issueSums(db, issuesOf({}, v.client, {})); }},
        {"raw.issues-member-sums",
         [](mySQLTool& db, V) { return materialq::issueSums(db, issuesOf({}, {}, busiestIssuer(db))); }},
        {"raw.issues-month-page", [](mySQLTool& db, V v) { return issuesPage(db, lastMonthsIssues(v)); }},
        {"raw.issues-month-sums",
         [](mySQLTool& db, V v) { return materialq::issueSums(db, lastMonthsIssues(v)); }},
        {"manage.orders", [](mySQLTool& db, V) { return adminq::activeOrders(db, kListCap + 1); }},
        manageOrders("manage.orders-all",
                     [](V) {
                         adminq::OrderFilter f;
                         f.withWaiting = f.withClosed = true;
                         return f;
                     }),
        manageOrders("manage.orders-client", clientsActivated),
        manageOrders("manage.orders-client-open",
                     [](V v) {
                         adminq::OrderFilter f = clientsActivated(v);
                         f.withClosed = false;
                         return f;
                     }),
        manageOrders("manage.orders-received",
                     [](V v) {
                         adminq::OrderFilter f;
                         f.time = adminq::OrderFilter::Time::Received;
                         f.range.after = v.lastmonth;
                         f.withClosed = true;
                         return f;
                     }),
        manageOrders("manage.orders-closed-within",
                     [](V v) {
                         adminq::OrderFilter f;
                         f.time = adminq::OrderFilter::Time::Closed;
                         f.range = {v.yearago, v.lastmonth};
                         f.withClosed = true;
                         return f;
                     }),
        {"manage.order-row", [](mySQLTool& db, V v) { return adminq::orderRow(db, v.orderOld); }},
        {"manage.losses", [](mySQLTool& db, V) { return adminq::losses(db, kListCap + 1); }},
        {"manage.members", [](mySQLTool& db, V) { return adminq::members(db, true); }},
        {"manage.rename-technology",
         [](mySQLTool& db,
            V v) { return adminq::renameInOpenOrders(db, v.tech, v.tech + QStringLiteral("新")); },
         true},
        {"manage.rename-overflow",
         [](mySQLTool& db,
            V v) { return adminq::renameOverflow(db, v.tech, v.tech + QStringLiteral("新"), 255); },
         true},
        {"manage.unsettled-work", [](mySQLTool& db, V v) { return adminq::unsettledWork(db, v.member); },
         true},
        // The order inquiry: each query is its count with the totals and its first page.
        orderTotals("inquiry.open-totals", [](V) { return inquiryproq::Filter(); }),
        orderPage("inquiry.open-page", [](V) { return inquiryproq::Filter(); }),
        orderTotals("inquiry.history-totals", everyOrder),
        orderPage("inquiry.history-page", everyOrder),
        orderTotals("inquiry.customer-totals", customersOrders),
        orderPage("inquiry.customer-page", customersOrders),
        orderTotals("inquiry.received-totals", [](V v) { return receivedSince(v.today, v); }),
        orderPage("inquiry.received-page", [](V v) { return receivedSince(v.today, v); }),
        orderTotals("inquiry.month-totals", [](V v) { return receivedSince(v.month, v); }),
        orderPage("inquiry.month-page", [](V v) { return receivedSince(v.month, v); }),
        orderTotals("inquiry.customer-month-totals", customersMonth),
        orderPage("inquiry.customer-month-page", customersMonth),
        orderTotals("inquiry.technology-open-totals",
                    [](V v) {
                        inquiryproq::Filter f;
                        f.technology = v.tech;
                        return f;
                    }),
        {"inquiry.running-flows",
         [](mySQLTool& db, V v) { return inquiryproq::runningFlows(db, v.orderOpen); }},
        {"inquiry.shipments", [](mySQLTool& db, V v) { return inquiryproq::shipments(db, v.orderOld); }},
        {"inquiry.chain", [](mySQLTool& db, V v) { return inquiryproq::flowChain(db, v.flow, 100); }},
        {"inquiry.workers", [](mySQLTool& db, V v) { return inquiryproq::stepWorkers(db, v.flowOld); }},
        {"salary.choose-month",
         [](mySQLTool& db, V v) { return financeq::employees(db, v.month, v.tomorrow, false); }},
        {"salary.choose-last-month",
         [](mySQLTool& db, V v) { return financeq::employees(db, v.lastmonth, v.month, true); }},
        {"salary.choose-year",
         [](mySQLTool& db, V v) { return financeq::employees(db, v.yearago, v.tomorrow, false); }},
        {"salary.pending", [](mySQLTool& db, V v) { return financeq::memberWork(db, v.member, false); }},
        {"salary.settled", [](mySQLTool& db, V v) { return financeq::memberWork(db, v.member, true); }},
        {"salary.history", [](mySQLTool& db, V v) { return financeq::salaryHistory(db, v.member); }},
        {"salary.lock-member", [](mySQLTool& db, V v) { return financeq::lockMember(db, v.member); }, true},
        {"salary.lock-pending",
         [](mySQLTool& db, V v) { return financeq::lockPending(db, v.member, v.month, v.tomorrow); }, true},
        {"salary.mark-settled",
         [](mySQLTool& db, V v) { return financeq::markSettled(db, v.member, v.month, v.tomorrow); }, true},

        orderSearch("salary-edit.orders-client", &clientsOrders),
        orderCount("salary-edit.orders-client-count", &clientsOrders),
        orderSearch("salary-edit.orders-month", &lastMonthsOrders),
        orderCount("salary-edit.orders-month-count", &lastMonthsOrders),
        orderSearch("salary-edit.orders-number", &oldOrder),
        {"salary-edit.order",
         [](mySQLTool& db, V v) { return financeq::orderForSupplement(db, v.orderOld); }},
        {"salary-edit.step-pieces",
         [](mySQLTool& db, V v) { return financeq::stepPieces(db, v.orderOld, QStringLiteral("石磨工序")); }},

        inquiryPage("salary-inquiry.none", [](V) { return inquiry(By::None, 0, false); }),
        inquirySums("salary-inquiry.none-sums", [](V) { return inquiry(By::None, 0, false); }),
        inquiryPage("salary-inquiry.member", [](V v) { return inquiry(By::Member, v.member, false); }),
        inquirySums("salary-inquiry.member-sums", [](V v) { return inquiry(By::Member, v.member, false); }),
        inquiryPage("salary-inquiry.client", [](V v) { return inquiry(By::Client, v.client, false); }),
        inquirySums("salary-inquiry.client-sums", [](V v) { return inquiry(By::Client, v.client, false); }),
        inquiryPage("salary-inquiry.process", [](V) { return inquiry(By::Process, 0, false); }),
        inquirySums("salary-inquiry.process-sums", [](V) { return inquiry(By::Process, 0, false); }),
        inquiryPage("salary-inquiry.month", &month<false>),
        inquirySums("salary-inquiry.month-sums", &month<false>),
        inquiryPage("salary-inquiry.recorder", &recorder<false>),
        inquirySums("salary-inquiry.recorder-sums", &recorder<false>),
        inquiryPage("salary-inquiry.none-all", [](V) { return inquiry(By::None, 0, true); }),
        inquirySums("salary-inquiry.none-all-sums", [](V) { return inquiry(By::None, 0, true); }),
        inquiryPage("salary-inquiry.member-all", [](V v) { return inquiry(By::Member, v.member, true); }),
        inquirySums("salary-inquiry.member-all-sums",
                    [](V v) { return inquiry(By::Member, v.member, true); }),
        inquiryPage("salary-inquiry.client-all", [](V v) { return inquiry(By::Client, v.client, true); }),
        inquiryPage("salary-inquiry.quiet-client-all",
                    [](V v) { return inquiry(By::Client, v.quietClient, true); }),
        inquirySums("salary-inquiry.client-all-sums",
                    [](V v) { return inquiry(By::Client, v.client, true); }),
        inquiryPage("salary-inquiry.process-all", [](V) { return inquiry(By::Process, 0, true); }),
        inquirySums("salary-inquiry.process-all-sums", [](V) { return inquiry(By::Process, 0, true); }),
        {"salary-inquiry.days",
         [](mySQLTool& db, V v) { return financeq::madeDays(db, {v.yearago, v.tomorrow}); }},
        inquiryPage("salary-inquiry.month-all", &month<true>),
        inquirySums("salary-inquiry.month-all-sums", &month<true>),
        inquiryPage("salary-inquiry.recorder-all", &recorder<true>),
        inquirySums("salary-inquiry.recorder-all-sums", &recorder<true>),
    };
    return all;
}

const Case* find(const QString& name)
{
    for (const Case& c : cases())
        if (c.name == name)
            return &c;
    return nullptr;
}

}  // namespace plans
