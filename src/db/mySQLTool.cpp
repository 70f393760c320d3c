#include "db/mySQLTool.h"

#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/Tables.h"

#include <errmsg.h>
#include <mysqld_error.h>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>

mySQLTool g_sqlTool;

namespace {

bool connectionLost(unsigned code)
{
    // Over TLS a connection cut by the server ends the encrypted stream first.
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == CR_SSL_CONNECTION_ERROR;
}

// A Galera node reports a statement it aborted for another node's write while loading a
// table's triggers as a syntax error in a trigger's body (kv_reload_triggers, sql/schema.sql).
// Our statements have none of their own, and a trigger truly broken fails every rerun too.
bool worthRerun(unsigned code, bool galera)
{
    return code == ER_LOCK_DEADLOCK || code == ER_LOCK_WAIT_TIMEOUT || (galera && code == ER_PARSE_ERROR);
}

constexpr int kMaxReruns = 3;
constexpr unsigned kFormatError = 0;
// How long a reconnect waits for the server to end the session of the lost connection.
constexpr int kEndSessionPolls = 100;
constexpr int kEndSessionPollMs = 50;
// A session idle inside a transaction for this long belongs to a client that is gone: the
// client's transactions never wait for the user. MariaDB only; other servers ignore it.
constexpr int kIdleTransactionSeconds = 30;
constexpr int kCommitReconnects = 3;

}  // namespace

// Tells the hook that the session waits for the server, once for nested waits.
class mySQLTool::Busy {
public:
    explicit Busy(mySQLTool& db) : db_(db)
    {
        if (db_.busyDepth_++ == 0 && db_.busyHook_)
            db_.busyHook_(true);
    }
    ~Busy()
    {
        if (--db_.busyDepth_ == 0 && db_.busyHook_)
            db_.busyHook_(false);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    mySQLTool& db_;
};

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

void mySQLTool::SetTls(bool on, const QString& caFile)
{
    tls_ = on;
    tlsCa_ = on ? caFile : QString();
}

void mySQLTool::noteError(unsigned code, const QString& text)
{
    lastErrno_ = code;
    lastError_ = text;
}

// The one place where a connection is opened, at the first connect and at every reconnect:
// on the first server of the list that answers, starting with the one to try first.
bool mySQLTool::open()
{
    QString firstError;
    unsigned firstCode = 0;
    for (int i = 0; i < servers_.size(); ++i) {
        const int k = (current_ + i) % int(servers_.size());
        if (openOn(servers_.at(k))) {
            current_ = k;
            return true;
        }
        if (i == 0) {
            firstCode = lastErrno_;
            firstError = lastError_;
        }
    }
    // What the server tried first said: with one server, its own error as always.
    if (servers_.size() > 1)
        firstError = QStringLiteral("所有数据库服务器都无法连接（%1）").arg(firstError);
    noteError(servers_.isEmpty() ? CR_UNKNOWN_ERROR : firstCode,
              servers_.isEmpty() ? QStringLiteral("没有设置数据库服务器") : firstError);
    return false;
}

bool mySQLTool::openOn(const ServerAddress& server)
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
    // TLS is asked for and the server verified, or nothing is sent; without it, none.
    const my_bool tls = tls_ ? 1 : 0;
    mysql_options(&mysql_, MYSQL_OPT_SSL_ENFORCE, &tls);
    mysql_options(&mysql_, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &tls);
    const QByteArray ca = QFile::encodeName(tlsCa_);
    if (tls_ && !ca.isEmpty())
        mysql_options(&mysql_, MYSQL_OPT_SSL_CA, ca.constData());
    // A port is set up for TCP: "localhost" would otherwise mean the local socket.
    if (server.port != 0) {
        const unsigned tcp = MYSQL_PROTOCOL_TCP;
        mysql_options(&mysql_, MYSQL_OPT_PROTOCOL, &tcp);
    }

