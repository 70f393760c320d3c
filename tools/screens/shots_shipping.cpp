#include "Shots.h"

#include "dialogs/shipping/Dlg_Shipper.h"
#include "grid/KvGrid.h"

namespace {

// Chooses order 2 of the sample data: flows waiting and confirmed at 发送 and a shipment.
void chooseSampleOrder(QWidget* w)
{
    auto* orders = w->findChild<KvGrid*>(QStringLiteral("unshippedList"));
    if (!orders)
        return;
    for (int r = 0; r < orders->GetItemCount(); ++r) {
        if (orders->GetItemText(r, 0) == QStringLiteral("2")) {
            orders->SelectRow(r);
            Q_EMIT orders->rowClicked(r);
            break;
        }
    }
    if (auto* waiting = w->findChild<KvGrid*>(QStringLiteral("waitingList")))
        waiting->SelectRow(0);
}

ShotRegistration shipper{Shot{QStringLiteral("shipper"), [] { return new Dlg_Shipper; }, chooseSampleOrder}};

}  // namespace
