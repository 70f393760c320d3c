#pragma once

#include "parts/Export.h"

class ListModel;

// The exports of the shipment statistics: each list in the text layout, or a workbook laid out
// as the printed page (title, customer, period, the lines and the totals).
namespace statementExport {

struct Page {
    QString customer, start, end;  // the period's days, "YYYY-MM-DD"
};

// "洗水厂结算单": the settlement lines, then the totals.
exporting::Export settlement(const ListModel& lines, const ListModel& totals, const Page& page);
// "洗水厂对账单": each settlement line with the shipments under it, then the totals.
exporting::Export statement(const ListModel& lines, const ListModel& shipments, const ListModel& totals,
                            const Page& page);

}  // namespace statementExport
