#pragma once

#include "db/Rows.h"
#include "flow/Shipping.h"

#include <QDialog>
#include <optional>

class KvGrid;
class OrderPager;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class ScanBox;
class ShipmentBlock;

// The shipping desk "发送": the orders with goods at shipping, where the chosen order's
// goods are, confirming and returning arriving flows, shipments, closing and repair.
class Dlg_Shipper : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Shipper(QWidget* parent = nullptr);

    // 货单号 of the order last chosen in an order list; 0 for none.
    quint64 currentOrder() const { return current_; }

Q_SIGNALS:
    // A shipment row was chosen for its docket.
    void docketRequested(quint64 serial);

private Q_SLOTS:
    // Shows the docket of a shipment and prints it.
    void openDocket(quint64 serial);
    void onRefreshTimer();

private:
    QGroupBox* flowGroup(const QString& caption, const QString& name, KvGrid*& list, QLineEdit*& sum);
    void showOrders(bool unshipped);
    void orderClicked(OrderPager* pager, int row);
    void loadOrder();
    void reloadCurrent();
    void clearLower();
    // The figures, from the order's quantities when read before.
    void computeFigures(const std::optional<Rows>& quantities = std::nullopt);

    // The flow of the selected row of the waiting list; 0 after a message.
    quint64 chosenWaitingFlow(const QString& noSelection);
    void confirmFlow();
    void returnFlow();
    void afterFlowAction(const Outcome& r);
    void refresh();
    void submit();
    void closeOrder();
    void repair();
    void printDocket();
    // A scanned ticket: a flow at 发送 chooses its order and the flow; an order's ticket its order.
    void scanned(const QString& text);
    void chooseOrder(quint64 order);
    void reprint();

    QRadioButton* radioUnshipped_;
    QRadioButton* radioShipped_;
    OrderPager* unshipped_;
    OrderPager* shipped_;
    KvGrid* pending_ = nullptr;
    KvGrid* waiting_ = nullptr;
    KvGrid* confirmed_ = nullptr;
    KvGrid* shippedGoods_ = nullptr;
    QLineEdit* pendingSum_ = nullptr;
    QLineEdit* waitingSum_ = nullptr;
    QLineEdit* confirmedSum_ = nullptr;
    QLineEdit* shippedSums_[4] = {};
    ShipmentBlock* block_;
    ScanBox* scan_;
    KvGrid* lastFlowList_ = nullptr;  // the flow list last clicked, for "重印流水卡"
    QTimer* timer_;
    quint64 current_ = 0;
    shipping::Shippable figures_;
};
