#pragma once

#include "db/Outcome.h"
#include "print/DocketRecord.h"

class QWidget;
class mySQLTool;

// Fills a docket record from the shipment row `serial` and its customer; the print time
// is now.
Outcome loadShipmentDocket(mySQLTool& db, quint64 serial, DocketRecord& record);

// Shows the docket of shipment `serial` and prints it when the operator confirms it.
// True when it was printed.
bool printShipmentDocket(QWidget* owner, quint64 serial);
