#include "Bench.h"
#include "Driver.h"
#include "Fixtures.h"

#include "db/mySQLTool.h"
#include "dialogs/intake/Dlg_Consignee.h"
#include "dialogs/shipping/Dlg_Shipper.h"

#include <QComboBox>
#include <memory>

namespace {

std::unique_ptr<Dlg_Shipper> openDesk()
{
    std::unique_ptr<Dlg_Shipper> w(new Dlg_Shipper);
    w->show();
    settle();
    return w;
}

// The first order of the unshipped list and the first page of shipped orders.
bool prepareDesk(Values& v)
{
    auto w = openDesk();
    KvGrid* orders = drive::grid(w.get(), "unshippedList");
    if (!orders || orders->GetItemCount() == 0)
        return false;
    v[QStringLiteral("order")] = orders->GetItemText(0, 0);
    return true;
}

// The benchmark's own order at the desk: the newest, so first in the list, with one flow
// of 10 pieces (waiting for confirmation, or confirmed), chosen in the list.
struct OwnOrder {
    quint64 order = 0;
    quint64 flow = 0;
    std::unique_ptr<Dlg_Shipper> desk;
    OwnOrder(bool confirmed)
    {
        fixture::order(10, &order);
        flow = fixture::flow(order, confirmed ? QStringLiteral("发送") : QStringLiteral("洗水"),
                             QStringLiteral("发送"), 10);
        desk = openDesk();
        KvGrid* orders = drive::grid(desk.get(), "unshippedList");
        drive::clickRow(orders, drive::rowOf(orders, 0, QString::number(order)));
        settle();
    }
    ~OwnOrder()
    {
        desk.reset();
        fixture::remove(order);
    }
};

void chooseFirst(QWidget* w, const char* combo)
{
    auto* c = drive::child<QComboBox>(w, combo);
    for (int i = 0; c && i < c->count(); ++i)
        if (!c->itemText(i).isEmpty()) {
            drive::choose(w, combo, c->itemText(i));
            return;
        }
}

const ActionRegistration intakeOpen{Action{QStringLiteral("intake.open"), QStringLiteral("Intake: open"),
                                           Kind::Interactive, Target::Open, Group::Intake, nullptr,
                                           [](Run& r, const Values&) {
                                               std::unique_ptr<Dlg_Consignee> w;
                                               r.measure([&] {
                                                   w.reset(new Dlg_Consignee);
                                                   return w.get();
                                               });
                                           }}};

const ActionRegistration deskOpen{
    Action{QStringLiteral("shipper.open"), QStringLiteral("Shipping desk: open"), Kind::Interactive,
           Target::Open, Group::Shipping, prepareDesk, [](Run& r, const Values&) {
               std::unique_ptr<Dlg_Shipper> w;
               r.measure([&] {
                   w.reset(new Dlg_Shipper);
                   return w.get();
               });
           }}};

const ActionRegistration clickOrder{
    Action{QStringLiteral("shipper.order"), QStringLiteral("Shipping desk: click an order"),
           Kind::Interactive, Target::Click, Group::Shipping, prepareDesk, [](Run& r, const Values&) {
               auto w = openDesk();
               r.measure([&] {
                   drive::clickRow(drive::grid(w.get(), "unshippedList"), 0);
                   return w.get();
               });
           }}};

const ActionRegistration shipped{
    Action{QStringLiteral("shipper.shipped"), QStringLiteral("Shipping desk: 已发送的货单列表"),
           Kind::Interactive, Target::Whole, Group::Shipping, prepareDesk, [](Run& r, const Values&) {
               auto w = openDesk();
               r.measureClick(w.get(), "radioShipped");
           }}};

const ActionRegistration nextPage{
    Action{QStringLiteral("shipper.next"), QStringLiteral("Shipping desk: 已发送的货单列表, 下一页"),
           Kind::Interactive, Target::Page, Group::Shipping, prepareDesk, [](Run& r, const Values&) {
               auto w = openDesk();
               drive::click(w.get(), "radioShipped");
               settle();
               r.measureClick(w.get(), "shippedNext");
           }}};

const ActionRegistration confirm{
    Action{QStringLiteral("shipper.confirm"), QStringLiteral("Shipping desk: 确认"), Kind::Interactive,
           Target::Open, Group::Shipping, prepareDesk, [](Run& r, const Values&) {
               OwnOrder own(false);
               drive::clickRow(drive::grid(own.desk.get(), "waitingList"), 0);
               r.measureClick(own.desk.get(), "confirmButton");
           }}};

// A shipment of the whole order, which closes it.
const ActionRegistration shipment{
    Action{QStringLiteral("shipper.ship"), QStringLiteral("Shipping desk: a shipment (提交发货)"),
           Kind::Interactive, Target::Open, Group::Shipping, prepareDesk, [](Run& r, const Values&) {
               OwnOrder own(true);
               QWidget* w = own.desk.get();
               drive::click(w, "shipAllButton");
               chooseFirst(w, "shipperCombo");
               chooseFirst(w, "issuerCombo");
               settle();
               r.measureClick(w, "submitButton");
           }}};

}  // namespace
