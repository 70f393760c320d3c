#include "dialogs/shipping/Dlg_InquiryShipment.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/shipping/ShipmentQueries.h"
#include "dialogs/shipping/ShipperQueries.h"
#include "grid/KvGrid.h"
#include "parts/Export.h"
#include "parts/PagedList.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using F = shipmentq::Filter;

}  // namespace

Dlg_InquiryShipment::Dlg_InquiryShipment(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_InquiryShipment"));
    setWindowTitle(QStringLiteral("查询发货"));

    const auto list = [this](QCheckBox* box, const char* name, GridColumns columns) {
        KvGrid* l = makeList(box->text(), name, this, columns);
        l->SetCellMargin(1.2);
        return l;
    };
    auto* client = makeCheckBox(QStringLiteral("选择客户"), "clientSwitch", this);
    KvGrid* clients = list(client, "clientList", {{"客户号", 55}, {"名称", 65}, {"说明", 140}});
    auto* technology = makeCheckBox(QStringLiteral("选择精确查询工艺"), "technologySwitch", this);
    KvGrid* technologies = list(technology, "technologyList", {{"名称", 205}, {"类型", 55}});
    auto* shipper = makeCheckBox(QStringLiteral("选择发货人"), "shipperSwitch", this);
    QComboBox* shippers = makeCombo(shipper->text(), "shipperCombo", this);
    auto* issuer = makeCheckBox(QStringLiteral("选择开票人"), "issuerSwitch", this);
    QComboBox* issuers = makeCombo(issuer->text(), "issuerCombo", this);
    auto* style = makeCheckBox(QStringLiteral("选择款式"), "styleSwitch", this);
    QComboBox* styles = makeCombo(style->text(), "styleCombo", this);
    auto* sex = makeCheckBox(QStringLiteral("选择性别"), "sexSwitch", this);
    QComboBox* sexes = makeCombo(sex->text(), "sexCombo", this);
    auto* nature = makeCheckBox(QStringLiteral("选择属性"), "natureSwitch", this);
    QComboBox* natures = makeCombo(nature->text(), "natureCombo", this);
    auto* time = new TimeCondition(QStringLiteral("选择发货时间"), QStringLiteral("sentTime"),
                                   TimeCondition::First, TimeCondition::Second, this);
    auto* fuzzy = makeCheckBox(QStringLiteral("选择模糊查询工艺"), "fuzzySwitch", this);
    QLineEdit* fuzzyText = makeEdit(fuzzy->text(), "fuzzyEdit", this);
    auto* order = makeCheckBox(QStringLiteral("选择货单号"), "orderSwitch", this);
    QLineEdit* orderText = makeEdit(order->text(), "orderEdit", this);
    auto* searchButton = makeButton(QStringLiteral("查询"), "searchButton", this);
    auto* exportButton = makeButton(QStringLiteral("导出"), "exportButton", this);

    result_ = new PagedList(g_sqlTool, QStringLiteral("result"), this);
    result_->list()->setAccessibleName(QStringLiteral("发货记录"));
    result_->list()->SetCellMargin(1.2);
    result_->list()->InsertColumns({{"序列号", 55},
                                    {"货单号", 70},
                                    {"客户名称", 70},
                                    {"开票人", 70},
                                    {"发货人", 70},
                                    {"发送时间", 70},
                                    {"款号", 70},
                                    {"品名", 70},
                                    {"洗涤方法", 70},
                                    {"货物数量", 70},
                                    {"损耗数量", 70},
                                    {"原版数量", 70},
                                    {"洗版数量", 70},
                                    {"货物单价", 70},
                                    {"经办人", 70},
                                    {"备注", 70}});
    totals_ =
        makeList(QStringLiteral("合计"), "totalsList", this,
                 {{"货物数量", 70}, {"损耗数量", 70}, {"原版数量", 70}, {"洗版数量", 70}, {"合计金额", 70}});
    totals_->SetCellMargin(1.2);
    totals_->setMaximumHeight(64);

    // The ticked conditions, read in this order: the first without its input is told.
    conditions_
        .list(client, clients, "您设置了勾选客户，请选择一个客户作为查询条件",
              [](F& f, const QString& id) { f.client = convert::toId(id); })
        .list(technology, technologies, "您设置了勾选精确查询工艺，请选择一项工艺作为查询条件",
              [](F& f, const QString& name) { f.technology = name; })
        .combo(shipper, shippers, "您设置了勾选发货人，请选择一名发货人作为查询条件",
               [](F& f, const QString& name) { f.shipper = name; })
        .combo(issuer, issuers, "您设置了勾选开票人，请选择一名开票人作为查询条件",
               [](F& f, const QString& name) { f.issuer = name; })
        .combo(style, styles, "您设置了勾选款式，请选择款式作为查询条件",
               [](F& f, const QString& v) { f.style = v; })
        .combo(sex, sexes, "您设置了勾选性别，请选择性别作为查询条件",
               [](F& f, const QString& v) { f.sex = v; })
        .time(time, "您设置了勾选接货时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.sent = m; })
        .edit(fuzzy, fuzzyText, "您设置了勾选模糊工艺查询，请输入工艺作为查询条件",
              [](F& f, const QString& text) { f.technologyLike = text; })
        .edit(order, orderText, "您设置了勾选货单号查询，请输入货单号作为查询条件",
              [](F& f, const QString& text) {
                  f.order = convert::toId(text);
                  return *f.order == 0 ? QStringLiteral("错误的货单号") : QString();
              })
        .combo(nature, natures, "您设置了勾选货物性质，请选择一项性质作为查询条件",
               [](F& f, const QString& v) { f.nature = v; });

    // Conditions: the lists on the left, the drop-downs and edits beside them.
    auto* lists = new QVBoxLayout;
    lists->addWidget(client);
    lists->addWidget(clients, 1);
    lists->addWidget(technology);
    lists->addWidget(technologies, 1);
    auto* inputs = new QGridLayout;
    int row = 0;
    for (auto [box, w] : std::initializer_list<std::pair<QCheckBox*, QWidget*>>{{shipper, shippers},
                                                                                {issuer, issuers},
                                                                                {style, styles},
                                                                                {sex, sexes},
                                                                                {nature, natures},
                                                                                {fuzzy, fuzzyText},
                                                                                {order, orderText}}) {
        inputs->addWidget(box, row, 0);
        inputs->addWidget(w, row++, 1);
    }
    inputs->addWidget(time, row++, 0, 1, 2);
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

    // The exact and the fuzzy technology search exclude each other.
    connect(technology, &QCheckBox::toggled, this, [fuzzy](bool on) {
        if (on)
            fuzzy->setChecked(false);
    });
    connect(fuzzy, &QCheckBox::toggled, this, [technology](bool on) {
        if (on)
            technology->setChecked(false);
    });
    connect(searchButton, &QPushButton::clicked, this, &Dlg_InquiryShipment::search);
    connect(exportButton, &QPushButton::clicked, this, &Dlg_InquiryShipment::exportLists);

    clients->Fill(g_sqlTool, shipmentq::clients(g_sqlTool));
    technologies->Fill(g_sqlTool, adminq::technologyList(g_sqlTool));
    FillCombo(g_sqlTool, *shippers, shipperq::shippers(g_sqlTool));
    FillCombo(g_sqlTool, *issuers, shipperq::issuers(g_sqlTool));
    FillCombo(g_sqlTool, *styles, adminq::choices(g_sqlTool, adminq::Choice::Kinds));
    FillCombo(g_sqlTool, *sexes, adminq::choices(g_sqlTool, adminq::Choice::Sexes));
    FillCombo(g_sqlTool, *natures, adminq::choices(g_sqlTool, adminq::Choice::Natures));
}

void Dlg_InquiryShipment::search()
{
    const std::optional<shipmentq::Filter> filter = conditions_.read();
    if (!filter)
        return;
    found_.reset();
    // One pass over the matches gives the count and the totals; the pages are read with a limit.
    // A search that fails leaves nothing of the last one on screen.
    totals_->DeleteAllItems();
    const shipmentq::Filter f = *filter;
    const bool shown = result_->run(
        [f](quint64 offset, int rows) { return shipmentq::shipments(g_sqlTool, f, offset, rows); },
        shipmentq::totals(g_sqlTool, f));
    if (!shown)
        return;
    found_ = filter;
    using T = shipmentq::Totals;
    const Row& sums = result_->counted();
    result_->label()->setText(QStringLiteral("共查询到%1条记录，显示其中1-%2条")
                                  .arg(result_->total())
                                  .arg(result_->list()->GetItemCount()));
    totals_->AppendItem({QString::number(sums.toInt64(T::Goods)), QString::number(sums.toInt64(T::Loss)),
                         QString::number(sums.toInt64(T::Original)), QString::number(sums.toInt64(T::Washed)),
                         QString::asprintf("%.2f", sums.toDouble(T::Amount))});
}

void Dlg_InquiryShipment::exportLists()
{
    // Every shipment found, not only the page shown, so that the file adds up to its totals.
    using K = exporting::Kind;
    exporting::Export e;
    e.document.sheet = QStringLiteral("发货查询");
    e.document.tables = {
        {exporting::columnsOf(result_->list()->rows(),
                              {K::Integer, K::Integer, K::Text, K::Text, K::Text, K::Moment, K::Integer,
                               K::Text, K::Text, K::Integer, K::Integer, K::Integer, K::Integer, K::Money}),
         exporting::streamedPages(g_sqlTool,
                                  shipmentq::allShipments(g_sqlTool, found_.value_or(shipmentq::Filter()))),
         found_ ? result_->total() : 0},
        {exporting::columnsOf(totals_->rows(), {K::Integer, K::Integer, K::Integer, K::Integer, K::Money}),
         exporting::listPages(totals_->rows()), quint64(totals_->GetItemCount())}};
    exporting::reportExport(exporting::run(this, e));
}
