#include "dialogs/board/BoardChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

BoardChart::BoardChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("waitingChart"));
    chart_ = new QChart;
    chart_->setBackgroundVisible(false);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->legend()->setAlignment(Qt::AlignTop);
    view_ = new QChartView(chart_, this);
    view_->setObjectName(QStringLiteral("waitingChartView"));
    view_->setAccessibleName(QStringLiteral("各工作站等待件数"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setStyleSheet(QStringLiteral("background: transparent"));
    view_->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void BoardChart::setTextPixels(int pixels)
{
    pixels_ = pixels;
}

qint64 BoardChart::piecesAt(int i, int band) const
{
    if (i < 0 || i >= pieces_.size() || band < 0 || band > 2)
        return -1;
    return pieces_[i][band];
}

void BoardChart::setBars(const QStringList& stations, const QVector<std::array<qint64, 3>>& pieces,
                         const Colors& colors)
{
    pieces_ = pieces;
    chart_->removeAllSeries();
    for (QAbstractAxis* axis : chart_->axes())
        chart_->removeAxis(axis);

    QFont f = font();
    f.setPixelSize(pixels_);
    const QStringList names = {QStringLiteral("4小时内"), QStringLiteral("4至24小时"),
                               QStringLiteral("超过1天")};
    auto* series = new QStackedBarSeries;
    qint64 most = 0;
    for (const auto& p : pieces)
        most = std::max(most, p[0] + p[1] + p[2]);
    for (int b = 0; b < 3; ++b) {
        auto* set = new QBarSet(names[b]);
        set->setColor(colors.bands[b]);
        set->setBorderColor(colors.bands[b]);
        for (const auto& p : pieces)
            *set << double(p[b]);
        series->append(set);
    }
    series->setBarWidth(0.7);
    chart_->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(stations);
    categories->setLabelsFont(f);
    categories->setLabelsColor(colors.text);
    categories->setGridLineVisible(false);
    categories->setLinePenColor(colors.grid);
    chart_->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);

    auto* values = new QValueAxis;
    values->setRange(0, most > 0 ? double(most) * 1.05 : 1);
    values->setLabelFormat(QStringLiteral("%d"));
    values->setTickCount(5);
    values->applyNiceNumbers();
    values->setLabelsFont(f);
    values->setLabelsColor(colors.text);
    values->setGridLineColor(colors.grid);
    values->setLinePenColor(colors.grid);
    chart_->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);

    chart_->legend()->setFont(f);
    chart_->legend()->setLabelColor(colors.text);
}
