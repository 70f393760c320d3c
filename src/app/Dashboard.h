#pragma once

#include "db/Statement.h"

#include <QStringList>
#include <QWidget>

class KvGrid;
class Rows;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class mySQLTool;

// The body of the main window: the open orders, the open flows of the selected order
// with a flow's route, and four summary tables. Read-only; rebuilt by Refresh().
class Dashboard : public QWidget {
    Q_OBJECT
public:
    explicit Dashboard(mySQLTool& db, QWidget* parent = nullptr);

    // Fills a list under the list-filling contract, showing its failures; 1, 0 or -1.
    int FillList(KvGrid& list, const Statement& statement, bool clear);
    // Each filler reads its statements, or takes their answers when given (read together by
    // Refresh).
    int FillOrderList(const Rows* read = nullptr);
    // Each builder returns 1, or -1 when one of its queries failed (no message; the
    // table keeps the rows built so far).
    int FillMethodTable(const Rows* read = nullptr);
    int FillWaitingTable(const Rows* stations = nullptr, const Rows* counts = nullptr);
    int FillFinishedTable(const Rows* stations = nullptr, const Rows* counts = nullptr);
    int FillTechnologyTable(const Rows* read = nullptr);
    // The order list and the four tables, read in one exchange; the flow list and the route stay.
    void Refresh();

    quint64 SelectedOrder() const { return selectedOrder_; }

    KvGrid* orders() const { return orders_; }
    KvGrid* flows() const { return flows_; }
    KvGrid* methods() const { return methods_; }
    KvGrid* technologies() const { return technologies_; }
    KvGrid* waiting() const { return waiting_; }
    KvGrid* finished() const { return finished_; }
    QPlainTextEdit* history() const { return history_; }
    QLabel* orderCaption() const { return orderCaption_; }
    QLabel* methodCaption() const { return methodCaption_; }
    QPushButton* refreshButton() const { return refresh_; }

private:
    void selectOrder();
    void selectFlow();
    // Station names of the station table, intake left out; false when the query failed.
    bool collectStations(QStringList& out, const Rows* read);
    // One row (station, count, pieces) a station, from the counts per station; false when
    // a read failed (the table stays empty).
    bool fillStationTable(KvGrid& table, QStringList& stations, const Statement& counts,
                          const Rows* stationsRead, const Rows* countsRead);

    mySQLTool& db_;
    KvGrid* orders_;
    KvGrid* flows_;
    KvGrid* methods_;
    KvGrid* technologies_;
    KvGrid* waiting_;
    KvGrid* finished_;
    QPlainTextEdit* history_;
    QLabel* orderCaption_;
    QLabel* methodCaption_;
    QLabel* technologyCaption_;
    QLabel* waitingCaption_;
    QLabel* finishedCaption_;
    QPushButton* refresh_;
    quint64 selectedOrder_ = 0;
    // What the builders collected.
    QStringList methodTexts_;
    QStringList technologyNames_;
    QStringList waitingStations_;
    QStringList finishedStations_;
};
