#include "dialogs/shipping/ShipmentChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QHash>
#include <QHorizontalBarSeries>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Amounts as the office reads them: thousands separated.
const QLocale& chinese()
{
    static const QLocale locale(QLocale::Chinese, QLocale::China);
    return locale;
}

// A round distance between ticks (1, 2 or 5 times a power of ten) near `rough`.
double roundStep(double rough)
{
    if (!(rough > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double f = rough / power;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * power;
}

}  // namespace

ShipmentChart::ShipmentChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shipmentChart"));
    chart_ = new QChart;
    chart_->setTitle(QStringLiteral("本期发货金额"));
    chart_->legend()->hide();
    // Room on the right for the last tick's label, which stands centred on the axis' end.
    chart_->setMargins(QMargins(2, 2, 28, 2));
    view_ = new QChartView(chart_, this);
    view_->setObjectName(QStringLiteral("shipmentChartView"));
    view_->setAccessibleName(chart_->title());
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumWidth(300);
    connect(chart_, &QChart::plotAreaChanged, this, &ShipmentChart::placeAmounts);
}

QWidget* ShipmentChart::viewport() const
{
    return view_->viewport();
}

void ShipmentChart::setBars(QVector<Bar> bars)
{
    chart_->removeAllSeries();
    for (QAbstractAxis* axis : chart_->axes())
        chart_->removeAxis(axis);
    qDeleteAll(amounts_);
    amounts_.clear();
    std::stable_sort(bars.begin(), bars.end(),
                     [](const Bar& a, const Bar& b) { return a.amount > b.amount; });
    if (bars.size() > kMaxBars)
        bars.resize(kMaxBars);
    bars_ = bars;
    labels_.clear();
    lengths_.clear();
    ticks_.clear();
    if (bars_.isEmpty())
        return;

    // Three or four round ticks, with room beyond the biggest bar for its amount.
    double most = 0;
    for (const Bar& b : bars_)
        most = std::max(most, b.amount);
    const double range = most * 1.25;
    const double step = roundStep(range / 3);
    const double top = std::max(step, std::ceil(range / step) * step);
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step)));

    // A name that two customers share gets each one's number, so that no two bars merge on the
    // axis. A tiny amount is still a bar of a few pixels beside a big one; the amount written
    // beside each bar is exact, whatever the length it is drawn with.
    QHash<QString, int> named;
    for (const Bar& b : bars_)
        named[b.name] += 1;
    for (const Bar& b : bars_) {
        labels_ << (named.value(b.name) > 1 || b.name.isEmpty()
                        ? QStringLiteral("%1（%2）").arg(b.name).arg(b.client)
                        : b.name);
        lengths_ << (b.amount > 0 ? std::max(b.amount, top / 60) : 0.0);
        amounts_ << new QGraphicsSimpleTextItem(chinese().toString(b.amount, 'f', 2), chart_);
        amounts_.last()->setBrush(palette().color(QPalette::WindowText));
    }

    // A horizontal series counts its categories from the bottom: the smallest goes first.
    auto* set = new QBarSet(QStringLiteral("金额"));
    QStringList categories;
    for (int i = barCount() - 1; i >= 0; --i) {
        *set << lengths_.at(i);
        categories << labels_.at(i);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    chart_->addSeries(series);

    auto* names = new QBarCategoryAxis;
    names->append(categories);
    chart_->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto* values = new QCategoryAxis;
    values->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    values->setRange(0, top);
    values->setStartValue(0);
    for (int k = 0; k * step <= top + step / 2; ++k) {
        ticks_ << chinese().toString(k * step, 'f', decimals);
        values->append(ticks_.last(), k * step);
    }
    chart_->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    placeAmounts();

    connect(series, &QHorizontalBarSeries::clicked, this, [this](int index, QBarSet*) { barClicked(index); });
}

void ShipmentChart::placeAmounts()
{
    const QList<QAbstractSeries*> series = chart_->series();
    if (series.isEmpty())
        return;
    for (int i = 0; i < amounts_.size(); ++i) {
        const QPointF end =
            chart_->mapToPosition(QPointF(lengths_.at(i), barCount() - 1 - i), series.first());
        amounts_[i]->setPos(end.x() + 4, end.y() - amounts_[i]->boundingRect().height() / 2);
    }
}

void ShipmentChart::barClicked(int index)
{
    // Series indexes count from the bottom bar.
    const int i = barCount() - 1 - index;
    if (i >= 0 && i < barCount())
        Q_EMIT customerClicked(bars_.at(i).client);
}

QPoint ShipmentChart::barCenter(int i) const
{
    const QList<QAbstractSeries*> series = chart_->series();
    if (series.isEmpty() || i < 0 || i >= barCount())
        return QPoint();
    const QPointF value(lengths_.at(i) / 2, barCount() - 1 - i);
    const QPointF inChart = chart_->mapToPosition(value, series.first());
    return view_->mapFromScene(chart_->mapToScene(inChart));
}
