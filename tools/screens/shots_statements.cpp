#include "Shots.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_InquiryShip.h"
#include "dialogs/shipping/Dlg_InquiryShipment.h"
#include "dialogs/shipping/ShipmentChart.h"
#include "grid/KvGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QMouseEvent>

namespace {

// The customer with the most shipments: the inquiry shows a full page of its shipments.
void searchBusiestCustomer(QWidget* w)
{
    const QString client =
        g_sqlTool
            .Read(
                g_sqlTool.Format("select 客户号 from kvc_record_ship group by 客户号 order by count(*) desc "
                                 "limit 1"))
            .first()
            .text(0);
    auto* clients = w->findChild<KvGrid*>(QStringLiteral("clientList"));
    w->findChild<QCheckBox*>(QStringLiteral("clientSwitch"))->click();
    for (int r = 0; r < clients->GetItemCount(); ++r)
        if (clients->GetItemText(r, 0) == client)
            clients->SelectRow(r);
    w->findChild<QAbstractButton*>(QStringLiteral("searchButton"))->click();
}

// A second customer under the name of the busiest one, with one small shipment last month: the
// chart keeps the two apart and shows the small amount beside the big ones.
QWidget* statisticsWithATwin()
{
    const Row busiest = g_sqlTool
                            .Read(g_sqlTool.Format(
                                "select c.名称, s.货单号 from kvc_record_ship s join kvc_record_client c on "
                                "c.客户号=s.客户号 group by s.客户号 order by count(*) desc limit 1"))
                            .first();
    const QString when = kvclock::now().addDays(-3).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (g_sqlTool.Exec("insert into kvc_record_client (名称, 说明, 激活) value ('%s', '%s', %d)",
                       busiest.text(0), QStringLiteral("新厂"), 1))
        g_sqlTool.Exec(
            "insert into kvc_record_ship (货单号, 客户号, 发送时间, 品名, 洗涤方法, 货物数量, 货物单价, "
            "经办人) "
            "value (%I64u, %I64u, '%s', '%s', '%s', %d, %f, '%s')",
            busiest.toId(1), g_sqlTool.InsertId(), when, QStringLiteral("样衣"), QStringLiteral("[普洗]"), 2,
            0.8, QStringLiteral("admin"));
    return new Dlg_InquiryShip;
}

// The last month's customers; the biggest one chosen with a click on its bar.
void showLastMonth(QWidget* w)
{
    const QDate today = kvclock::now().date();
    w->findChild<QDateEdit*>(QStringLiteral("startDate"))->setDate(today.addMonths(-1));
    w->findChild<QDateEdit*>(QStringLiteral("endDate"))->setDate(today.addDays(1));
    w->findChild<QAbstractButton*>(QStringLiteral("displayButton"))->click();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    auto* chart = w->findChild<ShipmentChart*>(QStringLiteral("shipmentChart"));
    if (!chart || chart->barCount() == 0)
        return;
    const QPointF at = chart->barCenter(0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, chart->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &click);
    }
}

ShotRegistration inquiry{
    Shot{QStringLiteral("ship_inquiry"), [] { return new Dlg_InquiryShipment; }, searchBusiestCustomer}};
ShotRegistration statistics{Shot{QStringLiteral("ship_statistics"), statisticsWithATwin, showLastMonth}};

}  // namespace
