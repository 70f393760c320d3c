#pragma once

#include <QWidget>

class Conditions;
class KvGrid;
class QCheckBox;
class QComboBox;
class TimeCondition;

// The condition panel of the raw-material inquiry: each switch unlocks its input, and the
// ticked ones make the WHERE text on the searched table, in a fixed order.
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
    // The searched table of the mode.
    const char* table() const;

    // Adds the fragments of the ticked switches; false, after the condition's message, when
    // a ticked switch has no input.
    bool build(Conditions& where) const;

    KvGrid* materials() const { return materials_; }
    TimeCondition* time() const { return time_; }

private:
    QWidget* switched(QCheckBox*& box, const QString& caption, const char* name, QWidget* input);

    Mode mode_ = Mode::Purchases;
    QCheckBox* materialCheck_;
    KvGrid* materials_;
    QCheckBox* supplierCheck_;
    KvGrid* suppliers_;
    QCheckBox* clientCheck_;
    KvGrid* clients_;
    QWidget* supplierBox_;
    QWidget* clientBox_;
    QCheckBox* memberCheck_;
    KvGrid* members_;
    QCheckBox* teamCheck_;
    QComboBox* teams_;
    QCheckBox* accountCheck_;
    QComboBox* accounts_;
    TimeCondition* time_;
};
