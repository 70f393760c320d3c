#pragma once

#include <QGraphicsSimpleTextItem>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QBarSet;
class QGraphicsSimpleTextItem;
class QChart;
class QChartView;
class QHorizontalBarSeries;

// A bar chart of what each customer was shipped in a period, the biggest customer on top, so
// that the office sees its biggest customers at a glance. Clicking a bar chooses its customer.
class ShipmentChart : public QWidget {
    Q_OBJECT
public:
    struct Bar {
        quint64 client = 0;
        QString name;
        double amount = 0;
    };
    // At most this many bars, the biggest customers.
    static constexpr int kMaxBars = 15;

    explicit ShipmentChart(QWidget* parent = nullptr);

    void setBars(QVector<Bar> bars);
    void clear() { setBars({}); }

    // The bars shown, top to bottom: the customer, the bar's label on the axis (the name, with
    // the customer's number where two share it), the amount written beside it and its drawn
    // length (at least a sixtieth of the axis, so that a tiny amount shows).
    int barCount() const { return static_cast<int>(bars_.size()); }
    const Bar& bar(int i) const { return bars_.at(i); }
    QString barLabel(int i) const { return labels_.value(i); }
    QString amountText(int i) const
    {
        return i >= 0 && i < amounts_.size() ? amounts_.at(i)->text() : QString();
    }
    double barLength(int i) const { return lengths_.value(i); }
    // The labels of the value axis, from 0 on.
    QStringList tickLabels() const { return ticks_; }
    // Where bar i is drawn, in the coordinates of viewport() (for clicking it).
    QPoint barCenter(int i) const;
    QWidget* viewport() const;

Q_SIGNALS:
    void customerClicked(quint64 client);

private:
    void barClicked(int index);
    void placeAmounts();
    QChartView* view_;
    QChart* chart_;
    QVector<Bar> bars_;  // top to bottom
    QStringList labels_;
    QVector<double> lengths_;
    QStringList ticks_;
    QList<QGraphicsSimpleTextItem*> amounts_;  // owned by the chart
};
