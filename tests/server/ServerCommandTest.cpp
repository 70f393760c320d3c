#include "app/CipherLibrary.h"
#include "app/IniFile.h"
#include "app/SignIn.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/finance/ops/Settlement.h"
#include "flow/Intake.h"
#include "flow/Shipping.h"
#include "flow/Station.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

struct Ran {
    int exit = -1;
    QString out;  // standard output and error
};

// A factory server of its own (tests/server/server-ctl) under a root folder of the test, and
// the server command run against it as on a factory server: its /etc, /var/lib and /run
// are the test's, the service manager is server-ctl.
class ServerCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = dir.filePath(QStringLiteral("root"));
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KVF_ROOT"), root);
        env.insert(QStringLiteral("KVF_SERVICE"),
                   kCtl + QLatin1Char(' ') + dir.filePath(QStringLiteral("srv")));
        env.insert(QStringLiteral("KVF_DB_USER"), QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name));
        env.insert(QStringLiteral("KVCIPHER"), QStringLiteral(KV_BINARY_DIR "/bin/kvcipher"));
    }
    void TearDown() override { ctl(QStringLiteral("stop")); }

    Ran run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(program, args);
        Ran r;
        if (p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit)
            r.exit = p.exitCode();
        r.out = QString::fromUtf8(p.readAll());
        return r;
    }
    Ran command(const QStringList& args)
    {
        return run(QStringLiteral(KV_SOURCE_DIR "/packaging/server/kvfactory-server"), args);
    }
    bool ctl(const QString& what, const QStringList& more = {})
    {
        return run(kCtl, QStringList{dir.filePath(QStringLiteral("srv")), what} + more).exit == 0;
    }
    // Runs statements as the server's administrator; what they print, tab-separated.
    QString admin(const QString& sql)
    {
        const Ran r = run(
            QStringLiteral("mariadb"),
            {QStringLiteral("--no-defaults"), QStringLiteral("--socket=") + root + "/run/mysqld/mysqld.sock",
             QStringLiteral("-uroot"), QStringLiteral("-N"), QStringLiteral("-B"),
             QStringLiteral("--default-character-set=utf8mb4"), QStringLiteral("-e"), sql});
        EXPECT_EQ(r.exit, 0) << r.out.toStdString();
        return r.out.trimmed();
    }
    // Every table's checksum.
    QMap<QString, QString> checksums(const QString& db)
    {
        const QStringList tables =
            admin(
                QStringLiteral("select concat(table_schema, '.', table_name) from information_schema.tables "
                               "where table_schema='%1' and table_type='BASE TABLE'")
                    .arg(db))
                .split(QLatin1Char('\n'));
        QMap<QString, QString> sums;
        for (const QString& line : admin(QStringLiteral("checksum table ") + tables.join(QLatin1Char(',')))
                                       .split(QLatin1Char('\n'))) {
            const QStringList cells = line.split(QLatin1Char('\t'));
            sums.insert(cells.value(0).section(QLatin1Char('.'), 1), cells.value(1));
        }
        return sums;
    }
    // Signs a person in at a desk as a PC does: the settings of the Config.ini the setup wrote,
    // deciphered by the client's library; TLS unless `plain`.
    signin::Result signIn(mySQLTool& desk, const QString& account, bool plain = false)
    {
        CipherLibrary cipher;
        if (!cipher.Load(QStringLiteral(KV_BINARY_DIR "/bin/libAES.so")))
            return {};
        const IniFile ini(root + QStringLiteral("/etc/kvclient/Config.ini"));
        QMap<QString, QString> plainText;
        for (const char* key : {"IP", "Port", "Name", "TLS", "CA", "Account"}) {
            QString text;
            cipher.Decrypt(ini.value(QStringLiteral("DATABASE"), QString::fromLatin1(key)), &text);
            plainText.insert(QString::fromLatin1(key), text);
        }
        EXPECT_EQ(plainText[QStringLiteral("Account")], QString());
        desk.SetTls(!plain && plainText[QStringLiteral("TLS")] == QLatin1String("1"),
                    plainText[QStringLiteral("CA")]);
        return signin::asPerson(desk,
                                {plainText[QStringLiteral("IP")], plainText[QStringLiteral("Port")].toInt(),
                                 plainText[QStringLiteral("Name")]},
                                account, QStringLiteral("123456"));
    }
    QString dataFolder() const { return root + QStringLiteral("/var/lib/mysql"); }
    // The data folder is lost, as with a dead disk.
    void destroyData()
    {
        ASSERT_TRUE(ctl(QStringLiteral("kill")));
        ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
    }

    const QString kCtl = QStringLiteral(KV_SOURCE_DIR "/tests/server/server-ctl");
    QTemporaryDir dir{QStringLiteral(KV_BINARY_DIR "/servertest-XXXXXX")};
    QString root;
    QProcessEnvironment env;
};

