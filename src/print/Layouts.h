#pragma once

#include "print/DocketRecord.h"

#include <QString>

class ListModel;

// The three printed documents as page text: lines ending in a line feed, columns
// counted in GBK bytes. The lists are taken by column position, not by caption.
namespace layout {

inline constexpr int kDocketFontSize = 120;  // tenths of a point
inline constexpr int kListFontSize = 100;
inline constexpr int kListMargin = 2;
inline constexpr int kSettlementWidths[] = {8, 54, 10, 10, 10};
inline constexpr int kStatementWidths[] = {8, 8, 20, 10, 15, 10, 10, 24};
// Continuation lines of a docket's product name, washing method and remark; what is
// left after them has no room on the form.
inline constexpr int kDocketContinuations = 3;

QString docket(const DocketRecord& record);
// Empty when the settlement list has no rows.
QString settlement(const ListModel& settlement, const ListModel& totals, const QString& customer,
                   const QString& start, const QString& end);
QString statement(const ListModel& settlement, const ListModel& statement, const QString& customer,
                  const QString& start, const QString& end);

}  // namespace layout
