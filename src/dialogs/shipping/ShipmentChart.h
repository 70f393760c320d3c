#pragma once

#include <QVector>
#include <QWidget>

class QBarSet;
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

    // The bars shown, top to bottom.
    int barCount() const { return static_cast<int>(bars_.size()); }
    const Bar& bar(int i) const { return bars_.at(i); }
    // Where bar i is drawn, in the coordinates of viewport() (for clicking it).
    QPoint barCenter(int i) const;
    QWidget* viewport() const;

Q_SIGNALS:
    void customerClicked(quint64 client);

private:
    void barClicked(int index);
    QChartView* view_;
    QChart* chart_;
    QVector<Bar> bars_;  // top to bottom
};
