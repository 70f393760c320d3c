#pragma once

#include "db/Statement.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;
class TimeCondition;
class mySQLTool;

// The simple order inquiry "Inquiry" of production management: it only builds the condition
// the order grid is loaded with ("where ..." or nothing) and closes with OK.
class Dlg_Inquiry : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Inquiry(QWidget* parent = nullptr);

    // The clause of the last successful 查询: "where " and the conditions, or empty.
    const Statement& clause() const { return clause_; }
    // Builds the clause from the controls; false after a message, with nothing built.
    bool build(mySQLTool& db);

private:
    void query();
    void timeSwitched(bool on);

    QCheckBox* client_;
    QComboBox* clients_;
    QCheckBox* nature_;
    QComboBox* natures_;
    QCheckBox* withWaiting_;
    QCheckBox* withClosed_;
    QCheckBox* time_;
    QButtonGroup* timeKinds_;
    QRadioButton* kinds_[3];
    TimeCondition* range_;
    Statement clause_;
};
