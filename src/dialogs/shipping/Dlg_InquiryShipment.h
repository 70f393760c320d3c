#pragma once

#include <QDialog>
#include <optional>

class KvGrid;
class PagedList;
class QCheckBox;
class QComboBox;
class QLineEdit;
class TimeCondition;
namespace shipmentq {
struct Filter;
}

// The shipment inquiry "查询发货": shipments found by up to ten conditions, paged, with the
// totals of every match; the page shown and the totals are exported.
class Dlg_InquiryShipment : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_InquiryShipment(QWidget* parent = nullptr);

private:
    // The ticked conditions; nothing after a message when one lacks its input.
    std::optional<shipmentq::Filter> readFilter();
    void search();
    void exportLists();

    QCheckBox* clientSwitch_;
    KvGrid* clients_;
    QCheckBox* technologySwitch_;
    KvGrid* technologies_;
    QCheckBox* shipperSwitch_;
    QComboBox* shipper_;
    QCheckBox* issuerSwitch_;
    QComboBox* issuer_;
    QCheckBox* styleSwitch_;
    QComboBox* style_;
    QCheckBox* sexSwitch_;
    QComboBox* sex_;
    TimeCondition* time_;
    QCheckBox* fuzzySwitch_;
    QLineEdit* fuzzy_;
    QCheckBox* orderSwitch_;
    QLineEdit* order_;
    QCheckBox* natureSwitch_;
    QComboBox* nature_;
    PagedList* result_;
    KvGrid* totals_;
};
