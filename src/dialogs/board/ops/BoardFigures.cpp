#include "dialogs/board/ops/BoardFigures.h"

#include "db/mySQLTool.h"
#include "dialogs/board/BoardQueries.h"

#include <QHash>
#include <algorithm>

namespace board {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kShipping = QStringLiteral("发送");

QString timeText(const QDateTime& t)
{
    return t.toString(kTimeFormat);
}

qint64 secondsSince(const QString& text, const QDateTime& now)
{
    const QDateTime t = QDateTime::fromString(text, kTimeFormat);
    return t.isValid() ? std::max<qint64>(0, t.secsTo(now)) : 0;
}

QString placeOf(const Row& r)
{
    const QString station = r.text(6);
    if (station != kShipping)
        return station;
    return r.text(7) == kShipping ? QStringLiteral("待发货") : QStringLiteral("待确认");
}

void addPlace(QList<Place>& places, const QString& name, qint64 pieces)
{
    for (Place& p : places)
        if (p.name == name) {
            p.pieces += pieces;
            return;
        }
    places.append({name, pieces});
}

Outcome readStations(mySQLTool& db, const QDateTime& now, Figures& out)
{
    const Rows names = db.Read(boardq::stations(db));
    if (!names)
        return names.failed();
    const Rows waiting = db.Read(boardq::waiting(db, timeText(now), timeText(now.addSecs(-kRecentSeconds)),
                                                 timeText(now.addSecs(-kDaySeconds))));
    if (!waiting)
        return waiting.failed();
    const Rows finished = db.Read(boardq::finished(db, now.toString(QStringLiteral("yyyy-MM-dd"))));
    if (!finished)
        return finished.failed();

    QHash<QString, Station> found;
    for (const Row& r : waiting) {
        Station& s = found[r.text(0)];
        s.flows = r.toInt(1);
        s.pieces = r.toInt64(2);
        s.oldestSeconds = secondsSince(r.text(3), now);
        s.pieceHours = r.toDouble(4) / 3600.0;
        for (int b = 0; b < 3; ++b)
            s.bands[b] = r.toInt64(5 + b);
    }
    for (const Row& r : finished)
        found[r.text(0)].finishedToday = r.toInt64(1);
    for (const Row& r : names) {
        if (r.isNull(0))
            continue;
        Station s = found.value(r.text(0));
        s.name = r.text(0);
        out.stations.append(s);
    }
    double most = 0;
    for (int i = 0; i < out.stations.size(); ++i)
        if (out.stations[i].pieceHours > most) {
            most = out.stations[i].pieceHours;
            out.bottleneck = i;
        }
    return Outcome::done();
}

Outcome readTeams(mySQLTool& db, const QDateTime& now, Figures& out)
{
    const QString today = now.toString(QStringLiteral("yyyy-MM-dd"));
    const QString yesterday = now.addDays(-1).toString(QStringLiteral("yyyy-MM-dd"));
    const Rows rows = db.Read(boardq::teams(db, yesterday + QStringLiteral(" 00:00:00")));
    if (!rows)
        return rows.failed();
    QHash<QString, int> index;
    for (const Row& r : rows) {
        const QString day = r.text(1);
        if (day != today && day != yesterday)
            continue;  // a clock running ahead somewhere
        auto it = index.constFind(r.text(0));
        if (it == index.constEnd()) {
            it = index.insert(r.text(0), int(out.teams.size()));
            out.teams.append({r.text(0), 0, 0});
        }
        (day == today ? out.teams[*it].today : out.teams[*it].yesterday) += r.toDouble(2);
    }
    std::sort(out.teams.begin(), out.teams.end(), [](const Team& a, const Team& b) {
        if (a.today != b.today)
            return a.today > b.today;
        if (a.yesterday != b.yesterday)
            return a.yesterday > b.yesterday;
        return a.name < b.name;
    });
    return Outcome::done();
}

Outcome readRush(mySQLTool& db, Figures& out)
{
    const Rows rows = db.Read(boardq::rushOrders(db, kRushShown));
    if (!rows)
        return rows.failed();
    for (const Row& r : rows) {
        if (out.rush.isEmpty() || out.rush.last().order != r.toId(0)) {
            RushOrder o;
            o.order = r.toId(0);
            o.customer = r.text(1);
            o.priority = r.text(2);
            o.pieces = r.toInt(3);
            if (r.toInt(4) == 0)
                o.places.append({QStringLiteral("未激活"), o.pieces});
            out.rush.append(o);
            out.rushTotal = r.toInt(5);
        }
        if (!r.isNull(6))
            addPlace(out.rush.last().places, placeOf(r), r.toInt64(8));
    }
    return Outcome::done();
}

Outcome readShipping(mySQLTool& db, const QDateTime& now, Figures& out)
{
    const Rows rows = db.Read(boardq::shippingWaiting(db, kShippingShown));
    if (!rows)
        return rows.failed();
    for (const Row& r : rows)
        out.shipping.append(
            {r.toId(0), r.toId(1), r.text(2), r.text(3), r.toInt(4), secondsSince(r.text(5), now)});
    return Outcome::done();
}

}  // namespace

Band bandOf(qint64 seconds)
{
    return seconds < kRecentSeconds ? Recent : seconds < kDaySeconds ? Today : Old;
}

QString hoursMinutes(qint64 seconds)
{
    const qint64 minutes = std::max<qint64>(0, seconds) / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

Outcome read(mySQLTool& db, const QDateTime& now, Figures& out)
{
    out = Figures();
    const mySQLTool::Traffic before = db.traffic();
    Outcome o = readStations(db, now, out);
    if (o)
        o = readTeams(db, now, out);
    if (o)
        o = readRush(db, out);
    if (o)
        o = readShipping(db, now, out);
    const mySQLTool::Traffic after = db.traffic();
    out.statements = after.statements - before.statements;
    out.roundTrips = after.roundTrips - before.roundTrips;
    out.serverMs = (after.waitNs - before.waitNs) / 1e6;
    out.taken = now;
    return o;
}

}  // namespace board