    QByteArray host, account, password, database;
    if (!Gbk::encode(server.host, host) || !Gbk::encode(account_, account) ||
        !Gbk::encode(password_, password) || !Gbk::encode(database_, database)) {
        noteError(CR_UNKNOWN_ERROR, QStringLiteral("连接设置中含有无法编码的字符"));
        return false;
    }
    QElapsedTimer wait;
    wait.start();
    const bool reached = mysql_real_connect(
        &mysql_, host.constData(), account.constData(), password.constData(), database.constData(),
        static_cast<unsigned>(server.port), nullptr, CLIENT_MULTI_STATEMENTS);
    // The server's greeting and its answer to the log-in (TLS adds its own handshake).
    traffic_.roundTrips += tls_ ? 3 : 2;
    traffic_.waitNs += wait.nsecsElapsed();
    if (!reached) {
        const unsigned code = mysql_errno(&mysql_);
        const QString text = Gbk::decode(QByteArray(mysql_error(&mysql_)));
        noteError(code, tls_ && code == CR_SSL_CONNECTION_ERROR ? kTlsRefused.arg(text) : text);
        closeHandle();
        return false;
    }
    const char* charset = mysql_character_set_name(&mysql_);
    if (!charset || QByteArray(charset) != "gbk") {
        noteError(CR_UNKNOWN_ERROR,
                  QStringLiteral("数据库连接的字符集不是GBK：%1").arg(QString::fromLatin1(charset)));
        closeHandle();
        return false;
    }
    connected_ = true;
    inTransaction_ = false;
    transactionLost_ = false;
    clearPendingBegin();
    threadId_ = mysql_thread_id(&mysql_);
    if (!setUpSession()) {
        const unsigned code = lastErrno_;
        const QString text = lastError_;
        closeHandle();
        noteError(code, text);
        return false;
    }
    endLostSession();
    sinceLastStatement_.start();
    noteError(0, QString());
    return true;
}

// The settings of the client's sessions, and which server this one is on.
bool mySQLTool::setUpSession()
{
    if (!send(QByteArray("set session innodb_lock_wait_timeout=") + QByteArray::number(lockWaitSeconds_)))
        return false;
    send(QByteArray("set session idle_transaction_timeout=") + QByteArray::number(kIdleTransactionSeconds));
    // Causal reads on a Galera node: a read sees every write the cluster committed before
    // it, also one made through another node. Other servers take it and ignore it (MariaDB)
    // or refuse it (MySQL), which changes nothing.
    send("set session wsrep_sync_wait=1");
    galera_ = false;
    if (send("select @@wsrep_on")) {
        const MysqlResult on(mysql_store_result(&mysql_));
        const MYSQL_ROW row = on ? mysql_fetch_row(on.get()) : nullptr;
        galera_ = row && row[0] && QByteArray(row[0]) == "1";
    }
    for (const QByteArray& sql : sessionStatements_)
        if (!send(sql))
            return false;
    if (!send("select @@hostname, @@port, @@server_id, "
              "(select host from information_schema.processlist where id=connection_id())"))
        return false;
    const MysqlResult r(mysql_store_result(&mysql_));
    if (!r) {
        noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
        return false;
    }
    QStringList parts;
    if (MYSQL_ROW row = mysql_fetch_row(r.get()))
        for (unsigned i = 0; i < mysql_num_fields(r.get()); ++i)
            parts.append(QString::fromLatin1(row[i] ? row[i] : ""));
    // The client's address and port as the server sees them tell this session apart from a
    // later one that got the same id (ids start again when the server restarts).
    peer_ = parts.value(3);
    parts = parts.mid(0, 3);
    server_ = parts.join(QLatin1Char(':'));
    return true;
}

// Ends the server session of the connection that was lost, so that its locks go now and
// not after the server's wait_timeout, and waits until it is gone: whatever it was doing
// (a COMMIT among others) is then finished or undone. Only that very session is ended: on
// this same server, with the id and the client address and port it had (after a restart
// of the server its id may belong to another desk's session).
void mySQLTool::endLostSession()
{
    const quint64 id = lostThreadId_;
    if (id == 0)
        return;
    lostThreadId_ = 0;
    lostSessionGone_ = false;
    if (lostServer_ != server_ || id == threadId_ || lostPeer_.isEmpty())
        return;
    const Statement still = Format(
        "select count(*) from information_schema.processlist where id=%I64u and host='%s'", id, lostPeer_);
    // -1 when it cannot be told.
    const auto sessions = [&]() -> int {
        if (!still.ok() || !send(still.sql()))
            return -1;
        const MysqlResult r(mysql_store_result(&mysql_));
        if (!r)
            return -1;
        const MYSQL_ROW row = mysql_fetch_row(r.get());
        return row && row[0] ? QByteArray(row[0]).toInt() : -1;
    };
    int left = sessions();
    if (left > 0)
        send(QByteArray("kill connection ") + QByteArray::number(id));
    for (int poll = 0; left > 0 && poll < kEndSessionPolls; ++poll) {
        QThread::msleep(kEndSessionPollMs);
        left = sessions();
    }
    lostSessionGone_ = left == 0;
}

