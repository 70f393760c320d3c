#include "dialogs/quality/RecordLists.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/quality/QualityQueries.h"
#include "grid/KvGrid.h"
#include "ui/Prompt.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The lists show the records' columns as they are read.
using R = qualityq::Records;

quality::Fields fields(const QStringList& cells)
{
    return {cells.value(R::Count),    cells.value(R::Reason), cells.value(R::Responsible),
            cells.value(R::Recorder), cells.value(R::Remark), cells.value(R::Handled)};
}

}  // namespace

RecordLists::RecordLists(QWidget* parent) : QWidget(parent)
{
    caption_ = new QLabel(QStringLiteral("历史记录"), this);
    caption_->setObjectName(QStringLiteral("recordsLabel"));
    entry_ = makeList("entryList");
    edit_ = makeList("editList");
    caption_->setBuddy(entry_);
    for (int c : {R::Count, R::Reason, R::Responsible, R::Remark, R::Handled})
        edit_->SetTextEditor(c);
    edit_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(entry_, 1);
    layout->addWidget(edit_, 1);
}

KvGrid* RecordLists::makeList(const char* name)
{
    KvGrid* list = ::makeList(QStringLiteral("历史记录"), name, this,
                              {{"序列号", 60},
                               {"客户名称", 80},
                               {"日期", 150},
                               {"数量", 70},
                               {"原因", 180},
                               {"责任人", 80},
                               {"记录人", 80},
                               {"备注", 230},
                               {"处理", 60}});
    list->SetCellMargin(1.2);
    return list;
}

void RecordLists::setRecorders(const QStringList& names)
{
    edit_->SetComboEditor(R::Recorder, names);
}

QList<Statement> RecordLists::reads(mySQLTool& db, const qualityq::Filter& filter)
{
    return {qualityq::countRecords(db, filter), qualityq::records(db, filter, kListCap)};
}

bool RecordLists::load(mySQLTool& db, const qualityq::Filter& filter)
{
    const Batch read = db.ReadAll(reads(db, filter));
    return show(read.rows(0), read.rows(1));
}

bool RecordLists::show(const Rows& counted, const Rows& records)
{
    loaded_.clear();
    found_ = 0;
    edit_->DeleteAllItems();
    caption_->setText(QStringLiteral("历史记录"));
    if (!prompt().report(counted)) {
        entry_->DeleteAllItems();
        return false;
    }
    const FillResult fill = entry_->Fill(records);
    if (!prompt().report(fill))
        return false;
    loaded_ = entry_->CopyRows();
    edit_->rows().appendRows(loaded_);

    // A record entered between the count and the list is not left out of the total.
    const quint64 total = std::max(counted.first().toId(0), quint64(fill.shown));
    found_ = total;
    if (total <= quint64(fill.shown))
        caption_->setText(QStringLiteral("共找到%1条记录，显示其中%2条").arg(total).arg(fill.shown));
    else
        caption_->setText(
            QStringLiteral("共找到%1条记录，显示其中%2条，有%3条未予显示，欲显示超出部分请缩小查询范围")
                .arg(total)
                .arg(fill.shown)
                .arg(total - quint64(fill.shown)));
    return true;
}

void RecordLists::setEditMode(bool on)
{
    editMode_ = on;
    entry_->setVisible(!on);
    edit_->setVisible(on);
    caption_->setBuddy(shown());
}

KvGrid* RecordLists::shown() const
{
    return editMode_ ? edit_ : entry_;
}

QVector<int> RecordLists::changedRows() const
{
    QVector<int> out;
    for (int r = 0; r < edit_->GetItemCount() && r < loaded_.size(); ++r)
        if (fields(edit_->rows().rowCells(r)) != fields(loaded_.at(r)))
            out.append(r);
    return out;
}

quality::Edit RecordLists::edit(int row) const
{
    quality::Edit e;
    if (row < 0 || row >= loaded_.size())
        return e;
    e.serial = convert::toId(loaded_.at(row).value(R::Serial));
    e.loaded = fields(loaded_.at(row));
    e.now = fields(edit_->rows().rowCells(row));
    return e;
}

QList<quint64> RecordLists::serials() const
{
    QList<quint64> out;
    for (const QStringList& row : loaded_)
        out.append(convert::toId(row.value(R::Serial)));
    return out;
}
