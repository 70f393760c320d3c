#include "ui/Dlg_Limits.h"

#include "db/KvMessage.h"
#include "ui/AppState.h"
#include "ui/Prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Dlg_Limits::Dlg_Limits(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("limitsDialog"));
    setWindowTitle(QStringLiteral("权限密码"));
    setModal(false);

    auto* label = new QLabel(QStringLiteral("请输入权限密码"), this);
    label->setObjectName(QStringLiteral("passwordLabel"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("passwordEdit"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setAccessibleName(label->text());
    label->setBuddy(password_);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    // Enter in the box is "确定" and nothing else.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Dlg_Limits::accept);
    connect(cancel, &QPushButton::clicked, this, &Dlg_Limits::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(password_);
    layout->addLayout(buttons);
    setMinimumWidth(280);
    hide();
}

void Dlg_Limits::ask()
{
    adjustSize();
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    password_->setFocus();
}

void Dlg_Limits::accept()
{
    g_limitPassword.clear();
    g_limitPassword = password_->text();
    if (g_limitPassword.isEmpty()) {
        prompt().message(QStringLiteral("密码不能为空"), QStringLiteral("错误"));
        return;
    }
    password_->clear();
    KvMessage::post(parentWidget(), kPasswordTyped, 1);
    hide();
}

void Dlg_Limits::reject()
{
    hide();
}

void Dlg_Limits::hideEvent(QHideEvent* e)
{
    password_->clear();
    QDialog::hideEvent(e);
}
