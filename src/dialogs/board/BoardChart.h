#pragma once

#include <QColor>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <array>

class QChart;
class QChartView;

// The pieces waiting at each station as one bar, stacked by how long they have waited:
// under 4 hours, 4 to 24 hours, over a day.
class BoardChart : public QWidget {
    Q_OBJECT
public:
    struct Colors {
        QColor text, grid;
        std::array<QColor, 3> bands;
    };
    explicit BoardChart(QWidget* parent = nullptr);

    void setBars(const QStringList& stations, const QVector<std::array<qint64, 3>>& pieces,
                 const Colors& colors);
    void setTextPixels(int pixels);
    // The pieces of band `band` drawn for station `i`; -1 when there is no such bar.
    qint64 piecesAt(int i, int band) const;

private:
    QChartView* view_;
    QChart* chart_;
    int pixels_ = 20;
    QVector<std::array<qint64, 3>> pieces_;
};
