#include "dialogs/shipping/Dlg_InquiryShip.h"

#include "db/Convert.h"
#include "db/FillList.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/CustomerStatement.h"
#include "dialogs/shipping/ShipmentChart.h"
#include "dialogs/shipping/StatementExport.h"
#include "dialogs/shipping/StatementQueries.h"
#include "grid/KvGrid.h"
#include "print/myPrinter.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kDateFormat = "yyyy-MM-dd";

}  // namespace

Dlg_InquiryShip::Dlg_InquiryShip(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_InquiryShip"));
    setWindowTitle(QStringLiteral("Inquiry Ship"));

    // The period: this month up to and including today.
    const QDate today = kvclock::now().date();
    auto* periodBox = new QGroupBox(QStringLiteral("选择查询起止时间"), this);
    start_ =
        makeDate(QStringLiteral("起始日期"), "startDate", periodBox, QDate(today.year(), today.month(), 1));
    end_ = makeDate(QStringLiteral("截止日期"), "endDate", periodBox, today.addDays(1));
    auto* displayButton = makeButton(QStringLiteral("显示"), "displayButton", periodBox);
    auto* periodLayout = new QGridLayout(periodBox);
    periodLayout->addWidget(makeCaption(QStringLiteral("起始日期"), start_, periodBox), 0, 0);
    periodLayout->addWidget(start_, 0, 1);
    periodLayout->addWidget(makeCaption(QStringLiteral("截止日期"), end_, periodBox), 1, 0);
    periodLayout->addWidget(end_, 1, 1);
    periodLayout->addWidget(displayButton, 2, 0, 1, 2);

    customers_ = makeList(QStringLiteral("客户列表"), "customerList", this, {{"客户号", 60}, {"名称", 75}});
    chart_ = new ShipmentChart(this);

    auto* settlementBox = new QGroupBox(QStringLiteral("客户结算单一览"), this);
    settlement_ = makeList(settlementBox->title(), "settlementList", settlementBox,
                           {{"序号", 50}, {"洗涤方法", 200}, {"数量", 50}, {"单价", 60}, {"金额", 60}});
    totals_ = makeList(QStringLiteral("合计"), "totalsList", settlementBox,
                       {{"合计", 50}, {"-/-", 200}, {"数量", 50}, {"-/-", 60}, {"金额", 60}});
    totals_->setMaximumHeight(64);
    auto* printSettlementButton = makeButton(QStringLiteral("打印"), "printSettlementButton", settlementBox);
    auto* exportSettlementButton =
        makeButton(QStringLiteral("导出"), "exportSettlementButton", settlementBox);
    auto* settlementButtons = new QHBoxLayout;
    settlementButtons->addStretch(1);
    settlementButtons->addWidget(printSettlementButton);
    settlementButtons->addWidget(exportSettlementButton);
    auto* settlementLayout = new QVBoxLayout(settlementBox);
    settlementLayout->addWidget(settlement_, 1);
    settlementLayout->addWidget(totals_);
    settlementLayout->addLayout(settlementButtons);

    auto* statementBox = new QGroupBox(QStringLiteral("客户对账单一览"), this);
    statement_ = makeList(statementBox->title(), "statementList", statementBox,
                          {{"序号", 50},
                           {"发货号", 55},
                           {"发货日期", 80},
                           {"货单号", 55},
                           {"款式", 80},
                           {"数量", 50},
                           {"金额", 60},
                           {"备注", 80}});
    for (KvGrid* list : {customers_, settlement_, totals_, statement_})
        list->SetCellMargin(1.2);
    // The remark can be changed for the printout and the export; it is not stored.
    statement_->SetTextEditor(7);
    auto* printStatementButton = makeButton(QStringLiteral("打印"), "printStatementButton", statementBox);
    auto* exportStatementButton = makeButton(QStringLiteral("导出"), "exportStatementButton", statementBox);
    auto* statementButtons = new QHBoxLayout;
    statementButtons->addStretch(1);
    statementButtons->addWidget(printStatementButton);
    statementButtons->addWidget(exportStatementButton);
    auto* statementLayout = new QVBoxLayout(statementBox);
    statementLayout->addWidget(statement_, 1);
    statementLayout->addLayout(statementButtons);

    auto* okButton = makeButton(QStringLiteral("确定"), "okButton", this);
    auto* cancelButton = makeButton(QStringLiteral("取消"), "cancelButton", this);

    auto* left = new QVBoxLayout;
    left->addWidget(periodBox);
    left->addWidget(customers_, 1);
    auto* documents = new QVBoxLayout;
    documents->addWidget(settlementBox, 2);
    documents->addWidget(statementBox, 3);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 0);
    body->addWidget(chart_, 2);
    body->addLayout(documents, 4);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(okButton);
    closeRow->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(closeRow);
    resize(1360, 820);

    connect(displayButton, &QPushButton::clicked, this, &Dlg_InquiryShip::display);
    connect(customers_, &KvGrid::rowClicked, this, &Dlg_InquiryShip::customerRowClicked);
    connect(chart_, &ShipmentChart::customerClicked, this, [this](quint64 client) {
        const int row = [&] {
            for (int r = 0; r < customers_->GetItemCount(); ++r)
                if (convert::toId(customers_->GetItemText(r, 0)) == client)
                    return r;
            return -1;
        }();
        if (row < 0)
            return;
        customers_->SelectRow(row);
        customers_->scrollTo(customers_->model()->index(row, 0));
        customerRowClicked(row);
    });
    connect(printSettlementButton, &QPushButton::clicked, this, &Dlg_InquiryShip::printSettlement);
    connect(printStatementButton, &QPushButton::clicked, this, &Dlg_InquiryShip::printStatement);
    connect(exportSettlementButton, &QPushButton::clicked, this, [this] {
        exporting::reportExport(
            exporting::run(this, statementExport::settlement(settlement_->rows(), totals_->rows(),
                                                             {shownName_, startDate_, endDate_})));
    });
    connect(exportStatementButton, &QPushButton::clicked, this, [this] {
        exporting::reportExport(exporting::run(
            this, statementExport::statement(settlement_->rows(), statement_->rows(), totals_->rows(),
                                             {shownName_, startDate_, endDate_})));
    });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void Dlg_InquiryShip::display()
{
    // The pickers always hold a date, written with two-digit month and day so that it
    // compares with the stored times.
    const QString start = start_->date().toString(QString::fromLatin1(kDateFormat));
    const QString end = end_->date().toString(QString::fromLatin1(kDateFormat));
    if (start.isEmpty()) {
        prompt().message(QStringLiteral("开始时间不能为空"), QString());
        return;
    }
    if (end.isEmpty()) {
        prompt().message(QStringLiteral("结束时间不能为空"), QString());
        return;
    }
    customers_->DeleteAllItems();
    chart_->clear();
    clearStatement();
    startDate_ = start;
    endDate_ = end;

    const QString midnight = QStringLiteral(" 00:00:00");
    const Rows rows =
        g_sqlTool.Read(statementq::customers(g_sqlTool, start + midnight, end + midnight), kListCap);
    if (!prompt().report(rows))
        return;
    QVector<ShipmentChart::Bar> bars;
    QVector<QStringList> listed;
    for (const Row& r : rows) {
        listed.append({r.text(0), r.text(1)});
        bars.append({r.toId(0), r.text(1), r.toDouble(2)});
    }
    customers_->AppendItems(listed);
    chart_->setBars(bars);
}

