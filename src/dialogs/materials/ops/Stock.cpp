#include "dialogs/materials/ops/Stock.h"

#include <cmath>

namespace materials {

std::optional<double> averagePrice(double quantity, double money)
{
    if (quantity == 0)
        return std::nullopt;
    return money / quantity;
}

QString averageText(std::optional<double> average)
{
    if (!average)
        return QString();
    return *average > 0 ? QString::asprintf("%.2f", *average) : QStringLiteral("0");
}

bool writable(double v)
{
    // Beyond 1e15 the six decimals of %f are no longer kept.
    return std::isfinite(v) && std::fabs(v) < 1e15 && std::round(v * 1e6) != 0;
}

}  // namespace materials
