#pragma once

#include "print/DocketRecord.h"

#include <QString>

class ListModel;
class QWidget;

// Prints the shipment docket, the customer settlement and the customer statement: each
// is composed as page text and drawn line by line in one font after the user chose a
// printer (or a PDF file) in the print dialog.
class myPrinter {
public:
    explicit myPrinter(QWidget* owner = nullptr) : owner_(owner) {}

    bool PrintDocket(const DocketRecord& record);
    // An empty settlement list prints nothing and gives false without asking for a printer.
    bool PrintSettlement(const ListModel& settlement, const ListModel& totals, const QString& customer,
                         const QString& start, const QString& end);
    bool PrintStatement(const ListModel& settlement, const ListModel& statement, const QString& customer,
                        const QString& start, const QString& end);
    // True when a printer was chosen and the page text printed; false when the dialog was
    // cancelled or the job could not be started (the user is told).
    bool PrintText();

    const QString& pageText() const { return pageText_; }
    void setPageText(const QString& text) { pageText_ = text; }
    int fontSize() const { return fontSize_; }
    void setFontSize(int tenthsOfPoint) { fontSize_ = tenthsOfPoint; }

private:
    QWidget* owner_;
    QString pageText_;
    int fontSize_ = 120;
};
