#include "app/CKvClientDlg.h"

#include "app/AppQueries.h"
#include "app/AppResources.h"
#include "app/Dashboard.h"
#include "app/Dlg_Cover.h"
#include "app/IniFile.h"
#include "app/MainMenu.h"
#include "app/SignIn.h"
#include "app/TicketSettingsBox.h"
#include "db/Convert.h"
#include "db/KvMessage.h"
#include "db/mySQLTool.h"
#include "dialogs/board/Dlg_Board.h"
#include "ui/AppState.h"
#include "ui/Prompt.h"
#include "ui/Rights.h"

#include <unistd.h>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>

namespace {

constexpr int kLogin = 9527;
constexpr int kLoginAnswer = 9528;
// The version shows in the title, so a desk can tell which package it runs.
const QString kTitle = QStringLiteral("洗水厂生产管理系统 " KV_VERSION);

QIcon appIcon()
{
    return QIcon(QStringLiteral(":/app/icon.png"));
}

}  // namespace

CKvClientDlg::CKvClientDlg(const StartOptions& options, QWidget* parent) : QDialog(parent), options_(options)
{
    setObjectName(QStringLiteral("CKvClientDlg"));
    initAppResources();
    setWindowIcon(appIcon());
    setWindowTitle(kTitle);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("mainMenu"));
    layout->setMenuBar(menuBar_);
    dashboard_ = new Dashboard(g_sqlTool, this);
    layout->addWidget(dashboard_);
    resize(1080, 740);

    buildMenu();
    DisableMenus();
}

// The lock and the library go with their members; the session is closed only by the
// close sequence, so a window torn down otherwise leaves the shared session alone.
CKvClientDlg::~CKvClientDlg() = default;

void CKvClientDlg::buildMenu()
{
    QHash<QString, QMenu*> menus;
    for (const MenuItem& item : MainMenuItems()) {
        const QString menuCaption = QString::fromUtf8(item.menu);
        QMenu*& menu = menus[menuCaption];
        if (!menu)
            menu = menuBar_->addMenu(menuCaption);
        QAction* a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QStringLiteral("menu%1").arg(item.command));
        const int command = item.command;
        connect(a, &QAction::triggered, this, [this, command] { openScreen(command); });
        actions_.insert(item.command, a);
    }
}

bool CKvClientDlg::Open()
{
    if (CheckInstance() != 1) {
        reject();
        return false;
    }
    if (InitPath() != 1) {
        prompt().message(QStringLiteral("路径初始化失败"), QStringLiteral("错误"));
        reject();
        return false;
    }
    LoadTicketSettings();
    if (InitDatabase() != 1) {
        prompt().message(QStringLiteral("数据库初始化失败"), QStringLiteral("错误"));
        reject();
        return false;
    }
    // A person's own connection comes with his log-in; the dashboard is filled then.
    if (!perPerson_)
        dashboard_->Refresh();
    return true;
}

bool CKvClientDlg::Start()
{
    if (!Open())
        return false;
    RunLogin(options_.board);
    if (closed_)
        return false;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setWindowTitle(kTitle);
    // The main window stays behind the board: closing the board leaves the client at hand.
    if (options_.board && rights::mayOpen(g_identity, rights::Screen::Board))
        Dlg_Board::openFor(this, Dlg_Board::Place::FullScreen);
    return true;
}

void CKvClientDlg::RunLogin(bool remembered)
{
    Dlg_Cover cover(this, &cipher_);
    if (remembered)
        QTimer::singleShot(0, &cover, &Dlg_Cover::submitRemembered);
    cover.exec();
    // A "gave up" posted just before the window closed is handled before going on.
    QCoreApplication::sendPostedEvents(this, KvMessage::kType);
}

int CKvClientDlg::CheckInstance()
{
    QString why;
    switch (lock_.Acquire(options_.lockFile, &why)) {
        case InstanceLock::Result::Taken:
            return 1;
        case InstanceLock::Result::Busy:
            return -1;  // another copy runs: nothing to say
        case InstanceLock::Result::Failed:
            break;
    }
    prompt().message(QStringLiteral("无法确认是否已有本程序在运行：%1").arg(why), QStringLiteral("错误"));
    return -1;
}

int CKvClientDlg::InitPath()
{
    QString dir = options_.workDir;
    if (dir.isEmpty()) {
        char buffer[PATH_MAX];
        if (!::getcwd(buffer, sizeof buffer))
            return -1;
        dir = QFile::decodeName(buffer);
    }
    if (!QDir::isAbsolutePath(dir))
        return -1;
    g_workPath = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    return 1;
}

