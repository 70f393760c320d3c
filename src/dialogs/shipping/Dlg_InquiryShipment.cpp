#include "dialogs/shipping/Dlg_InquiryShipment.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/shipping/ShipmentQueries.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "parts/PagedList.h"
#include "parts/Switches.h"
#include "parts/TimeCondition.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kError = QStringLiteral("错误");

KvGrid* conditionList(const char* name, const QString& caption,
                      std::initializer_list<std::pair<const char*, int>> columns, QWidget* parent)
{
    KvGrid* list = makeList(parent, name, caption, columns);
    list->SetCellMargin(1.2);
    return list;
}

QComboBox* dropDown(const char* name, const QString& caption, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setAccessibleName(caption);
    return c;
}

QLineEdit* edit(const char* name, const QString& caption, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(caption);
    return e;
}

}  // namespace

Dlg_InquiryShipment::Dlg_InquiryShipment(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_InquiryShipment"));
    setWindowTitle(QStringLiteral("查询发货"));

    clientSwitch_ = makeCheckBox(QStringLiteral("选择客户"), "clientSwitch", this);
    clients_ = conditionList("clientList", clientSwitch_->text(),
                             {{"客户号", 55}, {"名称", 65}, {"说明", 140}}, this);
    technologySwitch_ = makeCheckBox(QStringLiteral("选择精确查询工艺"), "technologySwitch", this);
    technologies_ =
        conditionList("technologyList", technologySwitch_->text(), {{"名称", 205}, {"类型", 55}}, this);
    shipperSwitch_ = makeCheckBox(QStringLiteral("选择发货人"), "shipperSwitch", this);
    shipper_ = dropDown("shipperCombo", shipperSwitch_->text(), this);
    issuerSwitch_ = makeCheckBox(QStringLiteral("选择开票人"), "issuerSwitch", this);
    issuer_ = dropDown("issuerCombo", issuerSwitch_->text(), this);
    styleSwitch_ = makeCheckBox(QStringLiteral("选择款式"), "styleSwitch", this);
    style_ = dropDown("styleCombo", styleSwitch_->text(), this);
    sexSwitch_ = makeCheckBox(QStringLiteral("选择性别"), "sexSwitch", this);
    sex_ = dropDown("sexCombo", sexSwitch_->text(), this);
    natureSwitch_ = makeCheckBox(QStringLiteral("选择属性"), "natureSwitch", this);
    nature_ = dropDown("natureCombo", natureSwitch_->text(), this);
    time_ = new TimeCondition(QStringLiteral("选择发货时间"), QStringLiteral("sentTime"),
                              TimeCondition::First, TimeCondition::Second, this);
    fuzzySwitch_ = makeCheckBox(QStringLiteral("选择模糊查询工艺"), "fuzzySwitch", this);
    fuzzy_ = edit("fuzzyEdit", fuzzySwitch_->text(), this);
    orderSwitch_ = makeCheckBox(QStringLiteral("选择货单号"), "orderSwitch", this);
    order_ = edit("orderEdit", orderSwitch_->text(), this);
    auto* searchButton = makeButton(QStringLiteral("查询"), "searchButton", this);
    auto* exportButton = makeButton(QStringLiteral("导出"), "exportButton", this);

    result_ = new PagedList(g_sqlTool, QStringLiteral("result"), this);
    result_->list()->setAccessibleName(QStringLiteral("发货记录"));
    result_->list()->SetCellMargin(1.2);
    const char* const columns[] = {"序列号",   "货单号",   "客户名称", "开票人",   "发货人",   "发送时间",
                                   "款号",     "品名",     "洗涤方法", "货物数量", "损耗数量", "原版数量",
                                   "洗版数量", "货物单价", "经办人",   "备注"};
    for (const char* c : columns)
        result_->list()->InsertColumn(QString::fromUtf8(c), result_->list()->GetColumnCount() == 0 ? 55 : 70);
    totals_ = conditionList(
        "totalsList", QStringLiteral("合计"),
        {{"货物数量", 70}, {"损耗数量", 70}, {"原版数量", 70}, {"洗版数量", 70}, {"合计金额", 70}}, this);
    totals_->setMaximumHeight(64);

    // Conditions: the lists on the left, the drop-downs and edits beside them.
    auto* lists = new QVBoxLayout;
    lists->addWidget(clientSwitch_);
    lists->addWidget(clients_, 1);
    lists->addWidget(technologySwitch_);
    lists->addWidget(technologies_, 1);
    auto* inputs = new QGridLayout;
    int row = 0;
    for (auto [box, input] :
         std::initializer_list<std::pair<QCheckBox*, QWidget*>>{{shipperSwitch_, shipper_},
                                                                {issuerSwitch_, issuer_},
                                                                {styleSwitch_, style_},
                                                                {sexSwitch_, sex_},
                                                                {natureSwitch_, nature_},
                                                                {fuzzySwitch_, fuzzy_},
                                                                {orderSwitch_, order_}}) {
        inputs->addWidget(box, row, 0);
        inputs->addWidget(input, row++, 1);
    }
    inputs->addWidget(time_, row++, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(searchButton);
    buttons->addWidget(exportButton);
    inputs->addLayout(buttons, row++, 0, 1, 2);
    inputs->setRowStretch(row, 1);
    auto* conditionsLayout = new QHBoxLayout;
    conditionsLayout->addLayout(lists, 1);
    conditionsLayout->addLayout(inputs, 1);

    auto* results = new QVBoxLayout;
    results->addWidget(result_, 1);
    results->addWidget(totals_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(conditionsLayout, 2);
    layout->addLayout(results, 3);
    resize(1360, 820);

    bindSwitch(clientSwitch_, {clients_});
    bindSwitch(technologySwitch_, {technologies_});
    bindSwitch(shipperSwitch_, {shipper_});
    bindSwitch(issuerSwitch_, {issuer_});
    bindSwitch(styleSwitch_, {style_});
    bindSwitch(sexSwitch_, {sex_});
    bindSwitch(natureSwitch_, {nature_});
    bindSwitch(fuzzySwitch_, {fuzzy_});
    bindSwitch(orderSwitch_, {order_});
    // The exact and the fuzzy technology search exclude each other.
    connect(technologySwitch_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            fuzzySwitch_->setChecked(false);
    });
    connect(fuzzySwitch_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            technologySwitch_->setChecked(false);
    });
    connect(searchButton, &QPushButton::clicked, this, &Dlg_InquiryShipment::search);
    connect(exportButton, &QPushButton::clicked, this, &Dlg_InquiryShipment::exportLists);

    clients_->Fill(g_sqlTool, shipmentq::clients(g_sqlTool));
    technologies_->Fill(g_sqlTool, adminq::technologyList(g_sqlTool));
    FillCombo(g_sqlTool, *shipper_, shipperq::shippers(g_sqlTool));
    FillCombo(g_sqlTool, *issuer_, shipperq::issuers(g_sqlTool));
    FillCombo(g_sqlTool, *style_, adminq::choices(g_sqlTool, adminq::Choice::Kinds));
    FillCombo(g_sqlTool, *sex_, adminq::choices(g_sqlTool, adminq::Choice::Sexes));
    FillCombo(g_sqlTool, *nature_, adminq::choices(g_sqlTool, adminq::Choice::Natures));
}

