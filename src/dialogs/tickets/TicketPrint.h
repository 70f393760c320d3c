#pragma once

#include <QList>

class QWidget;

// Printing flow tickets from the desks, in the layout the PC's settings choose.
namespace tickets {

// "重印流水卡" and the like: a user asked, so the print dialog is shown (remembered).
void reprintFlow(QWidget* owner, quint64 flow);
void reprintOrder(QWidget* owner, quint64 order);

// The tickets of the flows an action made (activation, a hand-over), printed on the desk's own
// when the PC prints on its own (off by default: nothing happens then). A flow of no pieces
// carries no goods and gets no ticket.
void printMade(QWidget* owner, const QList<quint64>& flows);
// The same for a new waiting order's own ticket.
void printMadeOrder(QWidget* owner, quint64 order);

}  // namespace tickets