void mySQLTool::noteLost()
{
    if (threadId_ != 0) {
        lostThreadId_ = threadId_;
        lostServer_ = server_;
        lostPeer_ = peer_;
        // With several servers the next one is tried first: the lost one may be down.
        if (!servers_.isEmpty())
            current_ = (current_ + 1) % int(servers_.size());
    }
    threadId_ = 0;
}

bool mySQLTool::Connect(const QString& host, int port, const QString& database, const QString& account,
                        const QString& password)
{
    if (host.isNull() || database.isNull() || account.isNull() || password.isNull()) {
        noteError(CR_UNKNOWN_ERROR, QStringLiteral("连接参数不完整"));
        return false;
    }
    QString wrong;
    const QList<ServerAddress> servers = parseServers(host, port, &wrong);
    if (servers.isEmpty()) {
        if (connected_)
            Close();
        servers_.clear();
        current_ = 0;
        noteError(CR_UNKNOWN_ERROR, wrong);
        return false;
    }
    if (ConnectWith({servers, database, account, password, tls_, tlsCa_})) {
        // Commit marks are needed for a few minutes at most; a day's worth is kept.
        send(QByteArray("delete from ") + tables::commitMark +
             " where 时间 < now() - interval 1 day limit 10000");
        noteError(0, QString());
    }
    return wanted_;
}

bool mySQLTool::ConnectLike(const mySQLTool& other)
{
    connectTimeout_ = other.connectTimeout_;
    readTimeout_ = other.readTimeout_;
    writeTimeout_ = other.writeTimeout_;
    lockWaitSeconds_ = other.lockWaitSeconds_;
    sessionStatements_ = other.sessionStatements_;
    idlePingMs_ = other.idlePingMs_;
    return ConnectWith(other.login(), other.current_);
}

bool mySQLTool::ConnectWith(const Login& login, int first)
{
    if (connected_)
        Close();
    servers_ = login.servers;
    current_ = first;
    database_ = login.database;
    account_ = login.account;
    password_ = login.password;
    SetTls(login.tls, login.tlsCa);
    lostThreadId_ = 0;
    wanted_ = open();
    return wanted_;
}

void mySQLTool::Abort()
{
    // Reading the rest of a streamed result could take as long as the whole of it.
    if (initialised_ && connected_)
        mariadb_cancel(&mysql_);
    Close();
}

void mySQLTool::closeHandle()
{
    FreeResult();
    if (initialised_)
        mysql_close(&mysql_);
    initialised_ = false;
    connected_ = false;
    inTransaction_ = false;
    transactionLost_ = false;
    clearPendingBegin();
    threadId_ = 0;
}

bool mySQLTool::Close()
{
    closeHandle();
    wanted_ = false;
    lostThreadId_ = 0;
    return true;
}

bool mySQLTool::IsAlive()
{
    return connected_ && ping();
}

bool mySQLTool::reopen()
{
    if (connected_)
        noteLost();
    closeHandle();
    return open();
}

bool mySQLTool::Reconnect()
{
    if (connected_ && ping())
        return true;
    return reopen();
}

bool mySQLTool::readyToFormat()
{
    if (connected_)
        return true;
    if (!wanted_) {
        noteError(CR_SERVER_GONE_ERROR, QStringLiteral("数据库没有连接"));
        return false;
    }
    // Reconnect first: texts are escaped by the connection they will be sent on.
    return open();
}

void mySQLTool::clearPendingBegin()
{
    pendingBegin_.clear();
    pendingStatements_ = 0;
}

// Sends one statement; records the outcome. No retry here.
bool mySQLTool::send(const QByteArray& sql)
{
    return sendMany(sql, 1);
}

