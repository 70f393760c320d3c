#include "dialogs/inquiry/OrderConditions.h"

#include "db/Conditions.h"
#include "db/Convert.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "grid/KvGrid.h"
#include "parts/Switches.h"
#include "parts/TimeCondition.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

OrderConditions::OrderConditions(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("orderConditions"));
    customerSwitch_ = addSwitch(QStringLiteral("选择客户"), "customerSwitch");
    customers_ = addList(customerSwitch_, "customerList", {{"客户号", 55}, {"名称", 65}, {"说明", 75}});
    technologySwitch_ = addSwitch(QStringLiteral("选择包含工艺"), "technologySwitch");
    technologies_ = addList(technologySwitch_, "technologyList", {{"名称", 145}, {"类型", 50}});
    receiverSwitch_ = addSwitch(QStringLiteral("选择接货人"), "receiverSwitch");
    receiver_ = addCombo(receiverSwitch_, "receiverCombo");
    natureSwitch_ = addSwitch(QStringLiteral("选择货物属性"), "natureSwitch");
    nature_ = addCombo(natureSwitch_, "natureCombo");
    typeSwitch_ = addSwitch(QStringLiteral("选择货物类型"), "typeSwitch");
    type_ = addCombo(typeSwitch_, "typeCombo");
    kindSwitch_ = addSwitch(QStringLiteral("选择货物款式"), "kindSwitch");
    kind_ = addCombo(kindSwitch_, "kindCombo");
    // "After" compares with the first pair, "before" with the second.
    received_ = new TimeCondition(QStringLiteral("选择接货时间"), QStringLiteral("received"),
                                  TimeCondition::First, TimeCondition::Second, this);
    activated_ = new TimeCondition(QStringLiteral("选择激活时间"), QStringLiteral("activated"),
                                   TimeCondition::First, TimeCondition::Second, this);
    closed_ = new TimeCondition(QStringLiteral("选择结讫时间"), QStringLiteral("closed"),
                                TimeCondition::First, TimeCondition::Second, this);
    includeClosed_ = addSwitch(QStringLiteral("包括已结讫货单"), "includeClosed");
    query_ = makeButton(QStringLiteral("查询"), "queryButton", this);

    const auto column = [](std::initializer_list<QWidget*> widgets) {
        auto* box = new QVBoxLayout;
        for (QWidget* w : widgets)
            box->addWidget(w);
        return box;
    };
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(column({customerSwitch_, customers_}), 3);
    layout->addLayout(column({technologySwitch_, technologies_}), 3);
    auto* combos = new QGridLayout;
    int row = 0;
    for (auto [box, combo] : {std::pair{receiverSwitch_, receiver_}, std::pair{natureSwitch_, nature_},
                              std::pair{typeSwitch_, type_}, std::pair{kindSwitch_, kind_}}) {
        combos->addWidget(box, row, 0);
        combos->addWidget(combo, row++, 1);
    }
    combos->setRowStretch(row, 1);
    layout->addLayout(combos, 2);
    for (TimeCondition* t : {received_, activated_, closed_}) {
        auto* box = column({t});
        box->addStretch(1);
        layout->addLayout(box, 2);
    }
    auto* last = column({includeClosed_, query_});
    last->addStretch(1);
    layout->addLayout(last);
}

QCheckBox* OrderConditions::addSwitch(const QString& caption, const char* name)
{
    return makeCheckBox(caption, name, this);
}

QComboBox* OrderConditions::addCombo(QCheckBox* box, const char* name)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(box->text());
    combo->setMinimumContentsLength(6);
    bindSwitch(box, {combo});
    return combo;
}

KvGrid* OrderConditions::addList(QCheckBox* box, const char* name,
                                 std::initializer_list<std::pair<const char*, int>> columns)
{
    auto* list = new KvGrid(this);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(box->text());
    for (const auto& [caption, width] : columns)
        list->InsertColumn(QString::fromUtf8(caption), width);
    list->setMinimumHeight(110);
    bindSwitch(box, {list});
    return list;
}

void OrderConditions::load()
{
    prompt().report(customers_->Fill(g_sqlTool, inquiryproq::customers(g_sqlTool)));
    prompt().report(technologies_->Fill(g_sqlTool, adminq::technologyList(g_sqlTool)));
    FillCombo(g_sqlTool, *receiver_, inquiryproq::receivers(g_sqlTool));
    FillCombo(g_sqlTool, *nature_, adminq::choices(g_sqlTool, adminq::Choice::Natures));
    FillCombo(g_sqlTool, *type_, adminq::choices(g_sqlTool, adminq::Choice::GoodsTypes));
    FillCombo(g_sqlTool, *kind_, adminq::choices(g_sqlTool, adminq::Choice::Kinds));
}

QString OrderConditions::build(Conditions& where) const
{
    const auto selected = [](const KvGrid* list, QString* first) {
        const int row = list->GetSelectedRow();
        if (row >= 0)
            *first = list->GetItemText(row, 0);
        return row >= 0;
    };
    QString value;
    if (customerSwitch_->isChecked()) {
        if (!selected(customers_, &value))
            return QStringLiteral("您设置了勾选客户，请选择一个客户作为查询条件");
        inquiryproq::addCustomer(where, convert::toId(value));
    }
    if (technologySwitch_->isChecked()) {
        if (!selected(technologies_, &value))
            return QStringLiteral("您设置了勾选工艺，请选择一项工艺作为查询条件");
        inquiryproq::addTechnology(where, value);
    }
    const struct {
        QCheckBox* box;
        QComboBox* combo;
        void (*add)(Conditions&, const QString&);
        const char* missing;
    } combos[] = {
        {receiverSwitch_, receiver_, &inquiryproq::addReceiver,
         "您设置了勾选接货人，请选择一名接货人作为查询条件"},
        {natureSwitch_, nature_, &inquiryproq::addNature, "您设置了勾选货物性质，请选择一项性质作为查询条件"},
        {typeSwitch_, type_, &inquiryproq::addType, "您设置了勾选货物类型，请选择一项类型作为查询条件"},
        {kindSwitch_, kind_, &inquiryproq::addKind, "您设置了勾选货物款式，请选择一项款式作为查询条件"},
    };
    for (const auto& c : combos) {
        if (!c.box->isChecked())
            continue;
        if (c.combo->currentText().isEmpty())
            return QString::fromUtf8(c.missing);
        c.add(where, c.combo->currentText());
    }
    const struct {
        const TimeCondition* condition;
        const inquiryproq::TimeFragments& fragments;
        const char* missing;
    } times[] = {
        {received_, inquiryproq::kReceived, "您设置了勾选接货时间，请选择一项内容作为查询条件"},
        {activated_, inquiryproq::kActivated, "您设置了勾选激活时间，请选择一项内容作为查询条件"},
        {closed_, inquiryproq::kClosed, "您设置了勾选结讫时间，请选择一项内容作为查询条件"},
    };
    for (const auto& t : times) {
        if (t.condition->ticked() && !t.condition->append(where, tables::product, t.fragments.after,
                                                          t.fragments.before, t.fragments.within))
            return QString::fromUtf8(t.missing);
    }
    if (!includeClosed_->isChecked())
        inquiryproq::addOpenOnly(where);
    return QString();
}
