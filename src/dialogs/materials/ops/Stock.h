#pragma once

#include <QString>
#include <optional>

// Material stock and prices as the desks show and write them.
namespace materials {

// The average purchase price of a material from its running totals; none while no quantity
// was counted in (a material never bought, or one whose totals were set by hand with money
// but no quantity), rather than a division by zero.
std::optional<double> averagePrice(double quantity, double money);
// The 均价 cell: "%.2f" above 0, "0" otherwise, empty when there is none.
QString averageText(std::optional<double> average);

// Quantities and money are written with six decimals and kept so: every change of a running
// total is rounded to them, so that stock that came in as 0.3 and went out as 0.1 leaves 0.2
// that can be issued whole.
inline constexpr int kDecimals = 6;
// A number the desks may write: finite, and not one that six decimals turn into 0 (it would
// change nothing and still be booked).
bool writable(double v);

}  // namespace materials
