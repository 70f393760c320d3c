#include "db/mySQLTool.h"

#include "db/Convert.h"
#include "db/Gbk.h"

#include <errmsg.h>
#include <mysqld_error.h>
#include <algorithm>

mySQLTool g_sqlTool;

namespace {

bool connectionLost(unsigned code)
{
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST;
}

bool worthRerun(unsigned code)
{
    return code == ER_LOCK_DEADLOCK || code == ER_LOCK_WAIT_TIMEOUT;
}

constexpr int kMaxReruns = 3;
constexpr unsigned kFormatError = 0;

}  // namespace

mySQLTool::mySQLTool()
{
    mysql_init(&mysql_);
    mysql_options(&mysql_, MYSQL_SET_CHARSET_NAME, "gbk");
    initialised_ = true;
}

mySQLTool::~mySQLTool()
{
    FreeResult();
    if (initialised_)
        mysql_close(&mysql_);
}

void mySQLTool::SetTimeouts(int connectSeconds, int readSeconds, int writeSeconds)
{
    connectTimeout_ = connectSeconds;
    readTimeout_ = readSeconds;
    writeTimeout_ = writeSeconds;
}

void mySQLTool::noteError(unsigned code, const QString& text)
{
    lastErrno_ = code;
    lastError_ = text;
}

bool mySQLTool::open()
{
    // A closed handle is set up afresh; the library keeps no state of the dead connection.
    if (!initialised_) {
        mysql_init(&mysql_);
        initialised_ = true;
    }
    mysql_options(&mysql_, MYSQL_SET_CHARSET_NAME, "gbk");
    const unsigned ct = static_cast<unsigned>(connectTimeout_);
    const unsigned rt = static_cast<unsigned>(readTimeout_);
    const unsigned wt = static_cast<unsigned>(writeTimeout_);
    mysql_options(&mysql_, MYSQL_OPT_CONNECT_TIMEOUT, &ct);
    mysql_options(&mysql_, MYSQL_OPT_READ_TIMEOUT, &rt);
    mysql_options(&mysql_, MYSQL_OPT_WRITE_TIMEOUT, &wt);
    // The library's own reconnect would commit half of an action in autocommit mode.
    my_bool reconnect = 0;
    mysql_options(&mysql_, MYSQL_OPT_RECONNECT, &reconnect);

    QByteArray host, account, password, database;
    if (!Gbk::encode(host_, host) || !Gbk::encode(account_, account) || !Gbk::encode(password_, password) ||
        !Gbk::encode(database_, database)) {
        noteError(CR_UNKNOWN_ERROR, QStringLiteral("连接设置中含有无法编码的字符"));
        return false;
    }
    if (!mysql_real_connect(&mysql_, host.constData(), account.constData(), password.constData(),
                            database.constData(), static_cast<unsigned>(port_), nullptr, 0)) {
        noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
        mysql_close(&mysql_);
        initialised_ = false;
        return false;
    }
    const char* charset = mysql_character_set_name(&mysql_);
    if (!charset || QByteArray(charset) != "gbk") {
        noteError(CR_UNKNOWN_ERROR,
                  QStringLiteral("数据库连接的字符集不是GBK：%1").arg(QString::fromLatin1(charset)));
        mysql_close(&mysql_);
        initialised_ = false;
        return false;
    }
    connected_ = true;
    inTransaction_ = false;
    noteError(0, QString());
    return true;
}

bool mySQLTool::Connect(const QString& host, int port, const QString& database, const QString& account,
                        const QString& password)
{
    if (host.isNull() || database.isNull() || account.isNull() || password.isNull()) {
        noteError(CR_UNKNOWN_ERROR, QStringLiteral("连接参数不完整"));
        return false;
    }
    if (connected_)
        Close();
    host_ = host;
    port_ = port;
    database_ = database;
    account_ = account;
    password_ = password;
    return open();
}

bool mySQLTool::Close()
{
    FreeResult();
    if (initialised_)
        mysql_close(&mysql_);
    initialised_ = false;
    connected_ = false;
    inTransaction_ = false;
    return true;
}

bool mySQLTool::IsAlive()
{
    return connected_ && mysql_ping(&mysql_) == 0;
}

