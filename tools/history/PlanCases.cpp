#include "PlanCases.h"

#include "app/DashboardQueries.h"
#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/FinanceQueries.h"
#include "dialogs/intake/IntakeQueries.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "dialogs/stations/StationQueries.h"
#include "flow/FlowQueries.h"

namespace plans {

namespace {

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
using WorkOf = financeq::WorkFilter (*)(const Values&);
Case inquiryPage(const char* name, WorkOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return financeq::workPage(db, f(v), 0, kListCap); }};
}
Case inquirySums(const char* name, WorkOf f)
{
    return {QString::fromLatin1(name),
            [f](mySQLTool& db, const Values& v) { return financeq::workSummary(db, f(v)); }};
}
template <bool settled>
financeq::WorkFilter month(const Values& v)
{
    financeq::WorkFilter f = inquiry(financeq::WorkFilter::By::None, 0, settled);
    f.after = settled ? v.lastmonth : v.month;
    f.before = settled ? v.month : v.tomorrow;
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
    using By = financeq::WorkFilter::By;
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

        {"salary-edit.orders-client",
         [](mySQLTool& db, V v) {
             financeq::OrderFilter f;
             f.client = v.client;
             return financeq::orders(db, f, 0, kListCap);
         }},
        {"salary-edit.orders-client-count",
         [](mySQLTool& db, V v) {
             financeq::OrderFilter f;
             f.client = v.client;
             return financeq::countOrders(db, f);
         }},
        {"salary-edit.orders-month",
         [](mySQLTool& db, V v) {
             financeq::OrderFilter f;
             f.after = v.lastmonth;
             f.before = v.month;
             return financeq::orders(db, f, 0, kListCap);
         }},
        {"salary-edit.orders-month-count",
         [](mySQLTool& db, V v) {
             financeq::OrderFilter f;
             f.after = v.lastmonth;
             f.before = v.month;
             return financeq::countOrders(db, f);
         }},
        {"salary-edit.orders-number",
         [](mySQLTool& db, V v) {
             financeq::OrderFilter f;
             f.order = v.orderOld;
             return financeq::orders(db, f, 0, kListCap);
         }},
        {"salary-edit.order",
         [](mySQLTool& db, V v) { return financeq::orderForSupplement(db, v.orderOld); }},

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
        inquirySums("salary-inquiry.client-all-sums",
                    [](V v) { return inquiry(By::Client, v.client, true); }),
        inquiryPage("salary-inquiry.process-all", [](V) { return inquiry(By::Process, 0, true); }),
        inquirySums("salary-inquiry.process-all-sums", [](V) { return inquiry(By::Process, 0, true); }),
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