// Sends `count` statements joined by ';', behind a pending begin, and leaves the connection
// at the answer of the first of them. No retry here.
bool mySQLTool::sendMany(const QByteArray& sql, int count)
{
    if (!connected_) {
        noteError(CR_SERVER_GONE_ERROR, QStringLiteral("数据库没有连接"));
        return false;
    }
    const int before = pendingStatements_;
    const QByteArray full = before > 0 ? pendingBegin_ + ';' + sql : sql;
    QElapsedTimer wait;
    wait.start();
    int failed = mysql_real_query(&mysql_, full.constData(), static_cast<unsigned long>(full.size()));
    // The begin's answers carry no result; the last call reads the first statement's.
    int answered = failed == 0 ? 1 : 0;
    for (int i = 0; failed == 0 && i < before; ++i) {
        failed = mysql_next_result(&mysql_) > 0 ? 1 : 0;
        answered += failed == 0 ? 1 : 0;
    }
    beginUnanswered_ = before > 0 && answered < before;
    traffic_.statements += static_cast<quint64>(count + before);
    traffic_.roundTrips += 1;
    traffic_.waitNs += wait.nsecsElapsed();
    if (failed != 0) {
        noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
        // Lost: the caller decides whether the begin goes again.
        if (!connectionLost(lastErrno_))
            clearPendingBegin();
        return false;
    }
    clearPendingBegin();
    noteError(0, QString());
    return true;
}

bool mySQLTool::ping()
{
    QElapsedTimer wait;
    wait.start();
    const bool answered = mysql_ping(&mysql_) == 0;
    traffic_.roundTrips += 1;
    traffic_.waitNs += wait.nsecsElapsed();
    return answered;
}

bool mySQLTool::Query(const Statement& statement, bool keep)
{
    return run(statement, keep, keep);
}

bool mySQLTool::Stream(const Statement& statement)
{
    return run(statement, true, true, true);
}

// A statement whose texts were escaped for another kind of connection is not sent.
bool mySQLTool::fits(const Statement& statement)
{
    if (statement.escaping() == Statement::Escaping::None || statement.escaping() == connectionEscaping())
        return true;
    noteError(kFormatError, kConnectionChanged);
    return false;
}

bool mySQLTool::run(const Statement& statement, bool keep, bool resendable, bool stream)
{
    Busy busy(*this);
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
    if (transactionLost_) {
        // The transaction went with its connection; nothing of it may run in another.
        noteError(CR_SERVER_LOST, kNotSaved);
        return false;
    }
    if (!connected_ && !readyToFormat())
        return false;
    // After a pause the server may have dropped the connection; find out before a write
    // whose loss could not be told apart from a write that was done.
    if (!resendable && !inTransaction_ &&
        (!sinceLastStatement_.isValid() || sinceLastStatement_.elapsed() >= idlePingMs_) && !ping() &&
        !reopen())
        return false;
    if (!fits(statement))
        return false;

    // A transaction's first statement carries its begin: when the connection was lost before
    // the begin was answered, nothing of the transaction ran, and all of it is sent again.
    const QByteArray begin = pendingBegin_;
    const int beginStatements = pendingStatements_;
    bool sent = send(statement.sql());
    if (!sent && connectionLost(lastErrno_)) {
        if (inTransaction_ && (begin.isEmpty() || !beginUnanswered_)) {
            // The server drops the transaction with the connection (or once its old session
            // is ended); every later statement of it fails too.
            noteLost();
            transactionLost_ = true;
            return false;
        }
        const unsigned lost = lastErrno_;
        const QString lostText = lastError_;
        if (!reopen())
            return false;
        if (!begin.isEmpty()) {
            inTransaction_ = true;
            pendingBegin_ = begin;
            pendingStatements_ = beginStatements;
        } else if (!resendable && lost != CR_SERVER_GONE_ERROR) {
            noteError(lost, lostText);
            return false;
        }
        if (!fits(statement))
            return false;
        sent = send(statement.sql());
    }
    if (!sent)
        return false;
    sinceLastStatement_.start();

    // The whole result is read in either case: the server may send the statement's error after
    // its first rows (a subquery of more than one row, a deadlock met while reading), and a
    // result not asked for must not stay on the connection. A streamed result is the
    // exception: its rows, and such an error, come with FetchRow.
    QElapsedTimer wait;
    wait.start();
    MysqlResult stored(stream ? mysql_use_result(&mysql_) : mysql_store_result(&mysql_));
    traffic_.waitNs += wait.nsecsElapsed();
    if (!stored && mysql_errno(&mysql_) != 0) {
        noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
        if (inTransaction_ && connectionLost(lastErrno_)) {
            noteLost();
            transactionLost_ = true;
        }
        return false;
    }
    if (!keep) {
        stored.reset();
        affected_ = mysql_affected_rows(&mysql_);
        insertId_ = mysql_insert_id(&mysql_);
        if (!inTransaction_ && affected_ > 0 && affected_ != quint64(-1))
            changed();
        return true;
    }
    if (!stored) {
        noteError(CR_UNKNOWN_ERROR, QStringLiteral("语句没有返回结果集"));
        return false;
    }
    result_ = std::move(stored);
    streaming_ = stream;
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
    while ((cap < 0 || rows.size() < cap) && FetchRow())
        rows.append(CurrentRow());
    FreeResult();
    return Rows(std::move(names), std::move(rows), total);
}

