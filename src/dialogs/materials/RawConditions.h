#pragma once

#include "dialogs/materials/MaterialQueries.h"
#include "parts/ConditionPanel.h"

#include <QWidget>
#include <optional>

class QCheckBox;

// The condition panel of the raw-material inquiry: each switch unlocks its input; the ticked
// ones make the filter of the searched table, in a fixed order.
class RawConditions : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Purchases, Issues };

    explicit RawConditions(QWidget* parent = nullptr);
    // Reads the lists and the drop-downs.
    void fill();
    // Shows the partner of the mode (suppliers or customers); the team condition only counts
    // for issues, and leaving issues clears its drop-down.
    void setMode(Mode mode);
    Mode mode() const { return mode_; }

    // The filter of the ticked switches; none, after the condition's message, when a ticked
    // switch has no input.
    std::optional<materialq::Filter> read() const { return panel_.read(); }

private:
    QWidget* switched(QCheckBox* box, QWidget* input);

    Mode mode_ = Mode::Purchases;
    ConditionPanel<materialq::Filter> panel_;
    KvGrid* materials_;
    KvGrid* suppliers_;
    KvGrid* clients_;
    QWidget* supplierBox_;
    QWidget* clientBox_;
    KvGrid* members_;
    QCheckBox* teamCheck_;
    QComboBox* teams_;
    QComboBox* accounts_;
};
