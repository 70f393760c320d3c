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
ShotRegistration statistics{
    Shot{QStringLiteral("ship_statistics"), [] { return new Dlg_InquiryShip; }, showLastMonth}};

}  // namespace
