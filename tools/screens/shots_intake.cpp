#include "Shots.h"

#include "dialogs/intake/Dlg_Consignee.h"
#include "grid/KvGrid.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The first order waiting for activation loaded for editing, with the washing technologies listed.
void editWaitingOrder(QWidget* w)
{
    if (auto* category = w->findChild<QComboBox*>(QStringLiteral("categoryCombo")))
        SelectComboText(*category, QStringLiteral("洗水"));
    auto* waiting = w->findChild<KvGrid*>(QStringLiteral("waitingOrderList"));
    if (!waiting || waiting->GetItemCount() == 0)
        return;
    waiting->SelectRow(0);
    if (auto* edit = w->findChild<QPushButton*>(QStringLiteral("editOrderButton")))
        edit->click();
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
