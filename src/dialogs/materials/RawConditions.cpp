#include "dialogs/materials/RawConditions.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/materials/MaterialLists.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QVBoxLayout>

using namespace materials;
using F = materialq::Filter;

RawConditions::RawConditions(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("rawConditions"));
    auto* materialCheck = makeCheckBox(QStringLiteral("选择原料"), "materialCheck", this);
    materials_ = makeMaterialList(this, MaterialColumns::Inquiry);
    auto* supplierCheck = makeCheckBox(QStringLiteral("选择供应商"), "supplierCheck", this);
    suppliers_ =
        makeList(QStringLiteral("供应商"), "supplierList", this, {{"序列", 0}, {"名称", 90}, {"说明", 110}});
    auto* clientCheck = makeCheckBox(QStringLiteral("选择客户"), "clientCheck", this);
    clients_ =
        makeList(QStringLiteral("客户"), "clientList", this, {{"客户号", 0}, {"名称", 90}, {"说明", 110}});
    auto* memberCheck = makeCheckBox(QStringLiteral("选择采购/领料"), "memberCheck", this);
    members_ = makeList(QStringLiteral("采购人/领料人"), "memberList", this, {{"工号", 0}, {"姓名", 90}});
    teamCheck_ = makeCheckBox(QStringLiteral("选择领料班组"), "teamCheck", this);
    teams_ = makeCombo(QStringLiteral("领料班组"), "teamCombo", this);
    auto* accountCheck = makeCheckBox(QStringLiteral("选择经办人"), "accountCheck", this);
    accounts_ = makeCombo(QStringLiteral("经办人"), "accountCombo", this);
    auto* time = new TimeCondition(
        QStringLiteral("选择时间"), QStringLiteral("time"), TimeCondition::Second, TimeCondition::First, this,
        TimeCaptions{QStringLiteral("时间之后"), QStringLiteral("时间之前"), QStringLiteral("时间之间")});

    const auto purchases = [this] { return mode_ == Mode::Purchases; };
    const auto issues = [this] { return mode_ == Mode::Issues; };
    panel_
        .list(materialCheck, materials_, "您设置了勾选原料，请选择一种原料作为查询条件",
              [](F& f, const QString& name) { f.material = name; })
        .list(supplierCheck, suppliers_, "您设置了勾选供应商，请选择一个供应商作为查询条件",
              [](F& f, const QString& id) { f.supplier = convert::toId(id); })
        .onlyWhile(purchases)
        .list(clientCheck, clients_, "您设置了勾选客户，请选择一个客户作为查询条件",
              [](F& f, const QString& id) { f.client = convert::toId(id); })
        .onlyWhile(issues)
        .list(memberCheck, members_, "您设置了勾选采购人/领料人，请选择一项作为查询条件",
              [](F& f, const QString& id) { f.member = convert::toId(id); })
        .combo(teamCheck_, teams_, "您设置了勾选领料班组，请选择一项作为查询条件",
               [](F& f, const QString& team) { f.team = team; })
        .onlyWhile(issues)
        .combo(accountCheck, accounts_, "您设置了勾选经办人，请选择一项作为查询条件",
               [](F& f, const QString& account) { f.account = account; })
        .time(time, "您设置了勾选时间，请选择一项内容作为查询条件",
              [](F& f, const Moments& m) { f.time = m; });
    // A drop-down unticked forgets its choice.
    for (auto [box, combo] : {std::pair{teamCheck_, teams_}, std::pair{accountCheck, accounts_}})
        connect(box, &QCheckBox::toggled, this, [combo](bool on) {
            if (!on)
                combo->setCurrentIndex(-1);
        });

    supplierBox_ = switched(supplierCheck, suppliers_);
    clientBox_ = switched(clientCheck, clients_);
    auto* others = new QGridLayout;
    others->addWidget(teamCheck_, 0, 0);
    others->addWidget(teams_, 0, 1);
    others->addWidget(accountCheck, 1, 0);
    others->addWidget(accounts_, 1, 1);
    others->addWidget(time, 2, 0, 1, 2);
    others->setRowStretch(3, 1);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(switched(materialCheck, materials_), 0, 0);
    layout->addWidget(supplierBox_, 0, 1);
    layout->addWidget(clientBox_, 0, 1);
    layout->addWidget(switched(memberCheck, members_), 0, 2);
    layout->addLayout(others, 0, 3);
    layout->setColumnStretch(0, 4);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 1);
    layout->setColumnStretch(3, 2);
    setMode(Mode::Purchases);
}

QWidget* RawConditions::switched(QCheckBox* box, QWidget* input)
{
    auto* w = new QWidget(this);
    box->setParent(w);
    input->setParent(w);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(input, 1);
    return w;
}

void RawConditions::fill()
{
    fillMaterials(materials_, MaterialColumns::Inquiry);
    prompt().report(suppliers_->Fill(g_sqlTool, materialq::suppliers(g_sqlTool)));
    prompt().report(clients_->Fill(g_sqlTool, materialq::clients(g_sqlTool)));
    prompt().report(members_->Fill(g_sqlTool, materialq::activeMembers(g_sqlTool)));
    FillCombo(g_sqlTool, *teams_, adminq::choices(g_sqlTool, adminq::Choice::Teams));
    FillCombo(g_sqlTool, *accounts_, materialq::accounts(g_sqlTool));
}

void RawConditions::setMode(Mode mode)
{
    mode_ = mode;
    const bool issues = mode == Mode::Issues;
    supplierBox_->setVisible(!issues);
    clientBox_->setVisible(issues);
    // The switch keeps its tick; it only counts, and unlocks its drop-down, for issues.
    teamCheck_->setEnabled(issues);
    if (!issues)
        teams_->setCurrentIndex(-1);
    teams_->setEnabled(issues && teamCheck_->isChecked());
}
