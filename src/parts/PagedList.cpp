#include "parts/PagedList.h"

#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "grid/KvGrid.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PagedList::PagedList(mySQLTool& db, const QString& name, QWidget* parent) : QWidget(parent), db_(db)
{
    setObjectName(name + QStringLiteral("Pager"));
    label_ = new QLabel(this);
    label_->setObjectName(name + QStringLiteral("Label"));
    list_ = new KvGrid(this);
    list_->setObjectName(name + QStringLiteral("List"));
    label_->setBuddy(list_);
    previous_ = makeButton(QStringLiteral("上一页"),
                           (name + QStringLiteral("Previous")).toLatin1().constData(), this);
    next_ =
        makeButton(QStringLiteral("下一页"), (name + QStringLiteral("Next")).toLatin1().constData(), this);
    for (QPushButton* b : {previous_, next_})
        b->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label_, 1);
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);

    connect(previous_, &QPushButton::clicked, this, [this] { turn(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { turn(1); });
    connect(list_, &KvGrid::rowClicked, this, &PagedList::rowClicked);
}

bool PagedList::run(const Statement& saved, const Statement& count)
{
    return run([this, saved](quint64 offset, int rows) { return limited(db_, saved, offset, rows); }, count);
}

bool PagedList::run(PageStatement page, const Statement& count)
{
    page_statement_ = std::move(page);
    count_ = count;
    page_ = 0;
    list_->DeleteAllItems();
    if (!this->count()) {
        clear();
        return false;
    }
    return fetch();
}

bool PagedList::run(const Statement& saved, quint64 total)
{
    page_statement_ = [this, saved](quint64 offset, int rows) { return limited(db_, saved, offset, rows); };
    count_ = Statement();
    total_ = total;
    page_ = 0;
    list_->DeleteAllItems();
    return fetch();
}

bool PagedList::reload()
{
    if (!page_statement_)
        return true;
    const QString selected = selectedKey();
    if (!count())
        return false;
    const quint64 pages = total_ == 0 ? 1 : (total_ + kListCap - 1) / kListCap;
    if (quint64(page_) >= pages)
        page_ = static_cast<int>(pages - 1);
    if (!fetch())
        return false;
    if (!selected.isEmpty())
        selectKey(selected);
    return true;
}

void PagedList::clear()
{
    page_statement_ = nullptr;
    count_ = Statement();
    page_ = 0;
    total_ = 0;
    counted_ = Row();
    list_->DeleteAllItems();
    label_->clear();
    previous_->hide();
    next_->hide();
}

bool PagedList::count()
{
    if (count_.empty())
        return true;  // counted by the caller
    const Rows read = db_.Read(count_);
    if (!prompt().report(read))
        return false;
    counted_ = read.first();
    total_ = counted_.toId(0);
    return true;
}

bool PagedList::fetch()
{
    const quint64 offset = quint64(page_) * kListCap;
    const FillResult fill = list_->Fill(db_, page_statement_(offset, kListCap));
    if (!prompt().report(fill)) {
        label_->clear();
        previous_->hide();
        next_->hide();
        return false;
    }
    label_->setText(page_ == 0 ? QStringLiteral("共查询到%1条，显示其中1-%2条").arg(total_).arg(fill.shown)
                               : QStringLiteral("共查询到%1条，显示其中%2-%3条")
                                     .arg(total_)
                                     .arg(offset + 1)
                                     .arg(offset + fill.shown));
    // The count says whether more rows follow, so a result of exactly one full page offers no
    // empty next page.
    next_->setVisible(fill.shown == kListCap && offset + quint64(fill.shown) < total_);
    previous_->setVisible(page_ != 0);
    return true;
}

void PagedList::turn(int delta)
{
    if (!page_statement_ || page_ + delta < 0)
        return;
    page_ += delta;
    fetch();
}

QString PagedList::selectedKey() const
{
    const int row = list_->GetSelectedRow();
    return row < 0 ? QString() : list_->GetItemText(row, 0);
}

bool PagedList::selectKey(const QString& key)
{
    const int r = list_->FindRow(0, key);
    list_->SelectRow(r);
    return r >= 0;
}
