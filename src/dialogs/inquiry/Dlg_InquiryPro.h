#pragma once

#include <QDialog>

class KvGrid;
class OrderConditions;
class OrderDetails;
class PagedList;
class ScanBox;
namespace inquiryproq {
struct Filter;
}

// The order inquiry "货单查询": orders matching the ticked conditions, a page at a time, with
// their count and the sums of their pieces; what a clicked order, flow and step hold.
class Dlg_InquiryPro : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_InquiryPro(QWidget* parent = nullptr);

    // Builds the statement from the conditions and shows the first page and the totals.
    // False when a condition lacked its input (its message shown, nothing run) or a
    // statement failed.
    bool query();

private:
    bool run(const inquiryproq::Filter& filter);
    void orderClicked(int row);
    // A scanned ticket shows its order, and of a flow's ticket the flow's chain.
    void scanned(const QString& text);
    void reprint();

    OrderConditions* conditions_;
    PagedList* orders_;
    KvGrid* totals_;
    OrderDetails* details_;
    ScanBox* scan_;
};
