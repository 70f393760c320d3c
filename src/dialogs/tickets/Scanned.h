#pragma once

#include "dialogs/tickets/ops/Scan.h"
#include "flow/TicketCode.h"

// What a desk's scan box read, looked up.
namespace scan {

struct Scanned {
    // None: nothing to act on, and why (an unreadable code, no such flow or order, a failed
    // read) has been shown.
    ticket::Kind kind = ticket::Kind::None;
    FlowPlace flow;    // kind Flow
    OrderPlace order;  // kind Order
};

// Reads the code and where what it names is; `follow` as in findFlow.
Scanned read(const QString& text, bool follow = true);

}  // namespace scan
