#include "dialogs/inquiry/Dlg_InquiryPro.h"

#include "db/Convert.h"
#include "db/WriteLog.h"
#include "db/mySQLTool.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "dialogs/inquiry/OrderConditions.h"
#include "dialogs/inquiry/OrderDetails.h"
#include "dialogs/tickets/Scanned.h"
#include "dialogs/tickets/TicketPrint.h"
#include "grid/KvGrid.h"
#include "parts/PagedList.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/ScanBox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The result columns: the order table's fields in table order, the customer's name in place
// of its number. Fixed, so that the list has its columns whatever the table holds.
constexpr GridColumns kOrderColumns = {{"货单号", 55},   {"款号", 70},     {"客户名称", 70}, {"货物数量", 70},
                                       {"接货人", 70},   {"接货时间", 70}, {"货物性质", 70}, {"货物分类", 70},
                                       {"货物款式", 70}, {"货物性别", 70}, {"洗涤方法", 70}, {"货物单价", 70},
                                       {"损耗单价", 70}, {"原版数量", 70}, {"洗版数量", 70}, {"损耗数量", 70},
                                       {"货物等级", 70}, {"关联", 70},     {"激活", 70},     {"激活时间", 70},
                                       {"结讫", 70},     {"结讫时间", 70}, {"经办人", 70}};

}  // namespace

Dlg_InquiryPro::Dlg_InquiryPro(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_InquiryPro"));
    setWindowTitle(QStringLiteral("货单查询"));

    conditions_ = new OrderConditions(this);
    orders_ = new PagedList(g_sqlTool, QStringLiteral("orders"), this);
    orders_->list()->setAccessibleName(QStringLiteral("货单列表"));
    orders_->list()->InsertColumns(kOrderColumns);

    totals_ = makeList(QStringLiteral("合计"), "totalsList", this,
                       {{"货物数量", 70}, {"原版数量", 70}, {"洗版数量", 70}});
    // A header and its one row.
    totals_->setFixedHeight(totals_->horizontalHeader()->sizeHint().height() +
                            totals_->verticalHeader()->defaultSectionSize() + 2 * totals_->frameWidth());
    totals_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    details_ = new OrderDetails(this);
    scan_ = new ScanBox(this);
    auto* reprintButton = makeButton(QStringLiteral("重印流水卡"), "reprintButton", this);

    auto* totalsRow = new QHBoxLayout;
    totalsRow->addWidget(makeCaption(QStringLiteral("合计"), totals_, this));
    totalsRow->addWidget(totals_, 1);
    totalsRow->addStretch(1);
    totalsRow->addWidget(scan_);
    totalsRow->addWidget(reprintButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions_);
    layout->addWidget(orders_, 3);
    layout->addLayout(totalsRow);
    layout->addWidget(details_, 2);
    resize(1500, 940);

    connect(conditions_->queryButton(), &QPushButton::clicked, this, &Dlg_InquiryPro::query);
    connect(orders_, &PagedList::rowClicked, this, &Dlg_InquiryPro::orderClicked);
    connect(scan_, &ScanBox::scanned, this, &Dlg_InquiryPro::scanned);
    connect(reprintButton, &QPushButton::clicked, this, &Dlg_InquiryPro::reprint);

    conditions_->load();
    scan_->takeFocus();
}

bool Dlg_InquiryPro::query()
{
    const std::optional<inquiryproq::Filter> filter = conditions_->read();
    return filter && run(*filter);
}

bool Dlg_InquiryPro::run(const inquiryproq::Filter& filter)
{
    const Statement totals = inquiryproq::ordersTotals(g_sqlTool, filter);
    WriteLog(totals.text());
    totals_->DeleteAllItems();
    details_->clear();

    // The count and the sums over every match come from the server in one row; the list gets
    // one page of the matches at a time.
    const bool shown = orders_->run(
        [this, filter](quint64 offset, int count) {
            const bool walk = inquiryproq::numberOrder(orders_->counted(), offset + count);
            const Statement page = inquiryproq::orders(g_sqlTool, filter, offset, count, walk);
            WriteLog(page.text());
            return page;
        },
        totals);
    if (!shown)
        return false;
    using T = inquiryproq::OrdersTotals;
    const Row& sums = orders_->counted();
    totals_->AppendItem({QString::number(sums.toInt64(T::Goods)), QString::number(sums.toInt64(T::Original)),
                         QString::number(sums.toInt64(T::Washed))});
    return true;
}

void Dlg_InquiryPro::orderClicked(int row)
{
    if (row < 0)
        return;
    details_->showOrder(convert::toId(orders_->list()->GetItemText(row, 0)));
}

void Dlg_InquiryPro::scanned(const QString& text)
{
    // The flow the ticket names, not followed: its own chain is what the ticket stands for.
    const scan::Scanned s = scan::read(text, false);
    if (s.kind == ticket::Kind::None)
        return;
    const bool flow = s.kind == ticket::Kind::Flow;
    const quint64 order = flow ? s.flow.order : s.order.order;
    inquiryproq::Filter filter;
    filter.order = order;
    filter.includeClosed = true;
    if (!run(filter) || orders_->list()->GetItemCount() == 0)
        return;
    orders_->list()->SelectRow(0);
    details_->showOrder(order);
    if (flow)
        details_->showFlow(s.flow.flow);
}

void Dlg_InquiryPro::reprint()
{
    if (details_->lastFlow() == 0) {
        prompt().message(QStringLiteral("请在流水列表中选择一行流水"), QStringLiteral("错误"));
        return;
    }
    tickets::reprintFlow(this, details_->lastFlow());
}
