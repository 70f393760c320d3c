#pragma once

#include "db/Statement.h"

#include <QDialog>

class LossForm;
class QCheckBox;
class QPushButton;
class QRadioButton;
class RecordLists;
class TimeCondition;

// The loss registry "损耗登记": losses entered with their cause and the persons responsible,
// listed, edited in place and marked handled.
class Dlg_Quality : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Quality(QWidget* parent = nullptr);

    // Closing with edits not saved asks first.
    void reject() override;

private:
    // The conditions of the lists from the date choice and "显示已处理记录".
    Statement conditions() const;
    bool reload();
    // True when no edit waits; otherwise says to save or discard it first.
    bool editsSettled();

    void enter();
    void query();
    void markSelected();
    void markAll();
    void exportList();
    void toEntryMode();
    void toEditMode();
    void applyMode(bool edit);
    void saveEdits();
    void discardEdits();

    RecordLists* lists_;
    LossForm* form_;
    TimeCondition* dates_;
    QCheckBox* showHandled_;
    QRadioButton* entryMode_;
    QRadioButton* editMode_;
    QPushButton* save_;
    QPushButton* discard_;
    Statement where_;
};
