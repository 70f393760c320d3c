#pragma once

#include "dialogs/admin/AdminQueries.h"
#include "parts/ConditionPanel.h"

#include <QDialog>

class mySQLTool;

// The simple order inquiry "Inquiry" of production management: it only reads the conditions
// the order grid is loaded with and closes with OK.
class Dlg_Inquiry : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Inquiry(QWidget* parent = nullptr);

    // The filter of the last successful 查询.
    const adminq::OrderFilter& filter() const { return filter_; }
    // Reads the filter from the controls; false after a message, with nothing read.
    bool build(mySQLTool& db);

private:
    void query();

    ConditionPanel<adminq::OrderFilter> conditions_;
    adminq::OrderFilter filter_;
};
