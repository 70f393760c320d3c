#include "AppTestSupport.h"
#include "app/Dashboard.h"
#include "app/Dlg_Cover.h"
#include "app/InstanceLock.h"
#include "db/mySQLTool.h"
#include "dialogs/board/Dlg_Board.h"
#include "grid/KvGrid.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <csignal>

using apptest::AppTest;

namespace {

class Startup : public AppTest {
protected:
    // The boxes shown, as "caption: text".
    QStringList shown() const
    {
        QStringList out;
        for (const auto& b : const_cast<Startup*>(this)->boxes().boxes)
            out.append(b.caption + QStringLiteral(": ") + b.text);
        return out;
    }
    bool lockIsFree() const
    {
        InstanceLock probe;
        return probe.Acquire(options().lockFile) == InstanceLock::Result::Taken;
    }
};

TEST_F(Startup, MissingLibraryOrEntryPointEndsWithOneMessageAndReleasesEverything)
{
    for (const QString& library : {QStringLiteral("libKvNoSuchCipher.so"), QStringLiteral("libAESHalf.so")}) {
        writeTestServerSettings();
        ASSERT_TRUE(db().connect(g_sqlTool));
        boxes().clear();
        CKvClientDlg dlg(options(library));
        EXPECT_FALSE(dlg.Open()) << library.toStdString();
        EXPECT_EQ(shown(), QStringList{QStringLiteral("错误: 数据库初始化失败")}) << library.toStdString();
        EXPECT_TRUE(dlg.closed());
        EXPECT_FALSE(g_sqlTool.IsConnected());
        EXPECT_TRUE(lockIsFree());
    }
}

TEST_F(Startup, RefusedConnectionShowsTheServersTextThenTheFailure)
{
    const kvtest::Server s = kvtest::server();
    struct Case {
        const char* why;
        int port;
        QString password;
        QString name;
    };
    const QList<Case> cases = {{"nobody listens", 1, s.password, db().name()},
                               {"wrong password", s.port, QStringLiteral("not-kv"), db().name()},
                               {"unknown database", s.port, s.password, QStringLiteral("kv_no_such_db")}};
    for (const Case& c : cases) {
        g_sqlTool.Close();
        writeDatabaseSettings(s.host, c.port, c.name, db().clientAccount(), c.password);
        boxes().clear();
        CKvClientDlg dlg(options());
        EXPECT_FALSE(dlg.Open()) << c.why;
        ASSERT_EQ(boxes().boxes.size(), 2) << c.why;
        EXPECT_EQ(boxes().boxes[0].caption, QStringLiteral("Error"));
        EXPECT_FALSE(boxes().boxes[0].text.isEmpty());
        EXPECT_EQ(boxes().boxes[1].caption, QStringLiteral("错误"));
        EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("数据库初始化失败"));
        EXPECT_TRUE(dlg.closed());
    }
}

TEST_F(Startup, MissingOrDamagedSettingsFailToConnect)
{
    // No Config.ini at all: empty settings.
    g_sqlTool.Close();
    {
        CKvClientDlg dlg(options());
        EXPECT_FALSE(dlg.Open());
        ASSERT_EQ(boxes().boxes.size(), 2);
        EXPECT_EQ(boxes().boxes[0].caption, QStringLiteral("Error"));
        EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("数据库初始化失败"));
    }
    // A damaged password is not taken for an empty one: the start ends, naming it.
    writeTestServerSettings();
    IniFile ini(configFile());
    QString damaged = ini.value(QStringLiteral("DATABASE"), QStringLiteral("Password"));
    damaged[3] = damaged[3] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("Password"), damaged);
    ASSERT_TRUE(ini.save());
    boxes().clear();
    CKvClientDlg dlg(options());
    EXPECT_FALSE(dlg.Open());
    ASSERT_EQ(boxes().boxes.size(), 2);
    EXPECT_EQ(boxes().boxes[0].caption, QStringLiteral("错误"));
    EXPECT_TRUE(boxes().boxes[0].text.contains(QStringLiteral("“Password”")))
        << boxes().boxes[0].text.toStdString();
    EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("数据库初始化失败"));
    EXPECT_FALSE(g_sqlTool.IsConnected());
}