std::optional<shipmentq::Filter> Dlg_InquiryShipment::readFilter()
{
    shipmentq::Filter f;
    const auto missing = [](const char* text) {
        prompt().message(QString::fromUtf8(text), kError);
        return std::nullopt;
    };
    const auto selectedFirstCell = [](KvGrid* list) {
        const int row = list->GetSelectedRow();
        return row < 0 ? QString() : list->GetItemText(row, 0);
    };
    if (clientSwitch_->isChecked()) {
        if (clients_->GetSelectedRow() < 0)
            return missing("您设置了勾选客户，请选择一个客户作为查询条件");
        f.client = convert::toId(selectedFirstCell(clients_));
    }
    if (technologySwitch_->isChecked()) {
        if (technologies_->GetSelectedRow() < 0)
            return missing("您设置了勾选精确查询工艺，请选择一项工艺作为查询条件");
        f.technology = selectedFirstCell(technologies_);
    }
    const auto chosen = [](QCheckBox* box, QComboBox* combo, std::optional<QString>& into) {
        if (!box->isChecked())
            return true;
        if (combo->currentText().isEmpty())
            return false;
        into = combo->currentText();
        return true;
    };
    if (!chosen(shipperSwitch_, shipper_, f.shipper))
        return missing("您设置了勾选发货人，请选择一名发货人作为查询条件");
    if (!chosen(issuerSwitch_, issuer_, f.issuer))
        return missing("您设置了勾选开票人，请选择一名开票人作为查询条件");
    if (!chosen(styleSwitch_, style_, f.style))
        return missing("您设置了勾选款式，请选择款式作为查询条件");
    if (!chosen(sexSwitch_, sex_, f.sex))
        return missing("您设置了勾选性别，请选择性别作为查询条件");
    if (time_->ticked()) {
        switch (time_->range()) {
            case TimeCondition::Range::None:
                return missing("您设置了勾选接货时间，请选择一项内容作为查询条件");
            case TimeCondition::Range::After:
                f.sentAfter = time_->afterMoment();
                break;
            case TimeCondition::Range::Before:
                f.sentBefore = time_->beforeMoment();
                break;
            case TimeCondition::Range::Within:
                f.sentAfter = time_->moment(TimeCondition::First);
                f.sentBefore = time_->moment(TimeCondition::Second);
                break;
        }
    }
    if (fuzzySwitch_->isChecked()) {
        if (fuzzy_->text().isEmpty())
            return missing("您设置了勾选模糊工艺查询，请输入工艺作为查询条件");
        f.technologyLike = fuzzy_->text();
    }
    if (orderSwitch_->isChecked()) {
        if (order_->text().isEmpty())
            return missing("您设置了勾选货单号查询，请输入货单号作为查询条件");
        const quint64 order = convert::toId(order_->text());
        if (order == 0)
            return missing("错误的货单号");
        f.order = order;
    }
    if (!chosen(natureSwitch_, nature_, f.nature))
        return missing("您设置了勾选货物性质，请选择一项性质作为查询条件");
    return f;
}

