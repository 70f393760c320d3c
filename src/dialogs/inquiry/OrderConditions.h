#pragma once

#include <QWidget>

class Conditions;
class KvGrid;
class QCheckBox;
class QComboBox;
class QPushButton;
class TimeCondition;

// The conditions of the order inquiry, in their fixed order: customer, technology, receiver,
// nature, type, style, the times of intake, activation and closing, and the switch that
// includes closed orders. Each switch unlocks its own input.
class OrderConditions : public QWidget {
    Q_OBJECT
public:
    explicit OrderConditions(QWidget* parent = nullptr);

    // Fills the customer and technology lists and the four drop-downs.
    void load();

    // Adds the fragment of every ticked condition to `where`, in order. A ticked condition
    // without its input stops the build: its message is returned (empty when complete).
    QString build(Conditions& where) const;

    QPushButton* queryButton() const { return query_; }

private:
    QCheckBox* addSwitch(const QString& caption, const char* name);
    QComboBox* addCombo(QCheckBox* box, const char* name);
    KvGrid* addList(QCheckBox* box, const char* name,
                    std::initializer_list<std::pair<const char*, int>> columns);

    QCheckBox* customerSwitch_;
    KvGrid* customers_;
    QCheckBox* technologySwitch_;
    KvGrid* technologies_;
    QCheckBox* receiverSwitch_;
    QComboBox* receiver_;
    QCheckBox* natureSwitch_;
    QComboBox* nature_;
    QCheckBox* typeSwitch_;
    QComboBox* type_;
    QCheckBox* kindSwitch_;
    QComboBox* kind_;
    TimeCondition* received_;
    TimeCondition* activated_;
    TimeCondition* closed_;
    QCheckBox* includeClosed_;
    QPushButton* query_;
};