int CKvClientDlg::InitDatabase()
{
    if (!cipher_.Load(options_.library))
        return -1;
    const IniFile ini(ConfigFileName());
    QStringList plain;
    // TLS and CA ask for an encrypted connection and name the CA file that verifies the server.
    for (const char* key : {"IP", "Port", "Name", "Account", "Password", "TLS", "CA"}) {
        const QString name = QString::fromLatin1(key);
        // A value left out reads as empty; one that is there must decipher.
        const QString value = ini.value(QStringLiteral("DATABASE"), name);
        QString text;
        if (!value.isEmpty() && !cipher_.Decrypt(value, &text)) {
            prompt().message(
                QStringLiteral("无法读取Config.ini中[DATABASE]的“%1”：该值已损坏，或不是用本系统的密钥加密的")
                    .arg(name),
                QStringLiteral("错误"));
            return -1;
        }
        plain.append(text);
    }
    const QString ca = plain[6];
    g_sqlTool.SetTls(plain[5] == QLatin1String("1"),
                     ca.isEmpty() || QDir::isAbsolutePath(ca) ? ca : g_workPath + ca);
    const int port = convert::toInt(plain[1]);
    // A server named without an account: each person signs in to the database as himself at
    // the log-in.
    perPerson_ = !plain[0].isEmpty() && plain[3].isEmpty();
    if (perPerson_) {
        server_ = {plain[0], port, plain[2]};
        return 1;
    }
    if (!g_sqlTool.Connect(plain[0], port, plain[2], plain[3], plain[4])) {
        prompt().message(g_sqlTool.GetError(), QStringLiteral("Error"));
        return -1;
    }
    return 1;
}

int CKvClientDlg::CheckLogin()
{
    const signin::Result r = perPerson_ ? signin::asPerson(g_sqlTool, server_, g_account, g_password)
                                        : signin::withSharedAccount(g_sqlTool, g_account, g_password);
    switch (r.outcome.kind()) {
        case Outcome::Kind::Done:
            g_identity = r.identity;
            wrongTries_ = r.wrongTries;
            return 1;
        case Outcome::Kind::Refused:
            if (r.outcome.text().isEmpty())
                return -1;
            prompt().report(r.outcome);
            return 0;
        default:
            prompt().report(r.outcome);
            return -1;
    }
}

int CKvClientDlg::SaveLogin()
{
    IniFile ini(ConfigFileName());
    ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Save"), QString::number(g_saveAccount));
    ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Save"), QString::number(g_savePassword));
    if (g_saveAccount == 1)
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Name"), g_account);
    else
        ini.remove(QStringLiteral("ACCOUNT"), QStringLiteral("Name"));
    // The password is remembered enciphered for this computer, user and folder only.
    QString kept;
    if (g_savePassword == 1 && cipher_.Encrypt(g_password, CipherLibrary::RememberedKey(), &kept))
        ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Name"), kept);
    else
        ini.remove(QStringLiteral("PASSWORD"), QStringLiteral("Name"));
    QString why;
    if (!ini.save(&why))
        prompt().message(QStringLiteral("登录信息无法保存到%1：%2").arg(ini.path(), why),
                         QStringLiteral("错误"));
    return 1;
}

int CKvClientDlg::EnableMenus()
{
    if (g_identity.isEmpty())
        return -1;
    for (int command : GuardedCommandsFor(g_identity))
        if (QAction* a = actions_.value(command))
            a->setEnabled(true);
    return 1;
}

int CKvClientDlg::DisableMenus()
{
    for (const MenuItem& item : MainMenuItems())
        if (item.guarded())
            actions_.value(item.command)->setEnabled(false);
    return 1;
}

int CKvClientDlg::Cleanup()
{
    lock_.Release();
    if (g_sqlTool.IsAlive())
        g_sqlTool.Close();
    cipher_.Free();
    return 0;
}

void CKvClientDlg::reject()
{
    if (!closed_) {
        Cleanup();
        closed_ = true;
    }
    QDialog::reject();
}

bool CKvClientDlg::event(QEvent* e)
{
    if (e->type() != KvMessage::kType)
        return QDialog::event(e);
    const auto* m = static_cast<KvMessage*>(e);
    if (m->code() != kLogin || closed_)
        return true;
    if (m->value() == 0) {
        reject();
        return true;
    }
    const int checked = CheckLogin();
    if (checked == 1) {
        if (perPerson_)
            dashboard_->Refresh();
        show();
        KvMessage::post(Dlg_Cover::current(), kLoginAnswer, 1);
        SaveLogin();
        EnableMenus();
        // The owner learns that someone tried his account.
        if (wrongTries_ > 0)
            prompt().message(signin::kWrongTries.arg(wrongTries_), QStringLiteral("提示"));
        wrongTries_ = 0;
    } else {
        // 0: refused with its reason already told.
        KvMessage::post(Dlg_Cover::current(), kLoginAnswer, checked == 0 ? Dlg_Cover::kRefusedTold : 0);
    }
    return true;
}

void CKvClientDlg::signOut()
{
    g_account.clear();
    g_password.clear();
    g_identity.clear();
    DisableMenus();
    // The board reads as whoever signed in: it goes with him.
    if (auto* board = findChild<Dlg_Board*>(QString(), Qt::FindDirectChildrenOnly))
        board->close();
    // The next person connects as himself.
    if (perPerson_)
        g_sqlTool.Close();
    RunLogin();
}

void CKvClientDlg::openScreen(int command)
{
    if (command == cmd::SignOut) {
        signOut();
        return;
    }
    const MenuItem* item = FindMenuItem(command);
    if (!item || !item->open)
        return;
    // A station's screen reads its station from g_station.
    if (!item->station.isEmpty())
        g_station = item->station;
    item->open(this);
}