namespace {

Rows rowsOf(MYSQL_RES* result)
{
    const unsigned fields = mysql_num_fields(result);
    QStringList names;
    for (unsigned c = 0; c < fields; ++c) {
        const MYSQL_FIELD* field = mysql_fetch_field_direct(result, c);
        names.append(Gbk::decode(field->name, static_cast<qsizetype>(field->name_length)));
    }
    QVector<Row> rows;
    rows.reserve(static_cast<qsizetype>(mysql_num_rows(result)));
    while (const MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        QStringList cells;
        QVector<bool> nulls;
        for (unsigned c = 0; c < fields; ++c) {
            nulls.append(row[c] == nullptr);
            cells.append(row[c] ? Gbk::decode(row[c], static_cast<qsizetype>(lengths[c])) : QString());
        }
        rows.append(Row(std::move(cells), std::move(nulls)));
    }
    return Rows(std::move(names), std::move(rows), mysql_num_rows(result));
}

}  // namespace

// Sends the statements as one exchange and reads every answer. `unsent`: the connection was
// found lost before anything of it can have reached the server.
Batch mySQLTool::exchange(const QList<Statement>& statements, bool* unsent)
{
    *unsent = false;
    QByteArray sql;
    for (const Statement& s : statements) {
        if (!sql.isEmpty())
            sql += ';';
        sql += s.sql();
    }
    const auto failure = [&](int at) { return Batch::failure(at, lastErrno_, lastError_); };
    if (!sendMany(sql, int(statements.size()))) {
        *unsent = lastErrno_ == CR_SERVER_GONE_ERROR;
        return failure(0);
    }
    QElapsedTimer wait;
    wait.start();
    Batch batch;
    for (int i = 0;; ++i) {
        // Every answer is checked: any statement may fail, a deadlock or a cluster's
        // certification failure among them, and the server then runs none after it.
        MysqlResult stored(mysql_store_result(&mysql_));
        if (!stored && mysql_errno(&mysql_) != 0) {
            noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
            batch.fail(i, lastErrno_, lastError_);
            break;
        }
        Batch::Answer answer;
        if (stored) {
            answer.rows = rowsOf(stored.get());
        } else {
            answer.affected = mysql_affected_rows(&mysql_);
            answer.insertId = mysql_insert_id(&mysql_);
        }
        batch.append(std::move(answer));
        const int next = mysql_next_result(&mysql_);
        if (next < 0)
            break;
        if (next > 0) {
            noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
            batch.fail(i + 1, lastErrno_, lastError_);
            break;
        }
    }
    // Nothing of the exchange may stay unread on the connection.
    while (connected_ && mysql_more_results(&mysql_) && mysql_next_result(&mysql_) == 0)
        MysqlResult(mysql_store_result(&mysql_));
    traffic_.waitNs += wait.nsecsElapsed();
    if (batch.ok() && batch.answeredCount() != statements.size()) {
        noteError(CR_UNKNOWN_ERROR, QStringLiteral("语句的结果数目不对"));
        batch.fail(batch.answeredCount(), lastErrno_, lastError_);
    }
    return batch;
}

Batch mySQLTool::ReadAll(const QList<Statement>& reads)
{
    const Batch sent = runBatch(reads, true);
    if (sent.ok() || inTransaction_ || connectionLost(sent.code()))
        return sent;
    const int failed = sent.failedAt();
    // Refused before sending: the reads before it were not sent either.
    const Batch head = sent.answeredCount() >= failed ? sent : ReadAll(reads.mid(0, failed));
    const Batch tail = ReadAll(reads.mid(failed + 1));
    Batch out;
    for (int i = 0; i < failed; ++i)
        out.append(head.answer(i));
    out.append(sent.answer(failed));
    for (int i = 0; i < reads.size() - failed - 1; ++i)
        out.append(tail.answer(i));
    const bool headFailed = !head.ok() && head.failedAt() < failed;
    out.fail(headFailed ? head.failedAt() : failed, headFailed ? head.code() : sent.code(),
             headFailed ? head.error() : sent.error());
    noteError(out.code(), out.error());
    return out;
}

