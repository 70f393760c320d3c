#pragma once

#include <QDialog>

class KvGrid;
class QDateEdit;
class ShipmentChart;

// The shipment statistics "发货统计": the customers shipped to in a period with a chart of
// their amounts, and for the chosen customer the settlement ("客户结算单一览") per washing
// method and unit price with its totals and the statement ("客户对账单一览") of the shipments
// under each settlement line; both printed and exported.
class Dlg_InquiryShip : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_InquiryShip(QWidget* parent = nullptr);

    // The customer whose settlement is shown; 0 for none.
    quint64 shownCustomer() const { return shown_; }

private:
    void display();
    void customerRowClicked(int row);
    void chooseCustomer(quint64 client, const QString& name);
    void clearStatement();
    bool printable();
    void printSettlement();
    void printStatement();

    QDateEdit* start_;
    QDateEdit* end_;
    KvGrid* customers_;
    ShipmentChart* chart_;
    KvGrid* settlement_;
    KvGrid* totals_;
    KvGrid* statement_;
    // The period of the last 显示 ("YYYY-MM-DD"): the lists are built for it and printed with it.
    QString startDate_, endDate_;
    quint64 shown_ = 0;
    QString shownName_;
};
