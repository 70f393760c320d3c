#include "Shots.h"

#include "db/mySQLTool.h"
#include "dialogs/inquiry/Dlg_InquiryPro.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"

#include <QCheckBox>
#include <QDateTime>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The open flow with the longest chain of steps behind it, with its order and customer.
struct Showcase {
    QString flow, order, customer;
};

Showcase showcase()
{
    const Rows r = g_sqlTool.Read(g_sqlTool.Format(
        "select f.流水号, f.货单号, f.客户号 from kvc_record_procedure f where f.结讫=0 and f.工作站<>'发送' "
        "order by length(f.历史) desc, f.流水号 limit 1"));
    return r.empty() ? Showcase() : Showcase{r.first().text(0), r.first().text(1), r.first().text(2)};
}

void choose(KvGrid* list, int column, const QString& value)
{
    for (int r = 0; list && r < list->GetItemCount(); ++r) {
        if (list->GetItemText(r, column) == value) {
            list->SelectRow(r);
            Q_EMIT list->rowClicked(r);
            return;
        }
    }
}

// The showcase's customer, closed orders included, received in the last six weeks; its
// order clicked, its running flow walked back, the workers of the step before it.
void walkShowcase(QWidget* w)
{
    const Showcase s = showcase();
    w->findChild<QCheckBox*>(QStringLiteral("customerSwitch"))->setChecked(true);
    choose(w->findChild<KvGrid*>(QStringLiteral("customerList")), 0, s.customer);
    w->findChild<QCheckBox*>(QStringLiteral("includeClosed"))->setChecked(true);
    auto* received = w->findChild<TimeCondition*>(QStringLiteral("received"));
    received->switchBox()->setChecked(true);
    received->setMoment(TimeCondition::First, QDateTime::currentDateTime().addDays(-42));
    received->radio(TimeCondition::Range::Within)->setChecked(true);
    w->findChild<QPushButton*>(QStringLiteral("queryButton"))->click();
    choose(w->findChild<KvGrid*>(QStringLiteral("ordersList")), 0, s.order);
    choose(w->findChild<KvGrid*>(QStringLiteral("flowsList")), 0, s.flow);
    auto* steps = w->findChild<KvGrid*>(QStringLiteral("stepsList"));
    if (steps && steps->GetItemCount() >= 2) {
        steps->SelectRow(steps->GetItemCount() - 2);
        Q_EMIT steps->rowClicked(steps->GetItemCount() - 2);
    }
}

ShotRegistration inquiryPro{
    Shot{QStringLiteral("inquiry-orders"), [] { return new Dlg_InquiryPro; }, walkShowcase}};

}  // namespace
