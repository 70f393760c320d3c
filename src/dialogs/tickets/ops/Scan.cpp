#include "dialogs/tickets/ops/Scan.h"

#include "db/Rows.h"
#include "db/mySQLTool.h"
#include "dialogs/tickets/TicketQueries.h"
#include "flow/Flow.h"
#include "flow/TicketCode.h"

#include <QStringList>

namespace scan {

namespace {

// A chain of pass-ons is short; this only bounds a damaged one.
constexpr int kFollowLimit = 8;

Outcome readPlace(mySQLTool& db, quint64 flow, FlowPlace& p)
{
    const Rows read = db.Read(ticketq::flowPlace(db, flow));
    if (!read)
        return read.failed();
    if (read.empty())
        return Outcome::refused(QStringLiteral("没有流水%1").arg(flow));
    using C = ticketq::Place;
    const Row& r = read.first();
    p.flow = flow;
    p.order = r.toId(C::Order);
    p.station = r.text(C::Station);
    p.previous = r.text(C::Previous);
    p.state = r.toInt(C::State);
    p.process = r.text(C::Process);
    p.quantity = r.toInt(C::Quantity);
    p.orderActive = r.toInt(C::OrderActive);
    p.orderState = r.toInt(C::OrderState);
    p.next.clear();
    if (p.open())
        return Outcome::done();
    const Rows next = db.Read(ticketq::successors(db, p.order, flow));
    if (!next)
        return next.failed();
    using N = ticketq::Successors;
    for (const Row& n : next)
        p.next.append({n.toId(N::Flow), n.text(N::Station), n.text(N::Previous), n.toInt(N::State),
                       n.toInt(N::Quantity)});
    return Outcome::done();
}

QString where(const QString& station)
{
    return station + QStringLiteral("站");
}

Outcome fromTicketRow(const Rows& read, const QString& missing, Ticket& t, ticket::Kind kind)
{
    if (!read)
        return read.failed();
    if (read.empty())
        return Outcome::refused(missing);
    using C = ticketq::TicketRow;
    const Row& r = read.first();
    t = Ticket();
    t.flow = r.toId(C::Flow);
    t.order = r.toId(C::Order);
    t.style = r.text(C::Style);
    t.customer = r.text(C::Customer);
    t.nature = r.text(C::Nature);
    t.type = r.text(C::Type);
    t.kind = r.text(C::Kind);
    t.sex = r.text(C::Sex);
    t.method = r.text(C::Method);
    t.priority = r.text(C::Priority);
    t.quantity = r.toInt(C::Quantity);
    t.station = r.text(C::Station);
    t.made = r.text(C::Made);
    const quint64 id = kind == ticket::Kind::Flow ? t.flow : t.order;
    t.code = ticket::qrText(kind, id);
    t.hand = ticket::handText(kind, id);
    return Outcome::done();
}

}  // namespace

bool FlowPlace::atShipping() const
{
    return open() && station == flow::kShipping;
}

bool FlowPlace::confirmed() const
{
    return atShipping() && previous == flow::kShipping;
}

Outcome findFlow(mySQLTool& db, quint64 flow, FlowPlace& out, bool follow)
{
    out = FlowPlace();
    out.scanned = flow;
    if (const Outcome read = readPlace(db, flow, out); !read)
        return read;
    for (int hop = 0; follow && hop < kFollowLimit; ++hop) {
        const bool passedOn = !out.open() && (out.station == flow::kIntake || out.station == flow::kShipping);
        if (!passedOn || out.next.size() != 1)
            break;
        if (const Outcome read = readPlace(db, out.next.first().flow, out); !read)
            return read;
    }
    return Outcome::done();
}

QString describe(const FlowPlace& p)
{
    if (p.orderState == 1 || p.orderState == 2)
        return QStringLiteral("流水%1所属的货单%2%3")
            .arg(p.scanned)
            .arg(p.order)
            .arg(p.orderState == 1 ? QStringLiteral("已结讫") : QStringLiteral("已取消"));
    // A flow followed through intake or shipping: say which flow carries the goods now.
    const QString name = QStringLiteral("流水%1").arg(p.flow);
    const QString lead =
        p.flow == p.scanned ? name : QStringLiteral("流水%1的货物已转为%2，%2").arg(p.scanned).arg(name);
    if (p.confirmed())
        return lead + QStringLiteral("已在发送站确认，等待发货");
    if (p.atShipping())
        return lead + QStringLiteral("在发送站，等待确认");
    if (p.open() && p.station == flow::kIntake)
        return lead + QStringLiteral("在接收站，等待来货登记处理");
    if (p.open())
        return lead + QStringLiteral("在") + where(p.station);
    const QString done =
        p.process.isEmpty() ? QStringLiteral("已结讫") : QStringLiteral("已处理（%1）").arg(p.process);
    if (p.next.isEmpty())
        return lead + done + QStringLiteral("，没有后续流水");
    QStringList went;
    for (const Next& n : p.next)
        went.append(QStringLiteral("流水%1%2%3（%4件）")
                        .arg(n.flow)
                        .arg(n.state == 0 ? QStringLiteral("在") : QStringLiteral("已离开"), where(n.station))
                        .arg(n.quantity));
    return lead + done + QStringLiteral("，货物去向：") + went.join(QStringLiteral("；"));
}

Outcome findOrder(mySQLTool& db, quint64 order, OrderPlace& out)
{
    out = OrderPlace();
    const Rows read = db.Read(ticketq::orderState(db, order));
    if (!read)
        return read.failed();
    if (read.empty())
        return Outcome::refused(QStringLiteral("没有货单%1").arg(order));
    out.order = order;
    out.active = read.first().toInt(ticketq::OrderState::Active);
    out.state = read.first().toInt(ticketq::OrderState::State);
    return Outcome::done();
}

QString describe(const OrderPlace& p)
{
    const QString name = QStringLiteral("货单%1").arg(p.order);
    if (p.state == 1)
        return name + QStringLiteral("已结讫");
    if (p.state == 2)
        return name + QStringLiteral("已取消");
    if (p.active == 0)
        return name + QStringLiteral("等待激活");
    if (p.active == 2)
        return name + QStringLiteral("未经车间处理，已送往发送站");
    return name + QStringLiteral("已激活，请扫描流水卡");
}

Outcome loadFlowTicket(mySQLTool& db, quint64 flow, Ticket& out)
{
    return fromTicketRow(db.Read(ticketq::flowTicket(db, flow)), QStringLiteral("没有流水%1").arg(flow), out,
                         ticket::Kind::Flow);
}

Outcome loadOrderTicket(mySQLTool& db, quint64 order, Ticket& out)
{
    return fromTicketRow(db.Read(ticketq::orderTicket(db, order)), QStringLiteral("没有货单%1").arg(order),
                         out, ticket::Kind::Order);
}

}  // namespace scan
