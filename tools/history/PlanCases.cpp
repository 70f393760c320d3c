#include "PlanCases.h"

#include "app/DashboardQueries.h"
#include "db/Conditions.h"
#include "db/FillList.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "dialogs/intake/IntakeQueries.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "dialogs/stations/StationQueries.h"
#include "flow/FlowQueries.h"

namespace plans {

namespace {

// The tool's own look at the data, not a statement of the screens.
template <typename... A>
Row first(mySQLTool& db, const char* format, const A&... args)
{
    return db.Read(db.Format(format, args...)).first();
}

// The WHERE text of the order inquiry with the conditions `add` adds.
template <typename F>
Statement inquiryWhere(mySQLTool& db, F add)
{
    Conditions where(db);
    add(where);
    return where.after(" where ");
}

// Orders received from day `from` to the end of day `to`, closed ones included.
Statement receivedWithin(mySQLTool& db, const QString& from, const QString& tomorrow)
{
    return inquiryWhere(db, [&](Conditions& w) {
        w.add(inquiryproq::kReceived.within, tables::product, from + QStringLiteral(" 00:00:00"),
              tables::product, tomorrow + QStringLiteral(" 00:00:00"));
    });
}

}  // namespace

Values draw(mySQLTool& db)
{
    Values v;
    v.today = first(db, "select left(max(生成时间), 10) from kvc_record_procedure").text(0);
    v.month = v.today.left(7) + QStringLiteral("-01");
    const Row dates = first(db,
                            "select date_format('%s' - interval 1 month, '%%Y-%%m-%%d'), "
                            "date_format('%s' + interval 1 day, '%%Y-%%m-%%d'), "
                            "date_format('%s' - interval 1 year, '%%Y-%%m-%%d')",
                            v.month, v.today, v.month);
    v.lastmonth = dates.text(0);
    v.tomorrow = dates.text(1);
    v.yearago = dates.text(2);
    v.method = first(db, "select 洗涤方法 from kvc_record_product where 激活=1 and 结讫=0 limit 1").text(0);
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
    return v;
}

const std::vector<Case>& cases()
{
    using stationq::QueueClass;
    using V = const Values&;
    static const std::vector<Case> all = {
        {"dashboard.orders", [](mySQLTool& db, V) { return dashq::openOrders(db); }},
        {"dashboard.order-flows", [](mySQLTool& db, V v) { return dashq::orderFlows(db, v.orderOpen); }},
        {"dashboard.methods", [](mySQLTool& db, V) { return dashq::runningMethods(db); }},
        {"dashboard.method-pieces", [](mySQLTool& db, V v) { return dashq::methodPieces(db, v.method); }},
        {"dashboard.waiting", [](mySQLTool& db, V v) { return dashq::waiting(db, v.station); }},
        {"dashboard.waiting-shipping",
         [](mySQLTool& db, V) { return dashq::waiting(db, QStringLiteral("发送")); }},
        {"dashboard.finished-today",
         [](mySQLTool& db, V v) { return dashq::finished(db, v.station, v.today); }},
        {"dashboard.technology", [](mySQLTool& db, V v) { return dashq::technologyPieces(db, v.tech); }},

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

        // The order inquiry: each query is its count with the totals and its first page.
        {"inquiry.open-totals",
         [](mySQLTool& db, V) {
             return inquiryproq::ordersTotals(db, inquiryWhere(db, inquiryproq::addOpenOnly));
         }},
        {"inquiry.open-page",
         [](mySQLTool& db, V) {
             return inquiryproq::orders(db, inquiryWhere(db, inquiryproq::addOpenOnly), 0, kListCap);
         }},
        {"inquiry.history-totals",
         [](mySQLTool& db, V) {
             return inquiryproq::ordersTotals(db, inquiryWhere(db, [](Conditions&) {}));
         }},
        {"inquiry.history-page",
         [](mySQLTool& db, V) {
             return inquiryproq::orders(db, inquiryWhere(db, [](Conditions&) {}), 0, kListCap);
         }},
        {"inquiry.customer-totals",
         [](mySQLTool& db, V v) {
             return inquiryproq::ordersTotals(
                 db, inquiryWhere(db, [&](Conditions& w) { inquiryproq::addCustomer(w, v.client); }));
         }},
        {"inquiry.customer-page",
         [](mySQLTool& db, V v) {
             return inquiryproq::orders(
                 db, inquiryWhere(db, [&](Conditions& w) { inquiryproq::addCustomer(w, v.client); }), 0,
                 kListCap);
         }},
        {"inquiry.received-totals",
         [](mySQLTool& db, V v) {
             return inquiryproq::ordersTotals(db, receivedWithin(db, v.today, v.tomorrow));
         }},
        {"inquiry.received-page",
         [](mySQLTool& db, V v) {
             return inquiryproq::orders(db, receivedWithin(db, v.today, v.tomorrow), 0, kListCap);
         }},
        {"inquiry.month-totals",
         [](mySQLTool& db, V v) {
             return inquiryproq::ordersTotals(db, receivedWithin(db, v.month, v.tomorrow));
         }},
        {"inquiry.month-page",
         [](mySQLTool& db, V v) {
             return inquiryproq::orders(db, receivedWithin(db, v.month, v.tomorrow), 0, kListCap);
         }},
        {"inquiry.technology-open-totals",
         [](mySQLTool& db, V v) {
             return inquiryproq::ordersTotals(db, inquiryWhere(db, [&](Conditions& w) {
                                                  inquiryproq::addTechnology(w, v.tech);
                                                  inquiryproq::addOpenOnly(w);
                                              }));
         }},
        {"inquiry.running-flows",
         [](mySQLTool& db, V v) { return inquiryproq::runningFlows(db, v.orderOpen); }},
        {"inquiry.shipments", [](mySQLTool& db, V v) { return inquiryproq::shipments(db, v.orderOld); }},
        {"inquiry.chain", [](mySQLTool& db, V v) { return inquiryproq::flowChain(db, v.flow, 100); }},
        {"inquiry.workers", [](mySQLTool& db, V v) { return inquiryproq::stepWorkers(db, v.flowOld); }},
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
