#include "Shots.h"

#include "db/mySQLTool.h"
#include "dialogs/stations/Dlg_Station.h"
#include "dialogs/tickets/ops/Scan.h"
#include "flow/TicketCode.h"
#include "grid/KvGrid.h"
#include "print/TicketLayout.h"
#include "ui/AppState.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

namespace {

// Tickets of the washing station's open flows, the most urgent first.
QList<Ticket> washingTickets(int count)
{
    QList<Ticket> out;
    const Rows flows =
        g_sqlTool.Read(g_sqlTool.Format("select 流水号 from kvc_record_procedure where 工作站='洗水' and "
                                        "结讫=0 order by field(货物等级, '紧急', "
                                        "'加急') desc, 流水号 limit %d",
                                        count));
    for (const Row& r : flows) {
        Ticket t;
        if (const Outcome o = scan::loadFlowTicket(g_sqlTool, r.toId(0), t); !o.ok())
            std::fprintf(stderr, "  %s\n", qPrintable(o.text()));
        out.append(t);
    }
    return out;
}

QWidget* picture(const QImage& image, const QString& title)
{
    auto* l = new QLabel;
    l->setWindowTitle(title);
    l->setPixmap(QPixmap::fromImage(image));
    l->setContentsMargins(12, 12, 12, 12);
    l->setStyleSheet(QStringLiteral("background: #d0d0d0"));
    // Whole, however small the screen: a window is otherwise kept to part of it.
    l->setFixedSize(l->sizeHint());
    return l;
}

QWidget* label()
{
    const QList<Ticket> one = washingTickets(1);
    return picture(tickets::image(one.value(0), 10), QStringLiteral("流水卡（标签）"));
}

QWidget* sheet()
{
    return picture(tickets::sheetImage(washingTickets(8), 3.6), QStringLiteral("流水卡（A4）"));
}

QWidget* washing()
{
    g_station = QStringLiteral("洗水");
    return new Dlg_Station;
}

// The scanner reads the ticket of the queue's fourth flow: chosen and accepted.
void scanFourth(QWidget* w)
{
    KvGrid* queue = w->findChild<KvGrid*>(QStringLiteral("waitingList"));
    if (!queue || queue->GetItemCount() < 4)
        return;
    auto* box = w->findChild<QLineEdit*>(QStringLiteral("scanEdit"));
    QTest::keyClicks(box, ticket::qrText(ticket::Kind::Flow, queue->GetItemText(3, 0).toULongLong()));
    QTest::keyClick(box, Qt::Key_Return);
}

ShotRegistration labelShot{Shot{QStringLiteral("ticket_label"), label, nullptr}};
ShotRegistration sheetShot{Shot{QStringLiteral("ticket_sheet"), sheet, nullptr}};
ShotRegistration scanned{Shot{QStringLiteral("station_scanned"), washing, scanFourth}};

}  // namespace