bool mySQLTool::Reconnect()
{
    if (connected_ && mysql_ping(&mysql_) == 0)
        return true;
    Close();
    return open();
}

// Sends one statement; records the outcome. No retry here.
bool mySQLTool::send(const QByteArray& sql)
{
    if (!connected_) {
        noteError(CR_SERVER_GONE_ERROR, QStringLiteral("数据库没有连接"));
        return false;
    }
    QElapsedTimer wait;
    wait.start();
    const int failed = mysql_real_query(&mysql_, sql.constData(), static_cast<unsigned long>(sql.size()));
    traffic_.statements += 1;
    traffic_.waitNs += wait.nsecsElapsed();
    if (failed != 0) {
        noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
        return false;
    }
    noteError(0, QString());
    return true;
}

bool mySQLTool::Query(const Statement& statement, bool keep)
{
    return run(statement, keep, keep);
}

bool mySQLTool::run(const Statement& statement, bool keep, bool resendable)
{
    if (!statement.ok()) {
        noteError(kFormatError, statement.error());
        return false;
    }
    if (statement.empty()) {
        noteError(kFormatError, QStringLiteral("空的语句"));
        return false;
    }
    if (keep)
        FreeResult();
    // After a pause the server may have dropped the connection; find out before a write
    // whose loss could not be told apart from a write that was done.
    if (!resendable && !inTransaction_ && connected_ &&
        (!sinceLastStatement_.isValid() || sinceLastStatement_.elapsed() >= idlePingMs_) &&
        mysql_ping(&mysql_) != 0)
        Reconnect();

    bool sent = send(statement.sql());
    if (!sent && connectionLost(lastErrno_)) {
        if (inTransaction_) {
            // The server has dropped the transaction with the connection.
            inTransaction_ = false;
            return false;
        }
        const unsigned lost = lastErrno_;
        const QString lostText = lastError_;
        if (!Reconnect())
            return false;
        if (!resendable && lost != CR_SERVER_GONE_ERROR) {
            noteError(lost, lostText);
            return false;
        }
        sent = send(statement.sql());
    }
    if (!sent)
        return false;
    sinceLastStatement_.start();

    if (!keep) {
        // Drain a result that was not asked for, so the connection stays usable.
        if (MYSQL_RES* r = mysql_store_result(&mysql_))
            mysql_free_result(r);
        affected_ = mysql_affected_rows(&mysql_);
        insertId_ = mysql_insert_id(&mysql_);
        return true;
    }
    QElapsedTimer wait;
    wait.start();
    result_ = mysql_store_result(&mysql_);
    traffic_.waitNs += wait.nsecsElapsed();
    if (!result_) {
        if (mysql_errno(&mysql_) != 0)
            noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
        else
            noteError(CR_UNKNOWN_ERROR, QStringLiteral("语句没有返回结果集"));
        return false;
    }
    affected_ = 0;
    return true;
}

Rows mySQLTool::Read(const Statement& statement, int cap)
{
    if (!Query(statement, true))
        return Rows::failure(GetError());
    const int fields = NumFields();
    QStringList names;
    for (int c = 0; c < fields; ++c) {
        QString name;
        GetFieldName(c, &name);
        names.append(name);
    }
    const quint64 total = NumRows();
    QVector<Row> rows;
    rows.reserve(static_cast<qsizetype>(cap < 0 ? total : std::min<quint64>(total, quint64(cap))));
    while ((cap < 0 || rows.size() < cap) && FetchRow()) {
        QStringList cells;
        QVector<bool> nulls;
        cells.reserve(fields);
        nulls.reserve(fields);
        for (int c = 0; c < fields; ++c) {
            nulls.append(IsNull(c));
            cells.append(Value(c));
        }
        rows.append(Row(std::move(cells), std::move(nulls)));
    }
    FreeResult();
    return Rows(std::move(names), std::move(rows), total);
}

bool mySQLTool::FetchRow()
{
    if (!result_)
        return false;
    row_ = mysql_fetch_row(result_);
    lengths_ = row_ ? mysql_fetch_lengths(result_) : nullptr;
    return row_ != nullptr;
}

bool mySQLTool::FreeResult()
{
    if (result_)
        mysql_free_result(result_);
    result_ = nullptr;
    row_ = nullptr;
    lengths_ = nullptr;
    return true;
}

