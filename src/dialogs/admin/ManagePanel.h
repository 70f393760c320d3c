#pragma once

#include "db/Rows.h"
#include "db/Statement.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/admin/ops/ManageGrids.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>
#include <functional>
#include <map>

class KvGrid;
class QHBoxLayout;
class QLabel;
class QPushButton;

// One grid of production management with its 增加, 删除 and 保存: it keeps the rows as loaded
// and saves the differences (manage::save). A failed save leaves the grid as edited.
class ManagePanel : public QGroupBox {
    Q_OBJECT
public:
    ManagePanel(manage::Grid grid, QWidget* parent = nullptr);

    manage::Grid kind() const { return kind_; }
    KvGrid* grid() const { return grid_; }
    QPushButton* saveButton() const { return save_; }
    // The row of buttons, for a screen's own controls beside them.
    QHBoxLayout* buttonRow() const { return buttons_; }

    // The statement the grid is loaded with (read at every load), asked for at most `limit` rows.
    void setSource(std::function<Statement(int limit)> source) { source_ = std::move(source); }
    // Cell editors (the drop-downs' choices read now, or taken from `choices` when read
    // before) and 增加/删除.
    void setEditable(bool cells, bool addRemove, const std::map<adminq::Choice, Rows>* choices = nullptr);
    // The choices the cell editors read.
    QList<adminq::Choice> choicesUsed() const;
    // The statement a load reads.
    Statement loadStatement() const;

    // Loads the grid (from `read` when read before) and takes the new loaded copy; the grid is
    // then unchanged. False after a failure was shown.
    bool load(const Rows* read = nullptr);
    bool changed() const { return changed_; }
    // Asks "是否放弃所做的修改？" when there are unsaved changes; true to go on.
    bool mayDiscard();

private:
    void addRow();
    void removeRow();
    void save();
    void editEnded(int row, int column);
    void setChanged(bool changed);
    QList<QStringList> gridRows() const;

    manage::Grid kind_;
    KvGrid* grid_;
    QHBoxLayout* buttons_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* save_;
    QLabel* note_ = nullptr;
    std::function<Statement(int)> source_;
    QList<QStringList> loaded_;
    bool changed_ = false;
    bool cellsEditable_ = false;
};
