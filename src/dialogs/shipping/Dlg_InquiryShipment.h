#pragma once

#include "dialogs/shipping/ShipmentQueries.h"
#include "parts/ConditionPanel.h"

#include <QDialog>

class KvGrid;
class PagedList;

// The shipment inquiry "查询发货": shipments found by up to ten conditions, paged, with the
// totals of every match; every shipment found and the totals are exported.
class Dlg_InquiryShipment : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_InquiryShipment(QWidget* parent = nullptr);

private:
    void search();
    void exportLists();

    ConditionPanel<shipmentq::Filter> conditions_;
    PagedList* result_;
    KvGrid* totals_;
    // The conditions of the last search, which the export reads again.
    std::optional<shipmentq::Filter> found_;
};
