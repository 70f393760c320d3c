#include "dialogs/tickets/TicketPrint.h"

#include "db/mySQLTool.h"
#include "dialogs/tickets/ops/Scan.h"
#include "print/myPrinter.h"
#include "ui/Prompt.h"

namespace tickets {

namespace {

void print(QWidget* owner, const QList<Ticket>& list, bool quietly)
{
    myPrinter printer(owner);
    prompt().report(printer.PrintTickets(list, settings().layout, quietly));
}

}  // namespace

void reprintFlow(QWidget* owner, quint64 flow)
{
    Ticket t;
    if (prompt().report(scan::loadFlowTicket(g_sqlTool, flow, t)))
        print(owner, {t}, false);
}

void reprintOrder(QWidget* owner, quint64 order)
{
    Ticket t;
    if (prompt().report(scan::loadOrderTicket(g_sqlTool, order, t)))
        print(owner, {t}, false);
}

void printMade(QWidget* owner, const QList<quint64>& flows)
{
    if (!settings().autoPrint)
        return;
    QList<Ticket> list;
    for (const quint64 flow : flows) {
        Ticket t;
        if (flow == 0)
            continue;
        if (!prompt().report(scan::loadFlowTicket(g_sqlTool, flow, t)))
            return;
        if (t.quantity > 0)
            list.append(t);
    }
    print(owner, list, true);
}

void printMadeOrder(QWidget* owner, quint64 order)
{
    Ticket t;
    if (settings().autoPrint && order != 0 && prompt().report(scan::loadOrderTicket(g_sqlTool, order, t)))
        print(owner, {t}, true);
}

}  // namespace tickets
