#pragma once

#include "db/Outcome.h"
#include "print/DocketRecord.h"
#include "print/TicketLayout.h"

#include <QString>

class ListModel;
class QWidget;

// Prints the shipment docket, the customer settlement and the customer statement: each
// is composed as page text and drawn line by line in one font after the user chose a
// printer (or a PDF file) in the print dialog. Also prints the flow tickets.
class myPrinter {
public:
    explicit myPrinter(QWidget* owner = nullptr) : owner_(owner) {}

    // Each gives what the screen shows: done, cancelled (the print dialog was cancelled, or an
    // empty settlement list, which prints nothing without asking for a printer) or refused
    // when the job could not be done.
    Outcome PrintDocket(const DocketRecord& record);
    Outcome PrintSettlement(const ListModel& settlement, const ListModel& totals, const QString& customer,
                            const QString& start, const QString& end);
    Outcome PrintStatement(const ListModel& settlement, const ListModel& statement, const QString& customer,
                           const QString& start, const QString& end);
    Outcome PrintText();
    // Tickets in a layout; `quietly`: a desk printing on its own (PrinterChooser::chooseQuietly).
    // Nothing to print is cancelled without asking for a printer.
    Outcome PrintTickets(const QList<Ticket>& tickets, tickets::Layout layout, bool quietly = false);

    const QString& pageText() const { return pageText_; }
    void setPageText(const QString& text) { pageText_ = text; }
    int fontSize() const { return fontSize_; }
    void setFontSize(int tenthsOfPoint) { fontSize_ = tenthsOfPoint; }

private:
    QWidget* owner_;
    QString pageText_;
    int fontSize_ = 120;
};
