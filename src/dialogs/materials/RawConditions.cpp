#include "dialogs/materials/RawConditions.h"

#include "db/Conditions.h"
#include "db/Convert.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/materials/MaterialLists.h"
#include "dialogs/materials/MaterialQueries.h"
#include "grid/KvGrid.h"
#include "parts/Switches.h"
#include "parts/TimeCondition.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QVBoxLayout>

using namespace materials;

namespace {

const QString kError = QStringLiteral("错误");

bool missing(const QString& message)
{
    prompt().message(message, kError);
    return false;
}

QComboBox* combo(const char* name, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

}  // namespace

RawConditions::RawConditions(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("rawConditions"));
    materials_ = makeMaterialList(this, MaterialColumns::Inquiry);
    suppliers_ =
        makeList(this, "supplierList", QStringLiteral("供应商"), {{"序列", 0}, {"名称", 90}, {"说明", 110}});
    clients_ =
        makeList(this, "clientList", QStringLiteral("客户"), {{"客户号", 0}, {"名称", 90}, {"说明", 110}});
    members_ = makeList(this, "memberList", QStringLiteral("采购人/领料人"), {{"工号", 0}, {"姓名", 90}});
    teams_ = combo("teamCombo", this);
    teams_->setAccessibleName(QStringLiteral("领料班组"));
    accounts_ = combo("accountCombo", this);
    accounts_->setAccessibleName(QStringLiteral("经办人"));
    time_ = new TimeCondition(
        QStringLiteral("选择时间"), QStringLiteral("time"), TimeCondition::Second, TimeCondition::First, this,
        TimeCaptions{QStringLiteral("时间之后"), QStringLiteral("时间之前"), QStringLiteral("时间之间")});

    QWidget* material = switched(materialCheck_, QStringLiteral("选择原料"), "materialCheck", materials_);
    supplierBox_ = switched(supplierCheck_, QStringLiteral("选择供应商"), "supplierCheck", suppliers_);
    clientBox_ = switched(clientCheck_, QStringLiteral("选择客户"), "clientCheck", clients_);
    QWidget* member = switched(memberCheck_, QStringLiteral("选择采购/领料"), "memberCheck", members_);
    teamCheck_ = makeCheckBox(QStringLiteral("选择领料班组"), "teamCheck", this);
    accountCheck_ = makeCheckBox(QStringLiteral("选择经办人"), "accountCheck", this);
    bindSwitch(teamCheck_, {teams_});
    bindSwitch(accountCheck_, {accounts_});
    connect(teamCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            teams_->setCurrentIndex(-1);
    });
    connect(accountCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            accounts_->setCurrentIndex(-1);
    });

    auto* others = new QGridLayout;
    others->addWidget(teamCheck_, 0, 0);
    others->addWidget(teams_, 0, 1);
    others->addWidget(accountCheck_, 1, 0);
    others->addWidget(accounts_, 1, 1);
    others->addWidget(time_, 2, 0, 1, 2);
    others->setRowStretch(3, 1);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(material, 0, 0);
    layout->addWidget(supplierBox_, 0, 1);
    layout->addWidget(clientBox_, 0, 1);
    layout->addWidget(member, 0, 2);
    layout->addLayout(others, 0, 3);
    layout->setColumnStretch(0, 4);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 1);
    layout->setColumnStretch(3, 2);
    setMode(Mode::Purchases);
}

QWidget* RawConditions::switched(QCheckBox*& box, const QString& caption, const char* name, QWidget* input)
{
    auto* w = new QWidget(this);
    box = makeCheckBox(caption, name, w);
    input->setParent(w);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(input, 1);
    bindSwitch(box, {input});
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

const char* RawConditions::table() const
{
    return mode_ == Mode::Purchases ? tables::rawIn : tables::rawOut;
}

bool RawConditions::build(Conditions& where) const
{
    const char* T = table();
    const bool issues = mode_ == Mode::Issues;
    if (materialCheck_->isChecked()) {
        if (materials_->GetSelectedRow() < 0)
            return missing(QStringLiteral("您设置了勾选原料，请选择一种原料作为查询条件"));
        where.add(materialq::kOnMaterial, T, selectedCell(materials_, 0));
    }
    if (!issues && supplierCheck_->isChecked()) {
        if (suppliers_->GetSelectedRow() < 0)
            return missing(QStringLiteral("您设置了勾选供应商，请选择一个供应商作为查询条件"));
        where.add(materialq::kOnSupplier, T, convert::toId(selectedCell(suppliers_, 0)));
    }
    if (issues && clientCheck_->isChecked()) {
        if (clients_->GetSelectedRow() < 0)
            return missing(QStringLiteral("您设置了勾选客户，请选择一个客户作为查询条件"));
        where.add(materialq::kOnClient, T, convert::toId(selectedCell(clients_, 0)));
    }
    if (memberCheck_->isChecked()) {
        if (members_->GetSelectedRow() < 0)
            return missing(QStringLiteral("您设置了勾选采购人/领料人，请选择一项作为查询条件"));
        where.add(materialq::kOnMember, T, convert::toId(selectedCell(members_, 0)));
    }
    if (issues && teamCheck_->isChecked()) {
        if (teams_->currentIndex() < 0)
            return missing(QStringLiteral("您设置了勾选领料班组，请选择一项作为查询条件"));
        where.add(materialq::kOnTeam, T, teams_->currentText());
    }
    if (accountCheck_->isChecked()) {
        if (accounts_->currentIndex() < 0)
            return missing(QStringLiteral("您设置了勾选经办人，请选择一项作为查询条件"));
        where.add(materialq::kOnAccount, T, accounts_->currentText());
    }
    if (time_->ticked() &&
        !time_->append(where, T, materialq::kAfter, materialq::kBefore, materialq::kWithin))
        return missing(QStringLiteral("您设置了勾选时间，请选择一项内容作为查询条件"));
    return true;
}
