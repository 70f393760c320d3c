#include "Shots.h"

#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_Shipper.h"
#include "grid/KvGrid.h"

namespace {

// The order at shipping that shows most of the desk: goods still in the workshop, flows
// waiting for confirmation and confirmed, a first shipment made.
QString showcaseOrder()
{
    return g_sqlTool
        .Read(g_sqlTool.Format(
            "select f.货单号 from kvc_record_procedure f where f.结讫=0 group by f.货单号 "
            "having max(f.工作站='发送') order by max(f.工作站<>'发送') + max(f.工作站='发送' and "
            "f.上一站<>'发送') + max(f.工作站='发送' and f.上一站='发送') + (select count(*)>0 from "
            "kvc_record_ship s where s.货单号=f.货单号) desc, f.货单号 limit 1"))
        .first()
        .text(0);
}

void chooseShowcaseOrder(QWidget* w)
{
    auto* orders = w->findChild<KvGrid*>(QStringLiteral("unshippedList"));
    if (!orders)
        return;
    const QString order = showcaseOrder();
    for (int r = 0; r < orders->GetItemCount(); ++r) {
        if (orders->GetItemText(r, 0) == order) {
            orders->SelectRow(r);
            Q_EMIT orders->rowClicked(r);
            break;
        }
    }
    if (auto* waiting = w->findChild<KvGrid*>(QStringLiteral("waitingList")))
        waiting->SelectRow(0);
}

ShotRegistration shipper{
    Shot{QStringLiteral("shipper"), [] { return new Dlg_Shipper; }, chooseShowcaseOrder}};

}  // namespace
