#include "app/Dlg_System.h"

#include "app/Accounts.h"
#include "app/TicketSettingsBox.h"
#include "db/mySQLTool.h"
#include "grid/KvGrid.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Prompt.h"
#include "ui/Rights.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool Dlg_System::MayEditAccounts()
{
    return rights::mayEditAccounts(g_identity);
}

Dlg_System::Dlg_System(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_System"));
    setWindowTitle(QStringLiteral("系统设置"));

    auto* personal = new QGroupBox(QStringLiteral("个人设置"), this);
    oldPassword_ = makeEdit(QStringLiteral("输入原密码"), "oldPassword", personal);
    newPassword_ = makeEdit(QStringLiteral("输入新密码"), "newPassword", personal);
    repeatPassword_ = makeEdit(QStringLiteral("重复新密码"), "repeatPassword", personal);
    savePassword_ = makeButton(QStringLiteral("保存"), "savePassword", personal);
    auto* form = new QFormLayout;
    for (QLineEdit* edit : {oldPassword_, newPassword_, repeatPassword_}) {
        edit->setEchoMode(QLineEdit::Password);
        form->addRow(makeCaption(edit->accessibleName(), edit, personal), edit);
    }
    auto* personalLayout = new QVBoxLayout(personal);
    personalLayout->addLayout(form);
    auto* personalButtons = new QHBoxLayout;
    personalButtons->addStretch(1);
    personalButtons->addWidget(savePassword_);
    personalLayout->addLayout(personalButtons);

    auto* users = new QGroupBox(QStringLiteral("编辑用户列表"), this);
    // A new password typed into 密码 is kept in 新密码, hidden, until the save.
    accounts_ = makeList(users->title(), "accountGrid", users,
                         {{"序列号", 60}, {"账号", 70}, {"密码", 70}, {"权限", 70}, {"新密码", 0}});
    accounts_->SetTextEditor(1);
    accounts_->SetTextEditor(2);
    add_ = makeButton(QStringLiteral("增加"), "addAccount", users);
    remove_ = makeButton(QStringLiteral("删除"), "deleteAccount", users);
    saveAccounts_ = makeButton(QStringLiteral("保存"), "saveAccounts", users);
    auto* userButtons = new QHBoxLayout;
    userButtons->addWidget(add_);
    userButtons->addWidget(remove_);
    userButtons->addStretch(1);
    userButtons->addWidget(saveAccounts_);
    auto* usersLayout = new QVBoxLayout(users);
    usersLayout->addWidget(accounts_, 1);
    usersLayout->addLayout(userButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(personal);
    layout->addWidget(users, 1);
    layout->addWidget(new TicketSettingsBox(this));
    resize(340, 560);

    connect(savePassword_, &QPushButton::clicked, this, &Dlg_System::changePassword);
    connect(repeatPassword_, &QLineEdit::returnPressed, this, &Dlg_System::changePassword);
    connect(add_, &QPushButton::clicked, this, &Dlg_System::addRow);
    connect(remove_, &QPushButton::clicked, this, &Dlg_System::deleteRow);
    connect(saveAccounts_, &QPushButton::clicked, this, &Dlg_System::saveAccounts);
    connect(accounts_, &KvGrid::editEnded, this, &Dlg_System::cellEdited);

    // Only the top identities see and edit the accounts.
    const bool mayEdit = MayEditAccounts();
    if (mayEdit) {
        QString error;
        const QStringList identities = accounts::identities(g_sqlTool, &error);
        if (!error.isEmpty())
            prompt().message(error, QStringLiteral("Error"));
        accounts_->SetComboEditor(3, identities);
        loadAccounts();
    }
    add_->setEnabled(mayEdit);
    remove_->setEnabled(mayEdit);
    setChanged(false);
}

void Dlg_System::setChanged(bool changed)
{
    changed_ = changed && MayEditAccounts();
    saveAccounts_->setEnabled(changed_);
}

void Dlg_System::cellEdited(int row, int column)
{
    // The password typed is not left in sight: the cell tells that there is a new one.
    if (column == 2) {
        const QString typed = accounts_->GetItemText(row, 2);
        if (!typed.isEmpty() && typed != accounts::kPasswordSet && typed != accounts::kPasswordTyped)
            accounts_->SetItemText(row, accounts::kNewPassword, typed);
        const bool hasNew = !accounts_->GetItemText(row, accounts::kNewPassword).isEmpty();
        accounts_->SetItemText(
            row, 2,
            hasNew ? accounts::kPasswordTyped : (loadedPassword(row) ? accounts::kPasswordSet : QString()));
    }
    setChanged(true);
}

bool Dlg_System::loadedPassword(int row) const
{
    const QString serial = accounts_->GetItemText(row, 0);
    for (const QStringList& r : loaded_)
        if (r.value(0) == serial)
            return !r.value(2).isEmpty();
    return false;
}

void Dlg_System::loadAccounts()
{
    accounts_->DeleteAllItems();
    if (!accounts::load(g_sqlTool, loaded_)) {
        prompt().message(g_sqlTool.GetError(), QStringLiteral("Error"));
        return;
    }
    for (const QStringList& r : loaded_)
        accounts_->AppendItem(r);
}

QList<QStringList> Dlg_System::gridRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < accounts_->GetItemCount(); ++r)
        rows.append(accounts_->rows().rowCells(r));
    return rows;
}

void Dlg_System::changePassword()
{
    const Outcome r = accounts::changeOwnPassword(g_sqlTool, g_account, g_password, oldPassword_->text(),
                                                  newPassword_->text(), repeatPassword_->text());
    if (!prompt().report(r))
        return;
    // The next change in this sign-in is checked against the new password.
    g_password = newPassword_->text();
    prompt().message(QStringLiteral("密码修改成功"), QStringLiteral("提示"));
    oldPassword_->clear();
    newPassword_->clear();
    repeatPassword_->clear();
}

void Dlg_System::addRow()
{
    if (!MayEditAccounts())
        return;
    const int row = accounts_->AppendItem({accounts::kNewRow, QString(), QString(), QString(), QString()});
    // The new row may lie below the visible ones: bring it into view with its first
    // editable cell (账号) open for typing.
    const QModelIndex name = accounts_->model()->index(row, 1);
    accounts_->SelectRow(row);
    accounts_->scrollTo(name);
    accounts_->setCurrentIndex(name);
    accounts_->setFocus();
    accounts_->edit(name);
}

void Dlg_System::reject()
{
    if (changed_ && !prompt().confirm(QStringLiteral("放弃所做的修改吗？"), QStringLiteral("提示")))
        return;
    QDialog::reject();
}

void Dlg_System::deleteRow()
{
    if (!MayEditAccounts())
        return;
    const int row = accounts_->GetSelectedRow();
    if (row < 0) {
        prompt().message(QStringLiteral("请选择一行记录"), QStringLiteral("错误"));
        return;
    }
    if (!prompt().confirm(QStringLiteral("确定删除吗？"), QStringLiteral("提示")))
        return;
    setChanged(true);
    accounts_->DeleteItem(row);
}

void Dlg_System::saveAccounts()
{
    if (!MayEditAccounts())
        return;
    const accounts::SaveResult r = accounts::save(g_sqlTool, g_account, loaded_, gridRows());
    if (!r.outcome.ok()) {
        if (r.row >= 0)
            accounts_->SelectRow(r.row);
        prompt().report(r.outcome);
        // Another administrator changed the accounts meanwhile: show them as they are now.
        if (r.outcome.isTaken()) {
            loadAccounts();
            setChanged(false);
        }
        return;
    }
    loadAccounts();
    setChanged(false);
}
