#include "Bench.h"
#include "Driver.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/inquiry/Dlg_InquiryPro.h"
#include "parts/TimeCondition.h"

#include <QCheckBox>
#include <QRadioButton>
#include <memory>

namespace {

// The open flow with the longest chain behind it, its order and customer; the last whole
// month of the data.
bool prepareShowcase(Values& v)
{
    const Rows r = g_sqlTool.Read(g_sqlTool.Format(
        "select f.流水号, f.货单号, f.客户号 from kvc_record_procedure f where f.结讫=0 and f.工作站<>'发送' "
        "order by length(f.历史) desc, f.流水号 limit 1"));
    v[QStringLiteral("flow")] = r.first().text(0);
    v[QStringLiteral("order")] = r.first().text(1);
    v[QStringLiteral("client")] = r.first().text(2);
    const QDate today = kvclock::now().date();
    const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
    v[QStringLiteral("from")] = first.toString(QStringLiteral("yyyy-MM-dd"));
    v[QStringLiteral("to")] = first.addMonths(1).toString(QStringLiteral("yyyy-MM-dd"));
    return !v[QStringLiteral("flow")].isEmpty();
}

std::unique_ptr<Dlg_InquiryPro> openInquiry()
{
    std::unique_ptr<Dlg_InquiryPro> w(new Dlg_InquiryPro);
    w->show();
    settle();
    return w;
}

void tickCustomer(QWidget* w, const Values& v)
{
    drive::child<QCheckBox>(w, "customerSwitch")->click();
    KvGrid* customers = drive::grid(w, "customerList");
    drive::clickRow(customers, drive::rowOf(customers, 0, v[QStringLiteral("client")]));
}

void query(QWidget* w)
{
    drive::click(w, "queryButton");
}

// The customer's orders received in the month, closed ones included.
const ActionRegistration condition{Action{
    QStringLiteral("orders.condition"), QStringLiteral("Order inquiry: 查询 of a customer's month"),
    Kind::Interactive, Target::Page, Group::Other, prepareShowcase, [](Run& r, const Values& v) {
        auto w = openInquiry();
        tickCustomer(w.get(), v);
        drive::child<QCheckBox>(w.get(), "includeClosed")->click();
        auto* received = drive::child<TimeCondition>(w.get(), "received");
        received->switchBox()->click();
        received->radio(TimeCondition::Range::Within)->click();
        received->setMoment(
            TimeCondition::First,
            QDateTime(QDate::fromString(v[QStringLiteral("from")], Qt::ISODate), QTime(0, 0)));
        received->setMoment(TimeCondition::Second,
                            QDateTime(QDate::fromString(v[QStringLiteral("to")], Qt::ISODate), QTime(0, 0)));
        r.measure([&] {
            query(w.get());
            return w.get();
        });
    }}};

const ActionRegistration whole{Action{
    QStringLiteral("orders.all"), QStringLiteral("Order inquiry: 查询 of every order, closed ones included"),
    Kind::WholeHistory, Target::Whole, Group::Other, prepareShowcase, [](Run& r, const Values&) {
        auto w = openInquiry();
        drive::child<QCheckBox>(w.get(), "includeClosed")->click();
        r.measure([&] {
            query(w.get());
            return w.get();
        });
    }}};

const ActionRegistration next{Action{QStringLiteral("orders.next"),
                                     QStringLiteral("Order inquiry: every order, 下一页"), Kind::Interactive,
                                     Target::Page, Group::Other, prepareShowcase, [](Run& r, const Values&) {
                                         auto w = openInquiry();
                                         drive::child<QCheckBox>(w.get(), "includeClosed")->click();
                                         query(w.get());
                                         settle();
                                         r.measureClick(w.get(), "ordersNext");
                                     }}};

// The customer's open orders listed, the showcase order clicked.
std::unique_ptr<Dlg_InquiryPro> customerOrders(const Values& v)
{
    auto w = openInquiry();
    tickCustomer(w.get(), v);
    query(w.get());
    settle();
    return w;
}

const ActionRegistration clickOrder{
    Action{QStringLiteral("orders.order"), QStringLiteral("Order inquiry: click an order"), Kind::Interactive,
           Target::Click, Group::Other, prepareShowcase, [](Run& r, const Values& v) {
               auto w = customerOrders(v);
               KvGrid* orders = drive::grid(w.get(), "ordersList");
               const int row = drive::rowOf(orders, 0, v[QStringLiteral("order")]);
               r.measure([&] {
                   drive::clickRow(orders, row);
                   return w.get();
               });
           }}};

const ActionRegistration clickFlow{Action{
    QStringLiteral("orders.flow"), QStringLiteral("Order inquiry: click a flow (the chain walked back)"),
    Kind::Interactive, Target::Click, Group::Other, prepareShowcase, [](Run& r, const Values& v) {
        auto w = customerOrders(v);
        KvGrid* orders = drive::grid(w.get(), "ordersList");
        drive::clickRow(orders, drive::rowOf(orders, 0, v[QStringLiteral("order")]));
        settle();
        KvGrid* flows = drive::grid(w.get(), "flowsList");
        const int row = drive::rowOf(flows, 0, v[QStringLiteral("flow")]);
        r.measure([&] {
            drive::clickRow(flows, row);
            return w.get();
        });
    }}};

}  // namespace
