#pragma once

#include <QWidget>

class KvGrid;
class QPlainTextEdit;

// What the order inquiry shows of a clicked order: its flows still running in the workshop
// and its shipments; of a clicked running flow, its route history and the chain of steps
// behind it; of a clicked step, the employees who worked on it.
class OrderDetails : public QWidget {
    Q_OBJECT
public:
    // The most finished steps a chain shows, the newest ones.
    static constexpr int kStepCap = 100;

    explicit OrderDetails(QWidget* parent = nullptr);

    // Empties every pane, as before any order was clicked.
    void clear();
    // Shows the running flows and shipments of an order; the flow's panes are emptied.
    void showOrder(quint64 order);
    // Shows the history and the chain of steps of a flow, oldest step first; a finished step
    // shows its number and process step, an unfinished one (the flow itself) an empty row.
    void showFlow(quint64 flow);
    // Shows the employees' piece-work on a step.
    void showWorkers(quint64 flow);

    // The flow last clicked in the running-flow list; 0 before any.
    quint64 lastFlow() const { return lastFlow_; }

private:
    KvGrid* flows_;
    KvGrid* shipments_;
    QPlainTextEdit* history_;
    KvGrid* steps_;
    KvGrid* workers_;
    quint64 lastFlow_ = 0;
};