TEST_F(Startup, ConnectsWithTheSettingsOfTheWorkingFolderAndFillsTheDashboard)
{
    g_sqlTool.Close();
    writeTestServerSettings();
    db().exec(QStringLiteral(
        "insert into kvc_record_client (名称) values ('客户甲');"
        "insert into kvc_record_product (客户号, 货物数量, 激活, 洗涤方法) values (1, 10, 1, '[普洗]')"));
    g_workPath.clear();
    CKvClientDlg dlg(options());
    ASSERT_TRUE(dlg.Open()) << shown().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_EQ(g_workPath, dir.path() + QLatin1Char('/'));
    EXPECT_EQ(g_sqlTool.Read(g_sqlTool.Format("select database()")).first().text(0), db().name());
    EXPECT_EQ(dlg.dashboard()->orderCaption()->text(), QStringLiteral("共有1单正在运行的货单，显示其中1单"));
    EXPECT_EQ(dlg.dashboard()->waiting()->GetItemCount(), 8);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("洗水厂生产管理系统 " KV_VERSION));
    // Escape runs the close sequence.
    dlg.reject();
    EXPECT_TRUE(dlg.closed());
    EXPECT_FALSE(g_sqlTool.IsConnected());
    EXPECT_TRUE(lockIsFree());
}

// Config.ini asks for TLS and names the CA (relative to its folder): the connection is
// encrypted; a CA that cannot verify the server refuses it, saying so.
TEST_F(Startup, TlsIsAskedForInConfigIniAndAServerThatCannotBeVerifiedIsRefused)
{
    for (const bool rightCa : {true, false}) {
        SCOPED_TRACE(rightCa);
        g_sqlTool.Close();
        boxes().clear();
        writeTestServerSettings();
        QFile::remove(dir.filePath(QStringLiteral("ca.pem")));
        if (rightCa)
            ASSERT_TRUE(QFile::copy(kvtest::Database::tlsCa(), dir.filePath(QStringLiteral("ca.pem"))));
        else
            ASSERT_TRUE(QFile::copy(QStringLiteral(KV_SOURCE_DIR "/README.md"),
                                    dir.filePath(QStringLiteral("ca.pem"))));
        IniFile ini(configFile());
        ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("TLS"),
                     apptest::encipher(QStringLiteral("1")));
        ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("CA"),
                     apptest::encipher(QStringLiteral("ca.pem")));
        ASSERT_TRUE(ini.save());
        CKvClientDlg dlg(options());
        EXPECT_EQ(dlg.Open(), rightCa) << shown().join(QLatin1Char('\n')).toStdString();
        if (rightCa) {
            EXPECT_FALSE(g_sqlTool.Read(g_sqlTool.Format("show session status like 'Ssl_cipher'"))
                             .first()
                             .text(1)
                             .isEmpty());
            dlg.reject();
        } else {
            ASSERT_EQ(boxes().boxes.size(), 2);
            EXPECT_TRUE(
                boxes().boxes[0].text.startsWith(QStringLiteral("无法与数据库服务器建立经过验证的加密连接")))
                << boxes().boxes[0].text.toStdString();
            EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("数据库初始化失败"));
        }
    }
    g_sqlTool.SetTls(false);
}

TEST_F(Startup, AWorkingFolderThatCannotBeDeterminedEndsTheProgram)
{
    writeTestServerSettings();
    const QString back = QDir::currentPath();
    const QString gone = dir.filePath(QStringLiteral("removed"));
    ASSERT_TRUE(QDir().mkpath(gone));
    ASSERT_EQ(::chdir(QFile::encodeName(gone).constData()), 0);
    ASSERT_TRUE(QDir().rmdir(gone));
    StartOptions o = options();
    o.workDir.clear();
    CKvClientDlg dlg(o);
    const bool opened = dlg.Open();
    ASSERT_EQ(::chdir(QFile::encodeName(back).constData()), 0);
    EXPECT_FALSE(opened);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("错误: 路径初始化失败")});
    EXPECT_TRUE(dlg.closed());
}

