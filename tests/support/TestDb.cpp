#include "support/TestDb.h"

#include "db/mySQLTool.h"

#include <mysql.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <atomic>

namespace kvtest {

Server server()
{
    Server s;
    const QByteArray env = qgetenv("KV_TEST_PORT");
    if (!env.isEmpty()) {
        s.port = env.toInt();
        return s;
    }
    QFile f(QStringLiteral(KV_TEST_SERVER_DIR "/port"));
    if (f.open(QIODevice::ReadOnly))
        s.port = f.readAll().trimmed().toInt();
    return s;
}

namespace {

MYSQL* handle(void* p)
{
    return static_cast<MYSQL*>(p);
}

QString sourceFile(const QString& relative)
{
    QFile f(QStringLiteral(KV_SOURCE_DIR "/") + relative);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

}  // namespace

Database::Database(bool demo, bool people) : Database(server(), demo, people) {}

Database::Database(const Server& on, bool demo, bool people) : server_(on)
{
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("kvt_%1_%2").arg(getpid()).arg(counter++);
    const Server& s = server_;
    if (s.port == 0) {
        ADD_FAILURE() << "no test database server: run the tests through ctest (./test)";
        return;
    }
    MYSQL* m = mysql_init(nullptr);
    mysql_options(m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(m, s.host.toUtf8().constData(), s.account.toUtf8().constData(),
                            s.password.toUtf8().constData(), nullptr, static_cast<unsigned>(s.port), nullptr,
                            CLIENT_MULTI_STATEMENTS)) {
        ADD_FAILURE() << "cannot reach the test database server: " << mysql_error(m);
        mysql_close(m);
        return;
    }
    mysql_ = m;
    exec(
        QStringLiteral(
            "drop database if exists %1; create database %1 character set gbk collate gbk_chinese_ci; use %1")
            .arg(name_));
    load(QStringLiteral("sql/schema.sql"));
    load(QStringLiteral("sql/seed.sql"));
    if (demo)
        load(QStringLiteral("sql/demo.sql"));

    // The installation's grants, for this database and roles and accounts of its own: every
    // role and account of this database is named after it (dropped with it).
    role_ = name_ + QStringLiteral("_role");
    account_ = name_ + QStringLiteral("_client");
    dropAccounts();
    QString grants = sourceFile(QStringLiteral("sql/grants.sql"));
    if (!people)
        grants.truncate(grants.indexOf(QStringLiteral("-- 2. Each person")));
    loadText(grants.replace(QStringLiteral("kvfactory"), name_)
                 .replace(QStringLiteral("kv_client"), role_)
                 .replace(QStringLiteral("kvr_"), name_ + QLatin1Char('_')));
    exec(QStringLiteral("create user '%1'@'127.0.0.1' identified by '%2'; grant %3 to '%1'@'127.0.0.1'; "
                        "set default role %3 for '%1'@'127.0.0.1'")
             .arg(account_, s.password, role_));
}

Database::~Database()
{
    if (!mysql_)
        return;
    exec(QStringLiteral("drop database if exists %1").arg(name_));
    dropAccounts();
    mysql_close(handle(mysql_));
}

void Database::dropAccounts()
{
    const QString prefix =
        QString(name_).replace(QLatin1Char('_'), QStringLiteral("\\_")) + QStringLiteral("\\_%");
    for (const QStringList& r :
         rows(QStringLiteral("select User, Host, is_role from mysql.user where User like '%1'").arg(prefix)))
        exec(r[2] == QLatin1String("Y") ? QStringLiteral("drop role if exists `%1`").arg(r[0])
                                        : QStringLiteral("drop user if exists '%1'@'%2'").arg(r[0], r[1]));
}

QString Database::personAccount(const QString& identity)
{
    const QString account = name_ + QStringLiteral("_as");
    const QString role = scalar(QStringLiteral("select kv_role('%1')").arg(identity));
    exec(QStringLiteral(
             "drop user if exists '%1'@'127.0.0.1'; create user '%1'@'127.0.0.1' identified by '%2'; "
             "grant %3 to '%1'@'127.0.0.1'; set default role %3 for '%1'@'127.0.0.1'")
             .arg(account, server_.password, role));
    return account;
}

bool Database::connectAs(mySQLTool& db, const QString& identity)
{
    return db.Connect(server_.host, server_.port, name_, personAccount(identity), server_.password);
}

QString Database::tlsCa()
{
    return QStringLiteral(KV_TEST_SERVER_DIR "/tls/ca.pem");
}

void Database::exec(const QString& sql)
{
    if (!mysql_)
        return;
    MYSQL* m = handle(mysql_);
    const QByteArray b = sql.toUtf8();
    if (mysql_real_query(m, b.constData(), static_cast<unsigned long>(b.size())) != 0) {
        ADD_FAILURE() << "statement failed: " << mysql_error(m) << "\n" << b.left(300).constData();
        return;
    }
    // Drain every result of a multi-statement text.
    do {
        const MysqlResult unread(mysql_store_result(m));
        if (mysql_errno(m) != 0) {
            ADD_FAILURE() << "statement failed: " << mysql_error(m);
            return;
        }
    } while (mysql_next_result(m) == 0);
    if (mysql_errno(m) != 0)
        ADD_FAILURE() << "statement failed: " << mysql_error(m);
}

void Database::load(const QString& relativePath)
{
    const QString text = sourceFile(relativePath);
    if (text.isEmpty()) {
        ADD_FAILURE() << "missing " << relativePath.toStdString();
        return;
    }
    loadText(text);
}

void Database::loadText(const QString& text)
{
    // The files are written for the mariadb command: its DELIMITER lines (for triggers) are
    // its own; the server takes the statements one by one from the text.
    QStringList lines;
    QString delimiter = QStringLiteral(";");
    static const QRegularExpression command(QStringLiteral("^DELIMITER\\s+(\\S+)\\s*$"));
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch m = command.match(line); m.hasMatch()) {
            delimiter = m.captured(1);
            continue;
        }
        if (delimiter != QLatin1String(";") && line.trimmed().endsWith(delimiter))
            line = line.trimmed().chopped(delimiter.size()) + QLatin1Char(';');
        lines << line;
    }
    exec(lines.join(QLatin1Char('\n')));
}

