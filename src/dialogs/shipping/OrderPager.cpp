#include "dialogs/shipping/OrderPager.h"

#include "db/Convert.h"
#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "grid/KvGrid.h"
#include "ui/Prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OrderPager::OrderPager(Kind kind, const QString& caption, const QString& name, QWidget* parent)
    : QWidget(parent), kind_(kind)
{
    setObjectName(name + QStringLiteral("Pager"));
    label_ = new QLabel(this);
    label_->setObjectName(name + QStringLiteral("Label"));
    list_ = new KvGrid(this);
    list_->setObjectName(name + QStringLiteral("List"));
    list_->setAccessibleName(caption);
    list_->SetCellMargin(1.2);
    const std::pair<const char*, int> columns[] = {
        {"货单号", 60},   {"款号", 60},     {"客户名称", 80}, {"货物等级", 70},  {"货物数量", 70},
        {"损耗数量", 70}, {"原版数量", 70}, {"洗版数量", 70}, {"生成时间", 100}, {"货物性质", 70},
        {"货物分类", 70}, {"货物款式", 70}, {"货物性别", 70}, {"洗涤方法", 150}};
    for (const auto& [text, width] : columns)
        list_->InsertColumn(QString::fromUtf8(text), width);

    previous_ = new QPushButton(QStringLiteral("上一页"), this);
    previous_->setObjectName(name + QStringLiteral("Previous"));
    next_ = new QPushButton(QStringLiteral("下一页"), this);
    next_->setObjectName(name + QStringLiteral("Next"));
    for (QPushButton* b : {previous_, next_}) {
        b->setAutoDefault(false);
        b->hide();
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label_, 1);
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(previous_, &QPushButton::clicked, this, [this] { turn(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { turn(1); });
    connect(list_, &KvGrid::rowClicked, this, &OrderPager::rowClicked);
}

bool OrderPager::count()
{
    const Statement s = kind_ == Kind::Unshipped ? shipperq::countUnshippedOrders(g_sqlTool)
                                                 : shipperq::countShippedOrders(g_sqlTool);
    const Rows read = g_sqlTool.Read(s);
    if (!prompt().report(read))
        return false;
    total_ = read.first().toId(0);
    return true;
}

bool OrderPager::fetch()
{
    const quint64 offset = quint64(page_) * kListCap;
    const Statement s = kind_ == Kind::Unshipped ? shipperq::unshippedOrders(g_sqlTool, offset, kListCap)
                                                 : shipperq::shippedOrders(g_sqlTool, offset, kListCap);
    const FillResult fill = list_->Fill(g_sqlTool, s);
    if (!prompt().report(fill))
        return false;
    label_->setText(
        QStringLiteral("共查询到%1条，显示其中%2-%3条").arg(total_).arg(offset + 1).arg(offset + fill.shown));
    // The count says whether more rows follow, so a result of exactly one full page
    // offers no empty next page.
    next_->setVisible(fill.shown == kListCap && offset + quint64(fill.shown) < total_);
    previous_->setVisible(page_ != 0);
    return true;
}

bool OrderPager::firstPage()
{
    page_ = 0;
    list_->DeleteAllItems();
    if (!count())
        return false;
    return fetch();
}

bool OrderPager::reload()
{
    if (!count())
        return false;
    const quint64 pages = total_ == 0 ? 1 : (total_ + kListCap - 1) / kListCap;
    if (quint64(page_) >= pages)
        page_ = static_cast<int>(pages - 1);
    return fetch();
}

void OrderPager::turn(int delta)
{
    if (page_ + delta < 0)
        return;
    page_ += delta;
    fetch();
}

quint64 OrderPager::selectedOrder(bool* selected) const
{
    const int row = list_->GetSelectedRow();
    if (selected)
        *selected = row >= 0;
    return row < 0 ? 0 : convert::toId(list_->GetItemText(row, QStringLiteral("货单号")));
}
