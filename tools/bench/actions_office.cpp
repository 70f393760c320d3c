#include "Bench.h"
#include "Driver.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/Dlg_Manage.h"
#include "dialogs/materials/Dlg_RawInquiry.h"
#include "dialogs/quality/Dlg_Quality.h"
#include "dialogs/shipping/Dlg_InquiryShip.h"
#include "dialogs/shipping/Dlg_InquiryShipment.h"
#include "parts/TimeCondition.h"
#include "ui/AppState.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTimeEdit>
#include <memory>

namespace {

template <typename T>
void openRun(Run& r, const Values&)
{
    std::unique_ptr<T> w;
    r.measure([&] {
        w.reset(new T);
        return w.get();
    });
}

// The last whole month of the data, and the customer with most shipments in it.
bool prepareMonth(Values& v)
{
    const QDate today = kvclock::now().date();
    const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
    v[QStringLiteral("from")] = first.toString(QStringLiteral("yyyy-MM-dd"));
    v[QStringLiteral("to")] = first.addMonths(1).toString(QStringLiteral("yyyy-MM-dd"));
    const Rows r =
        g_sqlTool.Read(g_sqlTool.Format("select 客户号 from kvc_record_ship where 发送时间>'%s 00:00:00' and "
                                        "发送时间<'%s 00:00:00' group by 客户号 "
                                        "order by count(*) desc limit 1",
                                        v[QStringLiteral("from")], v[QStringLiteral("to")]));
    v[QStringLiteral("client")] = r.first().text(0);
    return !v[QStringLiteral("client")].isEmpty();
}

const ActionRegistration shipmentMonth{Action{
    QStringLiteral("shipments.month"), QStringLiteral("Shipment inquiry: 查询 of a month"), Kind::Interactive,
    Target::Page, Group::Other, prepareMonth, [](Run& r, const Values& v) {
        auto w = openShown<Dlg_InquiryShipment>();
        auto* time = drive::child<TimeCondition>(w.get(), "sentTime");
        time->switchBox()->click();
        time->radio(TimeCondition::Range::Within)->click();
        time->date(TimeCondition::First)->setDate(QDate::fromString(v[QStringLiteral("from")], Qt::ISODate));
        time->time(TimeCondition::First)->setTime(QTime(0, 0, 0));
        time->date(TimeCondition::Second)->setDate(QDate::fromString(v[QStringLiteral("to")], Qt::ISODate));
        time->time(TimeCondition::Second)->setTime(QTime(0, 0, 0));
        r.measureClick(w.get(), "searchButton");
    }}};

std::unique_ptr<Dlg_InquiryShip> statisticsOfMonth(const Values& v)
{
    auto w = openShown<Dlg_InquiryShip>();
    drive::period(w.get(), v[QStringLiteral("from")], v[QStringLiteral("to")]);
    return w;
}

const ActionRegistration statisticsShow{
    Action{QStringLiteral("statistics.month"), QStringLiteral("Shipment statistics: 显示 a month"),
           Kind::Interactive, Target::Page, Group::Other, prepareMonth, [](Run& r, const Values& v) {
               auto w = statisticsOfMonth(v);
               r.measureClick(w.get(), "displayButton");
           }}};

const ActionRegistration statisticsCustomer{
    Action{QStringLiteral("statistics.customer"),
           QStringLiteral("Shipment statistics: the month's busiest customer"), Kind::Interactive,
           Target::Click, Group::Other, prepareMonth, [](Run& r, const Values& v) {
               auto w = statisticsOfMonth(v);
               drive::click(w.get(), "displayButton");
               settle();
               KvGrid* customers = drive::grid(w.get(), "customerList");
               const int row = drive::rowOf(customers, 0, v[QStringLiteral("client")]);
               r.measure([&] {
                   drive::clickRow(customers, row);
                   return w.get();
               });
           }}};

const ActionRegistration qualityOpen{Action{QStringLiteral("quality.open"),
                                            QStringLiteral("Loss registry: open"), Kind::Interactive,
                                            Target::Open, Group::Other, nullptr, openRun<Dlg_Quality>}};

const ActionRegistration qualityAll{
    Action{QStringLiteral("quality.all"), QStringLiteral("Loss registry: 查询 with the handled records"),
           Kind::WholeHistory, Target::Whole, Group::Other, nullptr, [](Run& r, const Values&) {
               auto w = openShown<Dlg_Quality>();
               drive::child<QCheckBox>(w.get(), "showHandledCheck")->setChecked(true);
               r.measureClick(w.get(), "queryButton");
           }}};

// Every issue of raw material, with the four summaries: the inquiry's widest search.
const ActionRegistration rawIssues{
    Action{QStringLiteral("raw.issues"), QStringLiteral("Raw-material inquiry: 查询 of every issue"),
           Kind::WholeHistory, Target::Whole, Group::Other, nullptr, [](Run& r, const Values&) {
               auto w = openShown<Dlg_RawInquiry>();
               drive::click(w.get(), "issueMode");
               settle();
               r.measureClick(w.get(), "queryButton");
           }}};

const ActionRegistration manageOpen{Action{QStringLiteral("manage.open"),
                                           QStringLiteral("Production management: open"), Kind::Interactive,
                                           Target::Open, Group::Other, nullptr, [](Run& r, const Values& v) {
                                               g_identity = QStringLiteral("管理员");
                                               openRun<Dlg_Manage>(r, v);
                                           }}};

}  // namespace
