#include "dialogs/admin/Dlg_Manage.h"

#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/admin/Dlg_Inquiry.h"
#include "dialogs/admin/ManagePanel.h"
#include "dialogs/admin/ops/ManageSettings.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Rights.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

enum Panel { Technologies, Processes, Members, Clients, Orders, Losses };

const QString kPasswordSet = QStringLiteral("已设置（输入新密码后保存）");

}  // namespace

Dlg_Manage::Dlg_Manage(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Manage"));
    setWindowTitle(QStringLiteral("生产管理"));

    for (int i = 0; i < 6; ++i)
        panels_[i] = new ManagePanel(manage::kGrids[i], this);
    inactiveMembers_ =
        makeCheckBox(QStringLiteral("显示未激活员工"), "inactiveMembersCheck", panels_[Members]);
    panels_[Members]->buttonRow()->addWidget(inactiveMembers_);
    inactiveClients_ =
        makeCheckBox(QStringLiteral("显示未激活客户"), "inactiveClientsCheck", panels_[Clients]);
    panels_[Clients]->buttonRow()->addWidget(inactiveClients_);
    auto* queryButton = makeButton(QStringLiteral("查询"), "orderQuery", panels_[Orders]);
    panels_[Orders]->buttonRow()->insertWidget(3, queryButton);

    auto* settings = new QGroupBox(QStringLiteral("设置"), this);
    settings->setObjectName(QStringLiteral("settingsGroup"));
    lossPrice_ = makeEdit(QStringLiteral("编辑损耗单价"), "lossPriceEdit", settings);
    saveLossPrice_ = makeButton(QStringLiteral("保存"), "lossPriceSave", settings);
    password_ = makeEdit(QStringLiteral("编辑特权密码"), "passwordEdit", settings);
    password_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    savePassword_ = makeButton(QStringLiteral("保存"), "passwordSave", settings);
    auto* settingsLayout = new QVBoxLayout(settings);
    for (const auto& [caption, edit, save] :
         {std::tuple{QStringLiteral("编辑损耗单价"), lossPrice_, saveLossPrice_},
          std::tuple{QStringLiteral("编辑特权密码"), password_, savePassword_}}) {
        edit->setMinimumWidth(110);
        settingsLayout->addWidget(makeCaption(caption, edit, settings));
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(save);
        settingsLayout->addLayout(row);
        save->setAccessibleName(caption + QStringLiteral("保存"));
    }
    settingsLayout->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(panels_[Technologies], 0, 0);
    layout->addWidget(panels_[Processes], 0, 1);
    layout->addWidget(panels_[Orders], 0, 2, 1, 2);
    layout->addWidget(panels_[Members], 1, 0);
    layout->addWidget(panels_[Clients], 1, 1);
    layout->addWidget(panels_[Losses], 1, 2);
    layout->addWidget(settings, 1, 3);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 3);
    layout->setColumnStretch(3, 0);
    resize(1360, 860);

    panels_[Technologies]->setSource([](int) { return adminq::technologies(g_sqlTool); });
    panels_[Processes]->setSource([](int) { return adminq::processes(g_sqlTool); });
    panels_[Members]->setSource(
        [this](int) { return adminq::members(g_sqlTool, inactiveMembers_->isChecked()); });
    panels_[Clients]->setSource(
        [this](int) { return adminq::clients(g_sqlTool, inactiveClients_->isChecked()); });
    panels_[Orders]->setSource([this](int limit) {
        return inquiry_ ? adminq::inquiredOrders(g_sqlTool, *inquiry_, limit)
                        : adminq::activeOrders(g_sqlTool, limit);
    });
    panels_[Losses]->setSource([](int limit) { return adminq::losses(g_sqlTool, limit); });

    // Technologies, process steps and adding or removing orders are the administrator's.
    const bool prices = rights::mayEditPrices(g_identity);
    const bool records = rights::mayEditRecords(g_identity);
    constexpr size_t kPanels = std::extent_v<decltype(panels_)>;
    std::pair<bool, bool> editable[kPanels];
    for (auto& e : editable)
        e = {records, records};
    editable[Technologies] = {prices, prices};
    editable[Processes] = {prices, prices};
    editable[Orders] = {records, prices};

    // Everything the screen opens with is read in one exchange: the grids' choices, the
    // grids and the settings.
    QList<adminq::Choice> used;
    for (size_t p = 0; p < kPanels; ++p)
        if (editable[p].first)
            for (const adminq::Choice c : panels_[p]->choicesUsed())
                if (!used.contains(c))
                    used.append(c);
    QList<Statement> reads;
    for (const adminq::Choice c : used)
        reads.append(adminq::choices(g_sqlTool, c));
    for (ManagePanel* p : panels_)
        reads.append(p->loadStatement());
    reads << adminq::setting(g_sqlTool, adminq::kLossPrice)
          << adminq::setting(g_sqlTool, adminq::kPrivilegedPassword);
    const Batch read = g_sqlTool.ReadAll(reads);
    std::map<adminq::Choice, Rows> choices;
    for (int i = 0; i < used.size(); ++i)
        choices.emplace(used.at(i), read.rows(i));
    for (size_t p = 0; p < kPanels; ++p)
        panels_[p]->setEditable(editable[p].first, editable[p].second, &choices);
    int at = static_cast<int>(used.size());
    for (ManagePanel* p : panels_) {
        const Rows rows = read.rows(at++);
        p->load(&rows);
    }
    readSettings({read.rows(at), read.rows(at + 1)});
    saveLossPrice_->setEnabled(false);
    savePassword_->setEnabled(false);
    const bool editSettings = rights::mayEditSettings(g_identity);
    lossPrice_->setReadOnly(!editSettings);
    password_->setReadOnly(!editSettings);

    connect(inactiveMembers_, &QCheckBox::clicked, this, &Dlg_Manage::showInactiveMembers);
    connect(queryButton, &QPushButton::clicked, this, &Dlg_Manage::queryOrders);
    connect(saveLossPrice_, &QPushButton::clicked, this, &Dlg_Manage::saveLossPrice);
    connect(savePassword_, &QPushButton::clicked, this, &Dlg_Manage::savePassword);
    if (editSettings) {
        connect(lossPrice_, &QLineEdit::textEdited, saveLossPrice_,
                [this] { saveLossPrice_->setEnabled(true); });
        connect(password_, &QLineEdit::textEdited, savePassword_,
                [this] { savePassword_->setEnabled(true); });
    }
}