TEST_F(Startup, ASecondCopyEndsSilentlyAndLeavesTheFirstAlone)
{
    writeTestServerSettings();
    CKvClientDlg first(options());
    ASSERT_TRUE(first.Open());
    boxes().clear();

    CKvClientDlg second(options());
    EXPECT_FALSE(second.Open());
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_TRUE(second.closed());
    // The first still holds the lock.
    EXPECT_FALSE(lockIsFree());
    EXPECT_FALSE(first.closed());
    first.reject();
    EXPECT_TRUE(lockIsFree());
}

TEST_F(Startup, ALockLeftByACrashedCopyDoesNotBlock)
{
    writeTestServerSettings();
    const QByteArray path = QFile::encodeName(options().lockFile);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::raise(SIGKILL);
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child could not take the lock";
    ASSERT_TRUE(QFile::exists(options().lockFile));

    CKvClientDlg dlg(options());
    EXPECT_TRUE(dlg.Open()) << shown().join(QLatin1Char('\n')).toStdString();
}

TEST_F(Startup, StartRunsTheLogInAndGivingUpLaterEndsTheProgram)
{
    writeTestServerSettings();
    CKvClientDlg dlg(options());
    apptest::whenModal<Dlg_Cover>([](Dlg_Cover* cover) {
        cover->findChild<QLineEdit*>(QStringLiteral("account"))->setText(QStringLiteral("admin"));
        cover->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("admin"));
        cover->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    ASSERT_TRUE(dlg.Start()) << shown().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(g_identity, QStringLiteral("管理员"));
    EXPECT_TRUE(dlg.action(32798)->isEnabled());

    // 注销, then 取消 at the log-in: the program ends.
    apptest::whenModal<Dlg_Cover>(
        [](Dlg_Cover* cover) { cover->findChild<QPushButton*>(QStringLiteral("cancel"))->click(); });
    dlg.action(32807)->trigger();
    EXPECT_TRUE(dlg.closed());
    EXPECT_FALSE(g_sqlTool.IsConnected());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

// --board: a remembered account signs in without a key pressed and the board fills the
// screen; without one the log-in window waits for it. Closing the board leaves the client.
TEST_F(Startup, WithBoardTheBoardFillsTheScreenAfterTheLogIn)
{
    for (const bool remembered : {true, false}) {
        SCOPED_TRACE(remembered);
        QFile::remove(configFile());
        writeTestServerSettings();
        if (remembered)
            rememberLogin(QStringLiteral("admin"), QStringLiteral("admin"));
        bool typed = false;
        if (!remembered)
            apptest::whenModal<Dlg_Cover>([&](Dlg_Cover* cover) {
                typed = true;
                cover->findChild<QLineEdit*>(QStringLiteral("account"))->setText(QStringLiteral("admin"));
                cover->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("admin"));
                cover->findChild<QPushButton*>(QStringLiteral("ok"))->click();
            });
        // A remembered log-in that did not go through would leave the window waiting.
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] {
            if (Dlg_Cover* c = Dlg_Cover::current())
                c->reject();
        });
        giveUp.start(8000);
        StartOptions o = options();
        o.board = true;
        CKvClientDlg dlg(o);
        ASSERT_TRUE(dlg.Start()) << shown().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(typed, !remembered);
        EXPECT_EQ(g_identity, QStringLiteral("管理员"));
        QPointer<Dlg_Board> board = dlg.findChild<Dlg_Board*>();
        ASSERT_NE(board, nullptr);
        EXPECT_TRUE(board->isVisible());
        EXPECT_TRUE(board->isFullScreen());
        board->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(board.isNull());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_FALSE(dlg.closed());
        dlg.reject();
        g_identity.clear();
    }
}

}  // namespace
