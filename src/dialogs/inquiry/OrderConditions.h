#pragma once

#include "dialogs/inquiry/InquiryProQueries.h"
#include "parts/ConditionPanel.h"

#include <QWidget>
#include <optional>

class QPushButton;

// The conditions of the order inquiry, in their fixed order: customer, technology, receiver,
// nature, type, style, the times of intake, activation and closing, and the switch that
// includes closed orders. Each switch unlocks its own input.
class OrderConditions : public QWidget {
    Q_OBJECT
public:
    explicit OrderConditions(QWidget* parent = nullptr);

    // Fills the customer and technology lists and the four drop-downs.
    void load();

    // The filter of the ticked conditions; none after the message of a ticked condition
    // without its input.
    std::optional<inquiryproq::Filter> read() const { return panel_.read(); }

    QPushButton* queryButton() const { return query_; }

private:
    ConditionPanel<inquiryproq::Filter> panel_;
    KvGrid* customers_;
    KvGrid* technologies_;
    QComboBox* receiver_;
    QComboBox* nature_;
    QComboBox* type_;
    QComboBox* kind_;
    QPushButton* query_;
};
