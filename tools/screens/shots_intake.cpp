#include "Shots.h"

#include "dialogs/intake/Dlg_Consignee.h"
#include "grid/KvGrid.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The waiting order 7001 loaded for editing, with the washing technologies listed.
void editWaitingOrder(QWidget* w)
{
    if (auto* category = w->findChild<QComboBox*>(QStringLiteral("categoryCombo")))
        SelectComboText(*category, QStringLiteral("洗水"));
    auto* waiting = w->findChild<KvGrid*>(QStringLiteral("waitingOrderList"));
    if (!waiting)
        return;
    for (int r = 0; r < waiting->GetItemCount(); ++r) {
        if (waiting->GetItemText(r, QStringLiteral("款号")) == QStringLiteral("7001")) {
            waiting->SelectRow(r);
            if (auto* edit = w->findChild<QPushButton*>(QStringLiteral("editOrderButton")))
                edit->click();
            break;
        }
    }
}

void showWaitingFlows(QWidget* w)
{
    if (auto* radio = w->findChild<QRadioButton*>(QStringLiteral("waitingFlowsRadio")))
        radio->click();
    if (auto* flows = w->findChild<KvGrid*>(QStringLiteral("waitingFlowList")))
        flows->SelectRow(0);
}

ShotRegistration orders{
    Shot{QStringLiteral("consignee"), [] { return new Dlg_Consignee; }, editWaitingOrder}};
ShotRegistration flows{
    Shot{QStringLiteral("consignee_flows"), [] { return new Dlg_Consignee; }, showWaitingFlows}};

}  // namespace