void Dlg_InquiryShipment::search()
{
    const std::optional<shipmentq::Filter> filter = readFilter();
    if (!filter)
        return;
    const Statement where = shipmentq::conditions(g_sqlTool, *filter);
    // One pass over the matches gives the count and the totals; the pages are read with a limit.
    // A search that fails leaves nothing of the last one on screen.
    totals_->DeleteAllItems();
    const bool shown = result_->run(
        [where](quint64 offset, int rows) { return shipmentq::shipments(g_sqlTool, where, offset, rows); },
        shipmentq::totals(g_sqlTool, where));
    if (!shown)
        return;
    const Row& sums = result_->counted();
    result_->label()->setText(QStringLiteral("共查询到%1条记录，显示其中1-%2条")
                                  .arg(result_->total())
                                  .arg(result_->list()->GetItemCount()));
    totals_->AppendItem({QString::number(sums.toInt64(1)), QString::number(sums.toInt64(2)),
                         QString::number(sums.toInt64(3)), QString::number(sums.toInt64(4)),
                         QString::asprintf("%.2f", sums.toDouble(5))});
}

void Dlg_InquiryShipment::exportLists()
{
    const ListModel& list = result_->list()->rows();
    if (list.rows() == 0) {
        exporting::reportExport(Outcome::refused(QStringLiteral("没有内容可被导出")));
        return;
    }
    const QString path = exporting::chooseTarget(this);
    if (path.isEmpty())
        return;
    const bool written =
        exporting::appendToFile(path, exporting::listText(list, exporting::Layout::ListSemicolon)) &&
        exporting::appendToFile(path, exporting::listText(totals_->rows(), exporting::Layout::ListSemicolon));
    exporting::reportExport(written ? Outcome::done() : Outcome::refused(QStringLiteral("导出文件发生错误")));
}
