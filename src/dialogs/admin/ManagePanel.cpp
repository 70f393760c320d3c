#include "dialogs/admin/ManagePanel.h"

#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/ops/ManageSave.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using manage::Editor;
using manage::Grid;

namespace {

const QString kError = QStringLiteral("错误");
const QString kNotice = QStringLiteral("提示");

QString controlName(Grid grid, const char* suffix)
{
    return QString::fromLatin1(manage::shape(grid).name) + QLatin1String(suffix);
}

QStringList choiceList(adminq::Choice choice, const std::map<adminq::Choice, Rows>* choices)
{
    QStringList out;
    const auto known = choices ? choices->find(choice) : std::map<adminq::Choice, Rows>::const_iterator();
    const Rows read = choices && known != choices->end() ? known->second
                                                         : g_sqlTool.Read(adminq::choices(g_sqlTool, choice));
    prompt().report(read);
    for (const Row& r : read)
        if (!r.isNull(0))
            out.append(r.text(0));
    return out;
}

}  // namespace

ManagePanel::ManagePanel(Grid grid, QWidget* parent) : QGroupBox(parent), kind_(grid)
{
    const manage::GridShape& shape = manage::shape(grid);
    setTitle(QString::fromUtf8(shape.caption));
    setObjectName(controlName(grid, "Panel"));
    grid_ = new KvGrid(this);
    grid_->setObjectName(controlName(grid, "Grid"));
    grid_->setAccessibleName(title());
    QVector<std::pair<QString, int>> columns;
    for (const manage::Column& c : shape.columns)
        columns.append({QString::fromUtf8(c.caption), c.width});
    grid_->InsertColumns(columns);
    add_ = makeButton(QStringLiteral("增加"), "", this);
    add_->setObjectName(controlName(grid, "Add"));
    remove_ = makeButton(QStringLiteral("删除"), "", this);
    remove_->setObjectName(controlName(grid, "Delete"));
    save_ = makeButton(QStringLiteral("保存"), "", this);
    save_->setObjectName(controlName(grid, "Save"));

    buttons_ = new QHBoxLayout;
    buttons_->addWidget(add_);
    buttons_->addWidget(remove_);
    buttons_->addWidget(save_);
    buttons_->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    note_ = new QLabel(this);
    note_->setObjectName(controlName(grid, "Note"));
    note_->setVisible(shape.newestFirst);
    layout->addWidget(note_);
    layout->addLayout(buttons_);

    connect(add_, &QPushButton::clicked, this, &ManagePanel::addRow);
    connect(remove_, &QPushButton::clicked, this, &ManagePanel::removeRow);
    connect(save_, &QPushButton::clicked, this, &ManagePanel::save);
    connect(grid_, &KvGrid::editEnded, this, &ManagePanel::editEnded);
    setEditable(false, false);
    setChanged(false);
}

QList<adminq::Choice> ManagePanel::choicesUsed() const
{
    QList<adminq::Choice> used;
    for (const manage::Column& column : manage::shape(kind_).columns)
        if (column.editor == Editor::Choice && !used.contains(column.choice))
            used.append(column.choice);
    return used;
}

Statement ManagePanel::loadStatement() const
{
    // One row more than a list holds tells whether there are more.
    return source_ ? source_(kListCap + 1) : Statement();
}

void ManagePanel::setEditable(bool cells, bool addRemove, const std::map<adminq::Choice, Rows>* choices)
{
    const manage::GridShape& shape = manage::shape(kind_);
    cellsEditable_ = cells;
    for (int c = 0; c < shape.columns.size(); ++c) {
        const manage::Column& column = shape.columns[c];
        if (!cells || column.editor == Editor::None)
            grid_->RemoveEditor(c);
        else if (column.editor == Editor::Text)
            grid_->SetTextEditor(c);
        else if (column.editor == Editor::Flag)
            grid_->SetComboEditor(c, {QStringLiteral("1"), QStringLiteral("0")});
        else
            grid_->SetComboEditor(c, choiceList(column.choice, choices));
    }
    add_->setEnabled(addRemove);
    remove_->setEnabled(addRemove);
}

bool ManagePanel::load(const Rows* before)
{
    const manage::GridShape& shape = manage::shape(kind_);
    grid_->DeleteAllItems();
    loaded_.clear();
    setChanged(false);
    if (!source_)
        return false;
    const Rows read = before ? *before : g_sqlTool.Read(loadStatement());
    if (!prompt().report(read))
        return false;
    const int shown = std::min(read.size(), kListCap);
    QVector<QStringList> rows;
    rows.reserve(shown);
    for (int i = 0; i < shown; ++i) {
        QStringList cells = read.at(i).cells();
        if (shape.byName)
            cells.prepend(QString::number(i));
        rows.append(cells);
    }
    grid_->AppendItems(rows);
    loaded_ = gridRows();
    // The newest-first grids always say how many they show; the others only when cut.
    const bool cut = read.size() > kListCap;
    if (cut) {
        const QString note = QString::fromUtf8(shape.cutNote).arg(kListCap);
        note_->setText(shape.newestFirst ? note : note.arg(read.size()));
    } else if (shape.newestFirst) {
        note_->setText(
            (kind_ == Grid::Orders ? QStringLiteral("共%1张货单") : QStringLiteral("共%1条损耗记录"))
                .arg(shown));
    }
    note_->setVisible(cut || shape.newestFirst);
    return true;
}

QList<QStringList> ManagePanel::gridRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < grid_->GetItemCount(); ++r)
        rows.append(grid_->rows().rowCells(r));
    return rows;
}

void ManagePanel::setChanged(bool changed)
{
    changed_ = changed;
    save_->setEnabled(changed);
}

bool ManagePanel::mayDiscard()
{
    return !changed_ || prompt().confirm(QStringLiteral("是否放弃所做的修改？"), kNotice);
}

void ManagePanel::addRow()
{
    QStringList cells(grid_->GetColumnCount(), QString());
    cells[0] = manage::kNewRow;
    const int row = grid_->AppendItem(cells);
    grid_->SelectRow(row);
    setChanged(true);
}

void ManagePanel::removeRow()
{
    const int row = grid_->GetSelectedRow();
    if (row < 0) {
        prompt().message(QStringLiteral("请选择一行记录"), kError);
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定删除吗？"), kNotice))
        return;
    setChanged(true);
    grid_->DeleteItem(row);
}

void ManagePanel::editEnded(int row, int column)
{
    setChanged(true);
    const manage::GridShape& shape = manage::shape(kind_);
    if (!shape.duplicateName || column != 1)
        return;
    const QString name = grid_->GetItemText(row, 1);
    for (int r = 0; r < grid_->GetItemCount(); ++r) {
        if (r != row && manage::sameName(grid_->GetItemText(r, 1), name)) {
            grid_->SelectRow(row);
            prompt().message(QString::fromUtf8(shape.duplicateName), kError);
            return;
        }
    }
}

void ManagePanel::save()
{
    if (!changed_)
        return;
    const manage::SaveResult r = manage::save(g_sqlTool, kind_, loaded_, gridRows(), g_account);
    if (!r.outcome.ok()) {
        if (r.row >= 0)
            grid_->SelectRow(r.row);
        prompt().report(r.outcome);
        // The rows on screen are not what the table holds: offer to load them again.
        if (r.outcome.isTaken() && mayDiscard())
            load();
        return;
    }
    load();
}