void Dlg_InquiryShip::customerRowClicked(int row)
{
    // A click beside the rows chooses no one: the lists shown stay with their customer.
    if (row < 0 || customers_->GetSelectedRow() < 0)
        return;
    const quint64 client = convert::toId(customers_->GetItemText(row, 0));
    if (client == 0) {
        prompt().message(QStringLiteral("内部数据错误"), QStringLiteral("错误"));
        return;
    }
    chooseCustomer(client, customers_->GetItemText(row, 1));
}

void Dlg_InquiryShip::chooseCustomer(quint64 client, const QString& name)
{
    clearStatement();
    CustomerStatement built;
    const QString midnight = QStringLiteral(" 00:00:00");
    if (!prompt().report(
            CustomerStatement::build(g_sqlTool, client, startDate_ + midnight, endDate_ + midnight, built)))
        return;
    shown_ = client;
    shownName_ = name;
    QVector<QStringList> lines;
    for (const CustomerStatement::Line& line : built.lines)
        lines.append(line.cells());
    settlement_->AppendItems(lines);
    if (!built.lines.isEmpty())
        totals_->AppendItem(built.totalsCells());
    QVector<QStringList> shipments;
    for (const CustomerStatement::Shipment& s : built.shipments)
        shipments.append(s.cells());
    statement_->AppendItems(shipments);
}

void Dlg_InquiryShip::clearStatement()
{
    settlement_->DeleteAllItems();
    totals_->DeleteAllItems();
    statement_->DeleteAllItems();
    shown_ = 0;
    shownName_.clear();
}

// Printing needs a customer whose settlement is shown; without one the user is told why nothing
// is printed.
bool Dlg_InquiryShip::printable()
{
    if (shown_ == 0) {
        prompt().message(QStringLiteral("请先在客户列表中选择一个客户"), QStringLiteral("错误"));
        return false;
    }
    if (settlement_->GetItemCount() == 0) {
        prompt().message(QStringLiteral("该客户在这一期间没有可结算的发货"), QStringLiteral("错误"));
        return false;
    }
    return true;
}

void Dlg_InquiryShip::printSettlement()
{
    if (!printable())
        return;
    myPrinter printer(this);
    prompt().report(
        printer.PrintSettlement(settlement_->rows(), totals_->rows(), shownName_, startDate_, endDate_));
}

void Dlg_InquiryShip::printStatement()
{
    if (!printable())
        return;
    myPrinter printer(this);
    prompt().report(
        printer.PrintStatement(settlement_->rows(), statement_->rows(), shownName_, startDate_, endDate_));
}
