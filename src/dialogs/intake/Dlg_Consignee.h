#pragma once

#include "db/Outcome.h"

#include <QDialog>

class ConsigneeForm;
class ConsigneeQueues;
class QTimer;
class ScanBox;

// The intake desk "来货登记": registering, editing and activating orders, and the queues
// of what waits at intake with the actions on them.
class Dlg_Consignee : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Consignee(QWidget* parent = nullptr);

    bool editing() const { return editMode_; }
    quint64 orderUnderEdit() const { return editing_; }

    // Closing asks first while an order is being edited.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void onRefreshTimer();
    void submit();
    void editOrder();
    void endOrder();
    void cancelOrder();
    void refuseFlow();
    void forwardFlow();
    void moveFlow(bool refuse);
    // After an action another desk got in first: show what is there now.
    void afterRefusal(const Outcome& r, bool orders);
    // A scanned ticket: a waiting order's own ticket chooses it, so does a flow waiting here.
    void scanned(const QString& text);
    void printOrderTicket();
    void reprintFlow();

    ConsigneeForm* form_;
    ConsigneeQueues* queues_;
    ScanBox* scan_;
    QTimer* timer_;
    bool editMode_ = false;
    quint64 editing_ = 0;
};