// One order through every desk: registered and released at intake, handed over at washing
// to shipping, confirmed and shipped there, which closes it.
quint64 throughTheFactory(mySQLTool& desk, int goods)
{
    intake::Order o;
    o.client = 1;
    o.receiver = QStringLiteral("黄永发");
    o.nature = QStringLiteral("新货");
    o.type = QStringLiteral("牛仔裤");
    o.kind = QStringLiteral("直筒");
    o.sex = QStringLiteral("男装");
    o.method = QStringLiteral("[普洗]");
    o.price = 1.5f;
    o.goods = goods;
    o.priority = QStringLiteral("一般");
    o.account = QStringLiteral("调度");
    intake::Written w;
    EXPECT_TRUE(intake::submitOrder(desk, o, true, 0, QString(), &w).ok()) << desk.GetError().toStdString();

    flow::HandOver h;
    h.station = QStringLiteral("洗水");
    h.flow = w.flow;
    h.order = w.order;
    h.mode = QStringLiteral("普洗工序");
    h.destination = QStringLiteral("发送");
    h.rate = 0.3;
    h.workers = {{9, goods, 0}};
    h.account = QStringLiteral("洗水班长");
    h.now = GetTimeText();
    flow::HandOverResult handed;
    EXPECT_TRUE(flow::handOver(desk, h, &handed).ok());
    EXPECT_TRUE(shipping::confirmFlow(desk, handed.successor, QStringLiteral("运输")).ok());

    shipping::Shipment s;
    s.order = w.order;
    s.goods = goods;
    s.shipper = QStringLiteral("黄永发");
    s.issuer = QStringLiteral("王丽萍");
    s.account = QStringLiteral("运输");
    shipping::Shipped shipped;
    EXPECT_TRUE(shipping::ship(desk, s, &shipped).ok());
    EXPECT_TRUE(shipped.closed);
    return w.order;
}

// Sleeps into the next second and past it: what ran before is before the moment returned,
// what runs after is after it, as the binary log counts time.
QString nextMoment()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime moment =
        QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second())).addSecs(1);
    while (QDateTime::currentDateTime() < moment.addMSecs(1100))
        QThread::msleep(50);
    return moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

}  // namespace