QList<QStringList> Database::rows(const QString& sql)
{
    QList<QStringList> out;
    if (!mysql_)
        return out;
    MYSQL* m = handle(mysql_);
    const QByteArray b = sql.toUtf8();
    if (mysql_real_query(m, b.constData(), static_cast<unsigned long>(b.size())) != 0) {
        ADD_FAILURE() << "query failed: " << mysql_error(m) << "\n" << b.constData();
        return out;
    }
    const MysqlResult r(mysql_store_result(m));
    if (!r)
        return out;
    const unsigned n = mysql_num_fields(r.get());
    while (MYSQL_ROW row = mysql_fetch_row(r.get())) {
        const unsigned long* len = mysql_fetch_lengths(r.get());
        QStringList cells;
        for (unsigned i = 0; i < n; ++i)
            cells.append(row[i] ? QString::fromUtf8(row[i], static_cast<qsizetype>(len[i])) : QString());
        out.append(cells);
    }
    // A procedure's CALL ends with a status of its own.
    while (mysql_next_result(m) == 0)
        const MysqlResult unread(mysql_store_result(m));
    return out;
}

QString Database::scalar(const QString& sql)
{
    const QList<QStringList> r = rows(sql);
    return r.isEmpty() || r.first().isEmpty() ? QString() : r.first().first();
}

int Database::count(const QString& sqlFromWhere)
{
    return scalar(QStringLiteral("select count(*) ") + sqlFromWhere).toInt();
}

bool Database::connect(mySQLTool& db, int port) const
{
    return db.Connect(server_.host, port ? port : server_.port, name_, account_, server_.password);
}

}  // namespace kvtest
