// A flow ticket scanned at the washing station: the flow chosen in the queue and 处理工作
// accepted, with the queue scrolled to its last page first.
#include "Bench.h"
#include "Driver.h"

#include "db/mySQLTool.h"
#include "dialogs/stations/Dlg_Station.h"
#include "flow/TicketCode.h"
#include "ui/AppState.h"

#include <QLineEdit>
#include <memory>

namespace {

const QString kWashing = QStringLiteral("洗水");

std::unique_ptr<Dlg_Station> openWashing()
{
    g_station = kWashing;
    std::unique_ptr<Dlg_Station> w(new Dlg_Station);
    w->show();
    settle();
    return w;
}

// The queue's last row.
bool prepareScan(Values& v)
{
    auto w = openWashing();
    KvGrid* queue = drive::grid(w.get(), "waitingList");
    if (!queue || queue->GetItemCount() < 2)
        return false;
    v[QStringLiteral("last")] = queue->GetItemText(queue->GetItemCount() - 1, 0);
    return true;
}

// The scanner types the code and Enter into the scan box.
void scanRun(Run& r, const QString& flow)
{
    auto w = openWashing();
    drive::grid(w.get(), "waitingList")->scrollToBottom();
    settle();
    auto* box = drive::child<QLineEdit>(w.get(), "scanEdit");
    r.measure([&] {
        box->setText(ticket::qrText(ticket::Kind::Flow, flow.toULongLong()));
        QTest::keyClick(box, Qt::Key_Return);
        return w.get();
    });
}

const ActionRegistration scanListed{
    Action{QStringLiteral("station.scan"), QStringLiteral("Station 洗水: scan the last row's ticket"),
           Kind::Interactive, Target::Click, Group::Station, prepareScan,
           [](Run& r, const Values& v) { scanRun(r, v[QStringLiteral("last")]); }}};

}  // namespace
