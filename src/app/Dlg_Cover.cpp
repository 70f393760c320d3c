#include "app/Dlg_Cover.h"

#include "app/AppResources.h"
#include "app/CipherLibrary.h"
#include "app/IniFile.h"
#include "db/Convert.h"
#include "db/KvMessage.h"
#include "ui/AppState.h"
#include "ui/Prompt.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kMessage = 9527;
constexpr int kAnswer = 9528;

QPointer<Dlg_Cover> g_cover;

}  // namespace

Dlg_Cover::Dlg_Cover(QWidget* parent, const CipherLibrary* cipher) : QDialog(parent)
{
    initAppResources();
    setObjectName(QStringLiteral("Dlg_Cover"));
    picture_.load(QStringLiteral(":/app/cover.png"));
    const QSize size = picture_.isNull() ? QSize(640, 480) : picture_.size();
    setFixedSize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    account_ = new QLineEdit(this);
    account_->setObjectName(QStringLiteral("account"));
    account_->setAccessibleName(QStringLiteral("账号"));
    account_->setGeometry(225, 260, 200, 20);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("password"));
    password_->setAccessibleName(QStringLiteral("密码"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setGeometry(225, 330, 200, 20);

    saveAccount_ = new QCheckBox(QStringLiteral("保存账号"), this);
    saveAccount_->setObjectName(QStringLiteral("saveAccount"));
    saveAccount_->setGeometry(435, 265, 68, 15);
    savePassword_ = new QCheckBox(QStringLiteral("保存密码"), this);
    savePassword_->setObjectName(QStringLiteral("savePassword"));
    savePassword_->setGeometry(435, 335, 68, 15);
    for (QCheckBox* box : {saveAccount_, savePassword_}) {
        // The boxes are small; their text sits on the picture.
        QFont f = box->font();
        f.setPointSizeF(f.pointSizeF() * 0.9);
        box->setFont(f);
        box->setAttribute(Qt::WA_TranslucentBackground);
    }

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setGeometry(245, 365, 73, 21);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    cancel_->setGeometry(332, 365, 73, 21);
    // Enter submits from the two boxes only; elsewhere it presses nothing.
    for (QPushButton* b : {ok_, cancel_}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(ok_, &QPushButton::clicked, this, &Dlg_Cover::submit);
    connect(account_, &QLineEdit::returnPressed, this, &Dlg_Cover::submit);
    connect(password_, &QLineEdit::returnPressed, this, &Dlg_Cover::submit);
    connect(cancel_, &QPushButton::clicked, this, &Dlg_Cover::reject);
    connect(saveAccount_, &QCheckBox::clicked, this, [](bool on) { g_saveAccount = on ? 1 : 0; });
    connect(savePassword_, &QCheckBox::clicked, this, [](bool on) { g_savePassword = on ? 1 : 0; });

    const IniFile ini(ConfigFileName());
    g_saveAccount = convert::toInt(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Save")));
    if (g_saveAccount == 1) {
        saveAccount_->setChecked(true);
        account_->setText(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Name")));
    }
    g_savePassword = convert::toInt(ini.value(QStringLiteral("PASSWORD"), QStringLiteral("Save")));
    if (g_savePassword == 1) {
        savePassword_->setChecked(true);
        // Kept for this computer, user and folder: elsewhere it does not decipher.
        QString kept;
        if (cipher && cipher->Decrypt(ini.value(QStringLiteral("PASSWORD"), QStringLiteral("Name")),
                                      CipherLibrary::RememberedKey(), &kept))
            password_->setText(kept);
    }

    g_cover = this;
    setWindowTitle(QStringLiteral("洗水厂生产管理系统"));
    // With the account remembered, what is left to type is the password.
    if (account_->text().isEmpty())
        account_->setFocus();
    else
        password_->setFocus();
}

Dlg_Cover::~Dlg_Cover()
{
    if (g_cover == this)
        g_cover = nullptr;
}

Dlg_Cover* Dlg_Cover::current()
{
    return g_cover.data();
}

void Dlg_Cover::submit()
{
    g_account.clear();
    g_password.clear();
    g_identity.clear();
    g_account = account_->text();
    g_password = password_->text();
    if (g_account.isEmpty() || g_password.isEmpty()) {
        prompt().message(QStringLiteral("请输入账号和密码登录"), QStringLiteral("提示"));
        return;
    }
    KvMessage::post(parentWidget(), kMessage, 1);
}

void Dlg_Cover::submitRemembered()
{
    if (!account_->text().isEmpty() && !password_->text().isEmpty())
        submit();
}

void Dlg_Cover::reject()
{
    KvMessage::post(parentWidget(), kMessage, 0);
    QDialog::reject();
}

bool Dlg_Cover::event(QEvent* e)
{
    if (e->type() != KvMessage::kType)
        return QDialog::event(e);
    const auto* m = static_cast<KvMessage*>(e);
    if (m->code() == kAnswer) {
        if (m->value() == 1) {
            accept();
        } else {
            if (m->value() != kRefusedTold)
                prompt().message(QStringLiteral("错误的账号或密码"), QStringLiteral("错误"));
            // Ready for the password to be typed again.
            password_->setFocus();
            password_->selectAll();
        }
    }
    return true;
}

void Dlg_Cover::paintEvent(QPaintEvent* e)
{
    if (picture_.isNull())
        return QDialog::paintEvent(e);
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}