bool mySQLTool::DataSeek(quint64 row)
{
    if (!result_ || row >= mysql_num_rows(result_))
        return false;
    mysql_data_seek(result_, row);
    return true;
}

int mySQLTool::NumFields()
{
    return result_ ? static_cast<int>(mysql_num_fields(result_)) : 0;
}

quint64 mySQLTool::NumRows()
{
    return result_ ? mysql_num_rows(result_) : 0;
}

int mySQLTool::GetFieldName(int index, QString* target)
{
    if (index < 0 || !target || !result_ || index >= NumFields())
        return -1;
    const MYSQL_FIELD* field = mysql_fetch_field_direct(result_, static_cast<unsigned>(index));
    *target = Gbk::decode(field->name, static_cast<qsizetype>(field->name_length));
    return 0;
}

int mySQLTool::FindField(const QString& name)
{
    if (name.isEmpty() || !result_)
        return -1;
    for (int i = 0; i < NumFields(); ++i) {
        QString field;
        if (GetFieldName(i, &field) == 0 && field == name)
            return i;
    }
    return -1;
}

QString mySQLTool::GetError()
{
    return lastError_;
}

bool mySQLTool::IsNull(int column) const
{
    return !row_ || column < 0 || column >= static_cast<int>(mysql_num_fields(result_)) || !row_[column];
}

QString mySQLTool::Value(int column) const
{
    if (IsNull(column))
        return QString();
    return Gbk::decode(row_[column], static_cast<qsizetype>(lengths_[column]));
}

int mySQLTool::ValueInt(int column) const
{
    return convert::toInt(Value(column));
}

quint64 mySQLTool::ValueId(int column) const
{
    return convert::toId(Value(column));
}

double mySQLTool::ValueDouble(int column) const
{
    return convert::toDouble(Value(column));
}

SqlEscaper mySQLTool::escaper() const
{
    return connected_ ? &mySQLTool::escapeWithConnection : &escapeGbkDefault;
}

QByteArray mySQLTool::escapeWithConnection(void* self, const QByteArray& gbk)
{
    auto* tool = static_cast<mySQLTool*>(self);
    QByteArray out(gbk.size() * 2 + 1, '\0');
    // Charset-aware: the connection's gbk keeps a second byte 0x5C inside its character,
    // and the server's NO_BACKSLASH_ESCAPES mode is honoured.
    const unsigned long n = mysql_real_escape_string(&tool->mysql_, out.data(), gbk.constData(),
                                                     static_cast<unsigned long>(gbk.size()));
    out.resize(static_cast<qsizetype>(n));
    return out;
}

bool mySQLTool::Begin()
{
    if (inTransaction_) {
        noteError(CR_COMMANDS_OUT_OF_SYNC, QStringLiteral("事务已经开始"));
        return false;
    }
    // Nothing is done yet, so a lost connection may be reconnected here.
    if (!run(Statement::fromBytes("start transaction"), false, true))
        return false;
    inTransaction_ = true;
    return true;
}

bool mySQLTool::Commit()
{
    if (!inTransaction_) {
        noteError(CR_COMMANDS_OUT_OF_SYNC, QStringLiteral("没有进行中的事务"));
        return false;
    }
    const bool ok = send("commit");
    inTransaction_ = false;
    return ok;
}

bool mySQLTool::Rollback()
{
    if (!inTransaction_)
        return true;
    inTransaction_ = false;
    const unsigned code = lastErrno_;
    const QString text = lastError_;
    send("rollback");
    // Keep the error that made the action roll back.
    noteError(code, text);
    return true;
}

Outcome mySQLTool::Transact(const std::function<Outcome()>& body)
{
    if (inTransaction_)
        return body();
    for (int run = 0;; ++run) {
        if (!Begin())
            return Failure();
        Outcome outcome = body();
        if (outcome.ok()) {
            if (Commit())
                return outcome;
            outcome = Failure();
        }
        const unsigned code = lastErrno_;
        Rollback();
        if (outcome.kind() == Outcome::Kind::Failed && worthRerun(code) && run < kMaxReruns)
            continue;
        return outcome;
    }
}
