#pragma once

#include "dialogs/quality/QualityQueries.h"
#include "parts/ConditionPanel.h"

#include <QDialog>

class LossForm;
class QPushButton;
class QRadioButton;
class RecordLists;

// The loss registry "损耗登记": losses entered with their cause and the persons responsible,
// listed, edited in place and marked handled.
class Dlg_Quality : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Quality(QWidget* parent = nullptr);

    // Closing with edits not saved asks first.
    void reject() override;

private:
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
    // The lists' conditions: the date choice and "显示已处理记录"; the filter of the last 查询.
    ConditionPanel<qualityq::Filter> conditions_;
    qualityq::Filter filter_;
    QRadioButton* entryMode_;
    QRadioButton* editMode_;
    QPushButton* save_;
    QPushButton* discard_;
};