// The restore drill: the demo, a backup, every desk at work, a moment T, more work; then the
// data folder dies. Restored without a moment, everything is back; restored to T, every
// table is as it was at T and the later work is gone. Restored into a second database, T
// is there beside the live one.
TEST_F(ServerCommand, BackupsRestoreToTheLastTransactionOrToAMoment)
{
    ASSERT_TRUE(ctl(QStringLiteral("init"), {root}));
    ASSERT_TRUE(ctl(QStringLiteral("start")));
    const QString copy = dir.filePath(QStringLiteral("second-disk"));
    const QStringList setup = {QStringLiteral("setup"),
                               QStringLiteral("--network"),
                               QStringLiteral("127.0.0.1"),
                               QStringLiteral("--host"),
                               QStringLiteral("127.0.0.1"),
                               QStringLiteral("--bind"),
                               QStringLiteral("127.0.0.1"),
                               QStringLiteral("--days"),
                               QStringLiteral("7"),
                               QStringLiteral("--copy-to"),
                               copy};
    Ran r = command(setup);
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();

    // Set up already: a second run changes nothing, and the server is not restarted.
    const QString pid = admin(QStringLiteral("select @@pid_file, @@log_bin, @@have_ssl"));
    const QDateTime configWritten =
        QFileInfo(root + QStringLiteral("/etc/kvclient/Config.ini")).lastModified();
    EXPECT_TRUE(pid.endsWith(QStringLiteral("\t1\tYES"))) << pid.toStdString();
    QFile pidFile(pid.section(QLatin1Char('\t'), 0, 0));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const QByteArray serverProcess = pidFile.readAll();
    pidFile.close();
    r = command(setup);
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("一切已设置好，没有更改。"))) << r.out.toStdString();
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(pidFile.readAll(), serverProcess);
    EXPECT_EQ(QFileInfo(root + QStringLiteral("/etc/kvclient/Config.ini")).lastModified(), configWritten);
    EXPECT_EQ(admin(QStringLiteral("select default_character_set_name from information_schema.schemata "
                                   "where schema_name='kvfactory'")),
              QStringLiteral("gbk"));

    // The demo's people, loaded as a factory adds them, get database accounts with the next
    // version's changes (after a backup).
    {
        QProcess load;
        load.setStandardInputFile(QStringLiteral(KV_SOURCE_DIR "/sql/demo.sql"));
        load.start(QStringLiteral("mariadb"), {QStringLiteral("--no-defaults"),
                                               QStringLiteral("--socket=") + root + "/run/mysqld/mysqld.sock",
                                               QStringLiteral("-uroot"), QStringLiteral("kvfactory")});
        ASSERT_TRUE(load.waitForFinished(60000) && load.exitCode() == 0)
            << load.readAllStandardError().toStdString();
    }
    r = command({QStringLiteral("upgrade")});
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("备份完成"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("数据库账户 调度"))) << r.out.toStdString();

    // The factory's network set anew: the people's accounts move to it.
    QStringList moved = setup;
    moved[2] = QStringLiteral("127.0.0.%");
    r = command(moved);
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_EQ(admin(QStringLiteral("select group_concat(distinct Host) from mysql.user "
                                   "where User in ('调度', '财务', 'admin', 'kvfactory_login')")),
              QStringLiteral("127.0.0.%"));

    // Then a backup of the demo.
    r = command({QStringLiteral("backup")});
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    const QString lastBackup =
        r.out.section(QStringLiteral("backups/"), 1).section(QStringLiteral("（"), 0, 0);
    EXPECT_TRUE(QFileInfo::exists(copy + QStringLiteral("/backups/") + lastBackup + "/kvfactory-backup.info"))
        << r.out.toStdString();

    // Every desk at work, as the account the PCs got.
    QMap<QString, QString> atT, atEnd;
    QString moment;
    quint64 later = 0;
    {
        // The server takes people over TLS only, each with his identity's rights.
        mySQLTool plain;
        EXPECT_FALSE(signIn(plain, QStringLiteral("调度"), true).outcome.ok());
        mySQLTool desk, office;
        ASSERT_TRUE(signIn(desk, QStringLiteral("调度")).outcome.ok()) << desk.GetError().toStdString();
        ASSERT_TRUE(signIn(office, QStringLiteral("财务")).outcome.ok()) << office.GetError().toStdString();
        throughTheFactory(desk, 120);
        const finance::Period period{QDate::currentDate().addDays(-1).toString(Qt::ISODate),
                                     QDate::currentDate().addDays(1).toString(Qt::ISODate)};
        finance::PendingWork pending;
        finance::settle(office, 9, period, {}, &pending);
        ASSERT_TRUE(finance::settle(office, 9, period, pending).ok());
        office.Close();
        atT = checksums(QStringLiteral("kvfactory"));
        moment = nextMoment();
        later = throughTheFactory(desk, 80);
        atEnd = checksums(QStringLiteral("kvfactory"));
        desk.Close();
    }
    ASSERT_NE(atT, atEnd);
    const QString laterOrder =
        QStringLiteral("select count(*) from kvfactory.kvc_record_product where 货单号=%1").arg(later);

    // A wrong delete: the moment restored into a second database, beside the live one.
    r = command({QStringLiteral("restore"), QStringLiteral("--to"), moment, QStringLiteral("--into"),
                 QStringLiteral("kvfactory_at_t")});
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_EQ(checksums(QStringLiteral("kvfactory_at_t")), atT);
    EXPECT_EQ(checksums(QStringLiteral("kvfactory")), atEnd);

    destroyData();
    r = command({QStringLiteral("restore")});
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_EQ(checksums(QStringLiteral("kvfactory")), atEnd);
    EXPECT_EQ(admin(laterOrder), QStringLiteral("1"));

    destroyData();
    r = command({QStringLiteral("restore"), QStringLiteral("--to"), moment});
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_EQ(checksums(QStringLiteral("kvfactory")), atT);
    EXPECT_EQ(admin(laterOrder), QStringLiteral("0"));
    // The desks work on: their account and rights came back with the data.
    mySQLTool desk;
    ASSERT_TRUE(signIn(desk, QStringLiteral("调度")).outcome.ok()) << desk.GetError().toStdString();
    throughTheFactory(desk, 10);

    // Backups are kept for the set days, and the newest before them: the start of the reach.
    const QString backups = root + QStringLiteral("/var/lib/kvfactory/backups/");
    for (const auto& [name, daysAgo] : {std::pair{"20200101-000000", 30}, std::pair{"20200102-000000", 10}}) {
        QDir().mkpath(backups + name);
        QFile info(backups + name + "/kvfactory-backup.info");
        ASSERT_TRUE(info.open(QIODevice::WriteOnly));
        info.write(
            "TIME=" +
            QDateTime::currentDateTime().addDays(-daysAgo).toString(Qt::ISODate).replace('T', ' ').toUtf8() +
            "\n");
    }
    r = command({QStringLiteral("backup")});
    ASSERT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(backups + "20200101-000000"));
    EXPECT_TRUE(QFileInfo::exists(backups + "20200102-000000"));
    EXPECT_EQ(QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);

    r = command({QStringLiteral("status")});
    EXPECT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("最近的备份："))) << r.out.toStdString();
}

