#include "dialogs/materials/Dlg_RawOut.h"

#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/materials/MaterialLists.h"
#include "dialogs/materials/MaterialQueries.h"
#include "dialogs/materials/ops/Issue.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace materials;

namespace {

QGroupBox* framed(const QString& caption, QWidget* list, QWidget* parent)
{
    auto* group = new QGroupBox(caption, parent);
    list->setParent(group);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(list);
    return group;
}

}  // namespace

Dlg_RawOut::Dlg_RawOut(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_RawOut"));
    setWindowTitle(QStringLiteral("领料登记"));

    materials_ = makeMaterialList(this, MaterialColumns::Desk);
    members_ = makeList(QStringLiteral("领料人"), "memberList", this, {{"工号", 0}, {"姓名", 60}});
    clients_ =
        makeList(QStringLiteral("客户"), "clientList", this, {{"客户号", 0}, {"名称", 90}, {"说明", 0}});
    team_ = makeCombo(QStringLiteral("领料班组"), "teamCombo", this);
    quantity_ = makeEdit(QStringLiteral("领料数量"), "quantityEdit", this);
    auto* take = makeButton(QStringLiteral("领出"), "issueButton", this);
    issues_ = makeList(QStringLiteral("领料记录"), "issueList", this,
                       {{"序列号", 60},
                        {"原料名称", 120},
                        {"客户", 80},
                        {"数量", 60},
                        {"时间", 140},
                        {"班组", 100},
                        {"领料人", 70}});

    auto* form = new QGridLayout;
    form->addWidget(makeCaption(QStringLiteral("领料班组"), team_, this), 0, 0);
    form->addWidget(team_, 0, 1);
    form->addWidget(makeCaption(QStringLiteral("领料数量"), quantity_, this), 1, 0);
    form->addWidget(quantity_, 1, 1);
    form->addWidget(take, 2, 1, Qt::AlignRight);
    form->setRowStretch(3, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(framed(materials_->accessibleName(), materials_, this), 3);
    top->addWidget(framed(members_->accessibleName(), members_, this), 1);
    top->addWidget(framed(clients_->accessibleName(), clients_, this), 2);
    top->addLayout(form, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(issues_, 2);
    resize(1000, 680);

    fillMaterials(materials_, MaterialColumns::Desk);
    prompt().report(members_->Fill(g_sqlTool, materialq::activeMembers(g_sqlTool)));
    prompt().report(clients_->Fill(g_sqlTool, materialq::clients(g_sqlTool)));
    FillCombo(g_sqlTool, *team_, adminq::choices(g_sqlTool, adminq::Choice::Teams));
    prompt().report(issues_->Fill(g_sqlTool, materialq::recentIssues(g_sqlTool)));
    connect(take, &QPushButton::clicked, this, &Dlg_RawOut::issue);
}

void Dlg_RawOut::issue()
{
    Issue i;
    i.material = selectedCell(materials_, 0);
    i.member = convert::toId(selectedCell(members_, 0));
    i.client = convert::toId(selectedCell(clients_, 0));
    i.team = team_->currentIndex() < 0 ? QString() : team_->currentText();
    i.quantity = convert::toDouble(quantity_->text());
    i.account = g_account;
    // Refusals and failures alike say "错误" here.
    const QString error = QStringLiteral("错误");
    if (!prompt().report(checkIssue(i), error) || !prompt().report(checkStock(g_sqlTool, i), error))
        return;
    if (!prompt().confirm(QStringLiteral("确定领料吗？"), QStringLiteral("提示")))
        return;
    const Outcome r = issueMaterial(g_sqlTool, i);
    prompt().report(r, error);
    if (r.kind() == Outcome::Kind::Failed)
        return;
    // Also after a refusal: the stock another desk left is what the list shows now.
    fillMaterials(materials_, MaterialColumns::Desk);
    if (r.ok())
        prompt().report(issues_->Fill(g_sqlTool, materialq::recentIssues(g_sqlTool)));
}