bool Dlg_Manage::readSettings(const std::array<Rows, 2>& settings)
{
    int at = 0;
    for (const auto& [name, edit] :
         {std::pair{adminq::kLossPrice, lossPrice_}, std::pair{adminq::kPrivilegedPassword, password_}}) {
        const Rows& read = settings.at(at++);
        if (!prompt().report(read))
            return false;
        if (read.empty()) {
            prompt().message(QStringLiteral("数据库中没有“%1”的设置").arg(name), QStringLiteral("Error"));
            return false;
        }
        // The privileged password is never shown: the box takes a new one.
        if (edit == password_)
            edit->setPlaceholderText(read.first().text(0).isEmpty() ? QString() : kPasswordSet);
        else
            edit->setText(read.first().text(0));
    }
    return true;
}

void Dlg_Manage::showInactiveMembers()
{
    // The box shows all employees while ticked and the active ones otherwise, saves included.
    if (!panels_[Members]->mayDiscard()) {
        const QSignalBlocker block(inactiveMembers_);
        inactiveMembers_->setChecked(!inactiveMembers_->isChecked());
        return;
    }
    panels_[Members]->load();
}

void Dlg_Manage::queryOrders()
{
    if (!panels_[Orders]->mayDiscard())
        return;
    Dlg_Inquiry inquiry(this);
    if (inquiry.exec() != QDialog::Accepted)
        return;
    inquiry_ = inquiry.filter();
    panels_[Orders]->load();
}

void Dlg_Manage::saveLossPrice()
{
    if (prompt().report(manage::saveLossPrice(g_sqlTool, lossPrice_->text())))
        saveLossPrice_->setEnabled(false);
}

void Dlg_Manage::savePassword()
{
    if (!prompt().report(manage::savePrivilegedPassword(g_sqlTool, password_->text())))
        return;
    savePassword_->setEnabled(false);
    password_->clear();
    password_->setPlaceholderText(kPasswordSet);
}

bool Dlg_Manage::mayClose()
{
    for (ManagePanel* p : panels_)
        if (p->changed())
            return prompt().confirm(QStringLiteral("放弃所做的修改吗？"), QStringLiteral("提示"));
    return true;
}

void Dlg_Manage::reject()
{
    if (mayClose())
        QDialog::reject();
}

void Dlg_Manage::accept()
{
    if (mayClose())
        QDialog::accept();
}