// One exchange; on a Galera node, one exchange a statement. Inside a transaction, one the
// cluster aborts between two statements of an exchange is not reported to the statements
// after it. Outside one, exchanges of several statements were never tried on a cluster under
// load, so a node gets one statement at a time there too.
Batch mySQLTool::transmit(const QList<Statement>& statements, bool* unsent)
{
    if (!galera_ || statements.size() < 2)
        return exchange(statements, unsent);
    Batch batch;
    for (int i = 0; i < statements.size(); ++i) {
        const Batch one = exchange({statements.at(i)}, unsent);
        *unsent = *unsent && i == 0;
        if (!one) {
            batch.fail(i, one.code(), one.error());
            return batch;
        }
        batch.append(one.answer(0));
    }
    return batch;
}

Batch mySQLTool::runBatch(const QList<Statement>& statements, bool resendable)
{
    Busy busy(*this);
    FreeResult();
    const auto refused = [&](int at) { return Batch::failure(at, lastErrno_, lastError_); };
    for (int i = 0; i < statements.size(); ++i) {
        if (!statements.at(i).ok()) {
            noteError(kFormatError, statements.at(i).error());
            return refused(i);
        }
        if (statements.at(i).empty()) {
            noteError(kFormatError, QStringLiteral("空的语句"));
            return refused(i);
        }
    }
    if (statements.isEmpty())
        return Batch();
    if (transactionLost_) {
        noteError(CR_SERVER_LOST, kNotSaved);
        return refused(0);
    }
    if (!connected_ && !readyToFormat())
        return refused(0);
    if (!resendable && !inTransaction_ &&
        (!sinceLastStatement_.isValid() || sinceLastStatement_.elapsed() >= idlePingMs_) && !ping() &&
        !reopen())
        return refused(0);
    const auto fitAll = [&]() {
        for (const Statement& s : statements)
            if (!fits(s))
                return false;
        return true;
    };
    if (!fitAll())
        return refused(0);

    const QByteArray begin = pendingBegin_;
    const int beginStatements = pendingStatements_;
    bool unsent = false;
    Batch batch = transmit(statements, &unsent);
    if (!batch && connectionLost(batch.code())) {
        if (inTransaction_ && (begin.isEmpty() || !beginUnanswered_)) {
            noteLost();
            transactionLost_ = true;
            return batch;
        }
        // Outside a transaction (or with its begin) a lost batch is sent again when it only
        // reads or cannot have reached the server.
        if (!reopen())
            return refused(0);
        if (!begin.isEmpty()) {
            inTransaction_ = true;
            pendingBegin_ = begin;
            pendingStatements_ = beginStatements;
        } else if (!resendable && !unsent) {
            noteError(batch.code(), batch.error());
            return batch;
        }
        if (!fitAll())
            return refused(0);
        batch = transmit(statements, &unsent);
        if (!batch && inTransaction_ && connectionLost(batch.code())) {
            noteLost();
            transactionLost_ = true;
        }
    }
    sinceLastStatement_.start();
    if (batch.answeredCount() > 0) {
        affected_ = batch.affected(batch.answeredCount() - 1);
        insertId_ = batch.insertId(batch.answeredCount() - 1);
    }
    if (!inTransaction_)
        for (int i = 0; i < batch.answeredCount(); ++i)
            if (batch.affected(i) > 0 && batch.affected(i) != quint64(-1)) {
                changed();
                break;
            }
    return batch;
}

Row mySQLTool::CurrentRow() const
{
    const int fields = result_ ? static_cast<int>(mysql_num_fields(result_.get())) : 0;
    QStringList cells;
    QVector<bool> nulls;
    cells.reserve(fields);
    nulls.reserve(fields);
    for (int c = 0; c < fields; ++c) {
        nulls.append(IsNull(c));
        cells.append(Value(c));
    }
    return Row(std::move(cells), std::move(nulls));
}

bool mySQLTool::FetchRow()
{
    if (!result_)
        return false;
    row_ = mysql_fetch_row(result_.get());
    lengths_ = row_ ? mysql_fetch_lengths(result_.get()) : nullptr;
    // A streamed result's rows arrive now: the connection can fail between two of them.
    if (!row_ && streaming_ && mysql_errno(&mysql_) != 0)
        noteError(mysql_errno(&mysql_), Gbk::decode(QByteArray(mysql_error(&mysql_))));
    return row_ != nullptr;
}

