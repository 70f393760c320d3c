#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

namespace shipping {

// The longest remark a docket takes, in GBK bytes.
inline constexpr int kRemarkBytes = 20;

// Stores the remark of a shipment.
Outcome setShipRemark(mySQLTool& db, quint64 serial, const QString& remark);

}  // namespace shipping
