#pragma once

#include "parts/PagedList.h"

// One order list of the shipping desk: the orders waiting for shipment, or those shipped
// and closed, a page of kListCap at a time with their total.
class OrderPager : public PagedList {
    Q_OBJECT
public:
    enum class Kind { Unshipped, Shipped };

    // `name` prefixes the objectNames of the list, its label and buttons.
    OrderPager(Kind kind, const QString& caption, const QString& name, QWidget* parent = nullptr);

    // Counts the orders and shows the first page.
    bool firstPage();

    // 货单号 of the selected row; 0 when no row is selected (`selected` tells which).
    quint64 selectedOrder(bool* selected = nullptr) const;

private:
    Kind kind_;
};
