#include "dialogs/inquiry/OrderConditions.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using F = inquiryproq::Filter;

OrderConditions::OrderConditions(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("orderConditions"));
    const auto list = [this](QCheckBox* box, const char* name, GridColumns columns) {
        KvGrid* l = makeList(box->text(), name, this, columns);
        l->setMinimumHeight(110);
        return l;
    };
    const auto combo = [this](QCheckBox* box, const char* name) {
        QComboBox* c = makeCombo(box->text(), name, this);
        c->setMinimumContentsLength(6);
        return c;
    };
    auto* customer = makeCheckBox(QStringLiteral("选择客户"), "customerSwitch", this);
    customers_ = list(customer, "customerList", {{"客户号", 55}, {"名称", 65}, {"说明", 75}});
    auto* technology = makeCheckBox(QStringLiteral("选择包含工艺"), "technologySwitch", this);
    technologies_ = list(technology, "technologyList", {{"名称", 145}, {"类型", 50}});
    auto* receiver = makeCheckBox(QStringLiteral("选择接货人"), "receiverSwitch", this);
    receiver_ = combo(receiver, "receiverCombo");
    auto* nature = makeCheckBox(QStringLiteral("选择货物属性"), "natureSwitch", this);
    nature_ = combo(nature, "natureCombo");
    auto* type = makeCheckBox(QStringLiteral("选择货物类型"), "typeSwitch", this);
    type_ = combo(type, "typeCombo");
    auto* kind = makeCheckBox(QStringLiteral("选择货物款式"), "kindSwitch", this);
    kind_ = combo(kind, "kindCombo");
    // "After" compares with the first pair, "before" with the second.
    const auto time = [this](const QString& caption, const QString& name) {
        return new TimeCondition(caption, name, TimeCondition::First, TimeCondition::Second, this);
    };
    TimeCondition* received = time(QStringLiteral("选择接货时间"), QStringLiteral("received"));
    TimeCondition* activated = time(QStringLiteral("选择激活时间"), QStringLiteral("activated"));
    TimeCondition* closed = time(QStringLiteral("选择结讫时间"), QStringLiteral("closed"));
    auto* includeClosed = makeCheckBox(QStringLiteral("包括已结讫货单"), "includeClosed", this);
    query_ = makeButton(QStringLiteral("查询"), "queryButton", this);

    panel_
        .list(customer, customers_, "您设置了勾选客户，请选择一个客户作为查询条件",
              [](F& f, const QString& id) { f.customer = convert::toId(id); })
        .list(technology, technologies_, "您设置了勾选工艺，请选择一项工艺作为查询条件",
              [](F& f, const QString& name) { f.technology = name; })
        .combo(receiver, receiver_, "您设置了勾选接货人，请选择一名接货人作为查询条件",
               [](F& f, const QString& name) { f.receiver = name; })
        .combo(nature, nature_, "您设置了勾选货物性质，请选择一项性质作为查询条件",
               [](F& f, const QString& v) { f.nature = v; })
        .combo(type, type_, "您设置了勾选货物类型，请选择一项类型作为查询条件",
               [](F& f, const QString& v) { f.type = v; })
        .combo(kind, kind_, "您设置了勾选货物款式，请选择一项款式作为查询条件",
               [](F& f, const QString& v) { f.kind = v; })
        .time(received, "您设置了勾选接货时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.received = m; })
        .time(activated, "您设置了勾选激活时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.activated = m; })
        .time(closed, "您设置了勾选结讫时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.closed = m; })
        .flag(includeClosed, [](F& f, bool on) { f.includeClosed = on; });

    const auto column = [](std::initializer_list<QWidget*> widgets) {
        auto* box = new QVBoxLayout;
        for (QWidget* w : widgets)
            box->addWidget(w);
        return box;
    };
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(column({customer, customers_}), 3);
    layout->addLayout(column({technology, technologies_}), 3);
    auto* combos = new QGridLayout;
    int row = 0;
    for (auto [box, input] : {std::pair{receiver, receiver_}, std::pair{nature, nature_},
                              std::pair{type, type_}, std::pair{kind, kind_}}) {
        combos->addWidget(box, row, 0);
        combos->addWidget(input, row++, 1);
    }
    combos->setRowStretch(row, 1);
    layout->addLayout(combos, 2);
    for (TimeCondition* t : {received, activated, closed}) {
        auto* box = column({t});
        box->addStretch(1);
        layout->addLayout(box, 2);
    }
    auto* last = column({includeClosed, query_});
    last->addStretch(1);
    layout->addLayout(last);
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