bool mySQLTool::FreeResult()
{
    result_.reset();
    streaming_ = false;
    row_ = nullptr;
    lengths_ = nullptr;
    return true;
}

bool mySQLTool::DataSeek(quint64 row)
{
    if (!result_ || row >= mysql_num_rows(result_.get()))
        return false;
    mysql_data_seek(result_.get(), row);
    return true;
}

int mySQLTool::NumFields()
{
    return result_ ? static_cast<int>(mysql_num_fields(result_.get())) : 0;
}

quint64 mySQLTool::NumRows()
{
    return result_ ? mysql_num_rows(result_.get()) : 0;
}

int mySQLTool::GetFieldName(int index, QString* target)
{
    if (index < 0 || !target || !result_ || index >= NumFields())
        return -1;
    const MYSQL_FIELD* field = mysql_fetch_field_direct(result_.get(), static_cast<unsigned>(index));
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

bool mySQLTool::DuplicateKey() const
{
    return lastErrno_ == ER_DUP_ENTRY;
}

QString mySQLTool::GetError()
{
    return lastError_;
}

bool mySQLTool::IsNull(int column) const
{
    return !row_ || column < 0 || column >= static_cast<int>(mysql_num_fields(result_.get())) ||
           !row_[column];
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

SqlEscaping mySQLTool::escaping()
{
    return SqlEscaping{&mySQLTool::escapeWithConnection, this, connectionEscaping()};
}

Statement::Escaping mySQLTool::connectionEscaping() const
{
    return (mysql_.server_status & SERVER_STATUS_NO_BACKSLASH_ESCAPES) != 0 ? Statement::Escaping::Quotes
                                                                            : Statement::Escaping::Backslash;
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

bool mySQLTool::Begin(Isolation isolation)
{
    if (inTransaction_) {
        noteError(CR_COMMANDS_OUT_OF_SYNC, QStringLiteral("事务已经开始"));
        return false;
    }
    if (!connected_ && !readyToFormat())
        return false;
    // A Galera node gets the transaction's statements one by one (see transmit), its begin
    // too; a lost connection may be reconnected here, nothing being done yet.
    if (galera_) {
        if (isolation == Isolation::ReadCommitted &&
            !run(Statement::fromBytes("set transaction isolation level read committed"), false, true))
            return false;
        if (!run(Statement::fromBytes("start transaction"), false, true))
            return false;
        inTransaction_ = true;
        transactionLost_ = false;
        return true;
    }
    // Sent with the first statement of the transaction: a round trip less. A connection lost
    // then is reconnected and the whole exchange sent again, nothing of it having stayed.
    if (isolation == Isolation::ReadCommitted) {
        pendingBegin_ = "set transaction isolation level read committed;start transaction";
        pendingStatements_ = 2;
    } else {
        pendingBegin_ = "start transaction";
        pendingStatements_ = 1;
    }
    inTransaction_ = true;
    transactionLost_ = false;
    return true;
}

bool mySQLTool::Commit()
{
    if (!inTransaction_) {
        noteError(CR_COMMANDS_OUT_OF_SYNC, QStringLiteral("没有进行中的事务"));
        return false;
    }
    if (pendingStatements_ > 0) {
        // Nothing of the transaction was sent.
        clearPendingBegin();
        inTransaction_ = false;
        return true;
    }
    const bool ok = !transactionLost_ && send("commit");
    if (transactionLost_)
        noteError(CR_SERVER_LOST, kNotSaved);
    inTransaction_ = false;
    transactionLost_ = false;
    if (ok)
        changed();
    return ok;
}

bool mySQLTool::Rollback()
{
    if (!inTransaction_)
        return true;
    const bool lost = transactionLost_;
    const bool sent = pendingStatements_ == 0;
    clearPendingBegin();
    inTransaction_ = false;
    transactionLost_ = false;
    const unsigned code = lastErrno_;
    const QString text = lastError_;
    if (!lost && sent)
        send("rollback");
    // Keep the error that made the action roll back.
    noteError(code, text);
    return true;
}

// Marks the transaction and commits it in one exchange ("insert mark; commit": a mark that
// fails is not committed). When the reply is lost, the server may or may not have committed:
// a new connection ends the old session, waits until it is gone, and looks for the mark.
mySQLTool::Committed mySQLTool::commitMarked()
{
    if (transactionLost_) {
        noteError(CR_SERVER_LOST, kNotSaved);
        return Committed::No;
    }
    if (pendingStatements_ > 0) {
        // The body sent nothing: nothing to commit.
        clearPendingBegin();
        inTransaction_ = false;
        return Committed::Yes;
    }
    const quint64 affected = affected_;
    const quint64 inserted = insertId_;
    const Statement commit = Statement::fromBytes("commit");
    QString token;
    bool lost = false;
    if (marks_) {
        token = QString::number(QRandomGenerator::global()->generate64(), 16);
        const Statement mark = Format("insert into %s (令牌) value ('%s')", tables::commitMark, token);
        if (!mark.ok() || !fits(mark)) {
            noteError(kFormatError, mark.ok() ? lastError_ : mark.error());
            return Committed::No;
        }
        bool unsent = false;
        Batch b = galera_ ? exchange({mark}, &unsent) : exchange({mark, commit}, &unsent);
        if (galera_ && b.ok()) {
            b = exchange({commit}, &unsent);
            if (!b.ok())
                b.fail(1, b.code(), b.error());
        }
        sinceLastStatement_.start();
        affected_ = affected;
        insertId_ = inserted;
        if (b.ok()) {
            inTransaction_ = false;
            return Committed::Yes;
        }
        lost = connectionLost(b.code());
        if (!lost && b.failedAt() == 0 && b.code() == ER_NO_SUCH_TABLE) {
            marks_ = false;  // an installation without the table commits unmarked
        } else if (!lost) {
            // A mark that failed leaves the transaction open, to be rolled back; a COMMIT
            // that failed (a deadlock, a cluster's certification) has ended it.
            if (b.failedAt() > 0)
                inTransaction_ = false;
            return Committed::No;
        }
    }
    inTransaction_ = false;
    if (!lost) {
        if (send("commit"))
            return Committed::Yes;
        if (!connectionLost(lastErrno_))
            return Committed::No;
    }

    noteLost();
    for (int attempt = 0; attempt < kCommitReconnects; ++attempt) {
        if (reopen())
            break;
        QThread::msleep(300);
    }
    if (!connected_ || token.isEmpty())
        return Committed::Unknown;
    // The mark's key never came back; its time bounds the search.
    const Rows found =
        Read(Format("select %s.序列号 from %s where %s.时间 >= now() - interval 1 hour and "
                    "%s.令牌='%s'",
                    tables::commitMark, tables::commitMark, tables::commitMark, tables::commitMark, token));
    if (!found)
        return Committed::Unknown;
    // A mark found is a commit, wherever it is read (on another node of a cluster, too). A
    // mark not found means no commit only once the old session is known to be gone: on
    // another server it cannot be ended from here and might still commit.
    if (found.empty() && !lostSessionGone_)
        return Committed::Unknown;
    if (found.empty()) {
        noteError(CR_SERVER_LOST, kNotSaved);
        return Committed::No;
    }
    noteError(0, QString());
    affected_ = affected;
    insertId_ = inserted;
    return Committed::Yes;
}

Outcome mySQLTool::Transact(const std::function<Outcome()>& body, Isolation isolation)
{
    if (inTransaction_)
        return body();
    Busy busy(*this);
    for (int run = 0;; ++run) {
        if (!Begin(isolation))
            return Failure();
        Outcome outcome = body();
        if (outcome.ok()) {
            switch (commitMarked()) {
                case Committed::Yes:
                    changed();
                    return outcome;
                case Committed::Unknown:
                    changed();  // perhaps saved: whoever shows the data looks again
                    return Outcome::taken(kCommitUnknown);
                case Committed::No:
                    outcome = Failure();
                    break;
            }
        }
        const unsigned code = lastErrno_;
        const bool lost = transactionLost_;
        Rollback();
        if (lost) {
            // A new connection right away ends the old session, whose locks would otherwise
            // hold other desks until the server noticed.
            reopen();
            return Outcome::failed(kNotSaved);
        }
        if (galera_ && code == ER_PARSE_ERROR) {
            // The node's copies with unparsed triggers go, whether the action runs again or
            // not; a schema without the procedure only costs the rerun.
            const QString text = lastError_;
            send("call kv_reload_triggers()");
            noteError(code, text);
        }
        if (outcome.kind() == Outcome::Kind::Failed && worthRerun(code, galera_) && run < kMaxReruns)
            continue;
        return outcome;
    }
}
