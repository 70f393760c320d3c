#include "Bench.h"
#include "Driver.h"
#include "Fixtures.h"

#include "db/mySQLTool.h"
#include "dialogs/stations/Dlg_Station.h"
#include "ui/AppState.h"

#include <memory>

namespace {

const QString kWashing = QStringLiteral("洗水");

std::unique_ptr<Dlg_Station> openStation(const QString& station)
{
    g_station = station;
    std::unique_ptr<Dlg_Station> w(new Dlg_Station);
    w->show();
    settle();
    return w;
}

QString scalar(const char* sql)
{
    return g_sqlTool.Read(g_sqlTool.Format(sql)).first().text(0);
}

// The washing station, one of its process steps, the team with most active members, and the
// second flow of its queue.
bool prepareWashing(Values& v)
{
    v[QStringLiteral("station")] = kWashing;
    v[QStringLiteral("destination")] = QStringLiteral("手工");
    v[QStringLiteral("mode")] =
        scalar("select 名称 from kvc_attrib_process where 工作站='洗水' order by 名称 limit 1");
    v[QStringLiteral("team")] = scalar(
        "select 班组 from kvc_record_member where 激活=1 group by 班组 order by count(*) desc, 班组 limit 1");
    auto w = openStation(kWashing);
    KvGrid* queue = drive::grid(w.get(), "waitingList");
    if (!queue || queue->GetItemCount() < 2)
        return false;
    v[QStringLiteral("flow")] = queue->GetItemText(1, 0);
    v[QStringLiteral("order")] = queue->GetItemText(1, 1);
    v[QStringLiteral("firstFlow")] = queue->GetItemText(0, 0);
    v[QStringLiteral("firstOrder")] = queue->GetItemText(0, 1);
    return !v[QStringLiteral("mode")].isEmpty() && !v[QStringLiteral("team")].isEmpty();
}

// The real station with the fewest open flows.
bool prepareQuiet(Values& v)
{
    v[QStringLiteral("station")] = scalar(
        "select s.名称 from kvc_attrib_station s where s.名称<>'接收' and s.名称<>'发送' order by (select "
        "count(*) "
        "from kvc_record_procedure f where f.工作站=s.名称 and f.结讫=0), s.名称 limit 1");
    auto w = openStation(v[QStringLiteral("station")]);
    if (KvGrid* queue = drive::grid(w.get(), "waitingList"); queue && queue->GetItemCount() > 0) {
        v[QStringLiteral("firstFlow")] = queue->GetItemText(0, 0);
        v[QStringLiteral("firstOrder")] = queue->GetItemText(0, 1);
    }
    return !v[QStringLiteral("station")].isEmpty();
}

void openRun(Run& r, const Values& v)
{
    std::unique_ptr<Dlg_Station> w;
    r.measure([&] {
        g_station = v[QStringLiteral("station")];
        w.reset(new Dlg_Station);
        return w.get();
    });
}

// "处理工作" accepted, the mode, the destination and the team chosen.
void acceptWork(QWidget* w, const Values& v)
{
    drive::click(w, "processButton");
    drive::choose(w, "modeCombo", v[QStringLiteral("mode")]);
    drive::choose(w, "destinationCombo", v[QStringLiteral("destination")]);
    drive::choose(w, "teamCombo", v[QStringLiteral("team")]);
}

const ActionRegistration washingOpen{Action{QStringLiteral("station.open.washing"),
                                            QStringLiteral("Station 洗水: open"), Kind::Interactive,
                                            Target::Open, Group::Station, prepareWashing, openRun}};

const ActionRegistration quietOpen{Action{QStringLiteral("station.open.quiet"),
                                          QStringLiteral("Station, the quietest: open"), Kind::Interactive,
                                          Target::Open, Group::Station, prepareQuiet, openRun}};

const ActionRegistration clickFlow{
    Action{QStringLiteral("station.flow"), QStringLiteral("Station 洗水: click a flow"), Kind::Interactive,
           Target::Click, Group::Station, prepareWashing, [](Run& r, const Values&) {
               auto w = openStation(kWashing);
               r.measure([&] {
                   drive::clickRow(drive::grid(w.get(), "waitingList"), 1);
                   return w.get();
               });
           }}};

const ActionRegistration process{
    Action{QStringLiteral("station.process"), QStringLiteral("Station 洗水: 处理工作 with mode and team"),
           Kind::Interactive, Target::Click, Group::Station, prepareWashing, [](Run& r, const Values& v) {
               auto w = openStation(kWashing);
               r.measure([&] {
                   acceptWork(w.get(), v);
                   return w.get();
               });
           }}};

// The hand-over of a flow the benchmark made: it heads the queue (sent back to the station
// by itself), 8 of its 10 pieces done and 1 lost by one worker, 1 left as a derived flow.
const ActionRegistration handover{
    Action{QStringLiteral("station.handover"), QStringLiteral("Station 洗水: hand-over (提交)"),
           Kind::Interactive, Target::Open, Group::Station, prepareWashing, [](Run& r, const Values& v) {
               quint64 order = 0;
               fixture::order(10, &order);
               fixture::flow(order, kWashing, kWashing, 10);
               {
                   auto w = openStation(kWashing);
                   acceptWork(w.get(), v);
                   KvGrid* members = drive::grid(w.get(), "memberList");
                   members->SelectRow(0);
                   drive::click(w.get(), "insertButton");
                   KvGrid* workers = drive::grid(w.get(), "singleList");
                   drive::typeCell(workers, 0, 2, QStringLiteral("8"));
                   drive::typeCell(workers, 0, 3, QStringLiteral("1"));
                   settle();
                   r.measureClick(w.get(), "singleSubmitButton");
               }
               fixture::remove(order);
           }}};

}  // namespace