// Bad settings and moments are refused with what is wrong, before anything is written.
TEST_F(ServerCommand, BadInputIsRefusedBeforeAnythingIsWritten)
{
    struct Case {
        QStringList args;
        const char* said;
    };
    const QList<Case> cases = {
        {{QStringLiteral("setup"), QStringLiteral("--network"), QStringLiteral("%")}, "网络格式错误"},
        {{QStringLiteral("setup"), QStringLiteral("--network"), QStringLiteral("192.168.1.%' or '1")},
         "网络格式错误"},
        {{QStringLiteral("setup"), QStringLiteral("--days"), QStringLiteral("0")}, "备份保留天数"},
        {{QStringLiteral("setup"), QStringLiteral("--database"), QStringLiteral("kv`f")}, "数据库名"},
        {{QStringLiteral("setup"), QStringLiteral("--copy-to"), QStringLiteral("/mnt/a disk")}, "复制目标"},
        {{QStringLiteral("restore"), QStringLiteral("--to"), QStringLiteral("2026-02-30 10:00:00")},
         "时刻格式错误"},
        {{QStringLiteral("restore"), QStringLiteral("--to"), QStringLiteral("yesterday")}, "时刻格式错误"},
        {{QStringLiteral("backup")}, "请先运行 kvfactory-server setup"},
    };
    for (const Case& c : cases) {
        const Ran r = command(c.args);
        EXPECT_NE(r.exit, 0) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.said))) << r.out.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/etc/kvfactory/server.conf")));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/etc/mysql")));
}
