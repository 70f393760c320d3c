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

// The queue's last row, and the newest open flow of the plain class (beyond the rows shown
// when the queue is full; empty otherwise).
bool prepareScan(Values& v)
{
    auto w = openWashing();
    KvGrid* queue = drive::grid(w.get(), "waitingList");
    if (!queue || queue->GetItemCount() < 2)
        return false;
    v[QStringLiteral("last")] = queue->GetItemText(queue->GetItemCount() - 1, 0);
    const QString newest = g_sqlTool
                               .Read(g_sqlTool.Format("select max(流水号) from kvc_record_procedure where "
                                                      "工作站='洗水' and 结讫=0 and 货物等级='一般'"))
                               .first()
                               .text(0);
    if (drive::rowOf(queue, 0, newest) < 0)
        v[QStringLiteral("beyond")] = newest;
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
           Kind::Interactive, Group::Station, prepareScan,
           [](Run& r, const Values& v) { scanRun(r, v[QStringLiteral("last")]); }}};

const ActionRegistration scanBeyond{
    Action{QStringLiteral("station.scan.beyond"),
           QStringLiteral("Station 洗水: scan a ticket beyond the list"), Kind::Interactive, Group::Station,
           [](Values& v) { return prepareScan(v) && !v[QStringLiteral("beyond")].isEmpty(); },
           [](Run& r, const Values& v) { scanRun(r, v[QStringLiteral("beyond")]); }}};

}  // namespace
