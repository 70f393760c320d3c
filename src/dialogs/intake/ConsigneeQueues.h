#pragma once

#include "db/Batch.h"
#include "db/Statement.h"

#include <QWidget>

class KvGrid;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The queues of the intake desk: orders released into the workshop, orders waiting to be
// activated and flows sent back to intake, with the buttons that act on them.
class ConsigneeQueues : public QWidget {
    Q_OBJECT
public:
    explicit ConsigneeQueues(QWidget* parent = nullptr);

    void fillActivated();
    void fillWaitingOrders();
    void fillWaitingFlows();
    // The three lists' reads, for one exchange with others; fill() takes their answers from
    // `at` on.
    QList<Statement> reads() const;
    void fill(const Batch& read, int at);

    KvGrid* activated() const { return activated_; }
    KvGrid* waitingOrders() const { return waitingOrders_; }
    KvGrid* waitingFlows() const { return waitingFlows_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* endButton() const { return end_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* refuseButton() const { return refuse_; }
    QPushButton* forwardButton() const { return forward_; }
    // Shows the waiting orders (true) or the waiting flows with their buttons.
    void showOrders(bool orders);

    // The key in the first column of the selected row; false when no row is selected.
    static bool selectedKey(const KvGrid* list, quint64& key);

private:
    QRadioButton* ordersRadio_;
    QRadioButton* flowsRadio_;
    QGroupBox* waitingBox_;
    KvGrid* activated_;
    KvGrid* waitingOrders_;
    KvGrid* waitingFlows_;
    QPushButton* edit_;
    QPushButton* end_;
    QPushButton* cancel_;
    QPushButton* refuse_;
    QPushButton* forward_;
};
