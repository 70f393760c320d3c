#include "dialogs/shipping/ShipmentChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

ShipmentChart::ShipmentChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shipmentChart"));
    chart_ = new QChart;
    chart_->setTitle(QStringLiteral("本期发货金额"));
    chart_->legend()->hide();
    chart_->setMargins(QMargins(2, 2, 2, 2));
    view_ = new QChartView(chart_, this);
    view_->setObjectName(QStringLiteral("shipmentChartView"));
    view_->setAccessibleName(chart_->title());
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumWidth(300);
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
    std::stable_sort(bars.begin(), bars.end(),
                     [](const Bar& a, const Bar& b) { return a.amount > b.amount; });
    if (bars.size() > kMaxBars)
        bars.resize(kMaxBars);
    bars_ = bars;
    if (bars_.isEmpty())
        return;

    // A horizontal series counts its categories from the bottom: the smallest goes first.
    auto* set = new QBarSet(QStringLiteral("金额"));
    set->setLabelColor(palette().color(QPalette::WindowText));

    QStringList names;
    double most = 0;
    for (auto it = bars_.crbegin(); it != bars_.crend(); ++it) {
        *set << it->amount;
        names << it->name;
        most = std::max(most, it->amount);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    series->setLabelsVisible(true);
    // Outside the bar, so a short bar does not cut its own amount.
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(12);
    chart_->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    chart_->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setRange(0, most > 0 ? most * 1.3 : 1);

    values->setLabelFormat(QStringLiteral("%.0f"));
    values->setTickCount(3);
    chart_->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);

    connect(series, &QHorizontalBarSeries::clicked, this, [this](int index, QBarSet*) { barClicked(index); });
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
    const QPointF value(bars_.at(i).amount / 2, barCount() - 1 - i);
    const QPointF inChart = chart_->mapToPosition(value, series.first());
    return view_->mapFromScene(chart_->mapToScene(inChart));
}
