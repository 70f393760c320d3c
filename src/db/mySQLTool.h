#pragma once

#include "db/Batch.h"
#include "db/MysqlResult.h"
#include "db/Outcome.h"
#include "db/Rows.h"
#include "db/Servers.h"
#include "db/Statement.h"

#include <mysql.h>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>

// The database session: one connection, one current result, text in GBK on the wire and
// QString inside. Every statement is built by Format() against the live connection it will
// be sent on (see Statement.h); a session that lost its connection reconnects first.
//
// A lost connection (2006, 2013) is reconnected, with the charset set again, and the
// statement retried, only outside a transaction. A write is sent again only when it
// cannot have reached the server; so that a connection dropped while idle does not cost
// the user a refused write, a write after a pause is preceded by a ping. Inside a
// transaction the statement fails, and so does every later one, until the transaction
// ends. Every new connection ends the server session of the connection that was lost
// (its locks go at once) and sets a short lock-wait timeout.
//
// Transact() runs an action as one transaction and reruns it on deadlock or lock-wait
// timeout (1213, 1205), and on a Galera node on a syntax error (1064), which is how such a
// node reports a statement it aborted while loading a table's triggers (it reloads them
// first). It marks each commit with a row of kvc_record_commit, sent with
// the COMMIT, so that when the reply is lost it can reconnect, wait until the old session
// is gone and tell from the mark whether the transaction committed. Begin sends nothing:
// its statements go with the transaction's first exchange.
class mySQLTool {
public:
    mySQLTool();
    virtual ~mySQLTool();
    mySQLTool(const mySQLTool&) = delete;
    mySQLTool& operator=(const mySQLTool&) = delete;

    virtual bool Connect(const QString& host, int port, const QString& database, const QString& account,
                         const QString& password);

    // Where and as whom a session signs in, and how (TLS): what a second session of the same
    // user needs.
    struct Login {
        QList<ServerAddress> servers;
        QString database, account, password;
        bool tls = false;
        QString tlsCa;
    };
    Login login() const { return {servers_, database_, account_, password_, tls_, tlsCa_}; }
    // Opens a session of its own with a login taken from another session, with its TLS and
    // under this session's other settings; it writes nothing on connecting. `first`: the
    // server to try first.
    bool ConnectWith(const Login& login, int first = 0);
    virtual bool Close();
    virtual bool IsAlive();
    virtual bool Reconnect();
    // Connects to the server `other` is on (or tries first), with its account, database, TLS
    // and settings: a connection of its own beside that session, for reading a long result.
    // It gets the server's escaping kind afresh; a statement made for the other kind is refused.
    bool ConnectLike(const mySQLTool& other);
    virtual bool Query(const Statement& statement, bool keep);
    // Runs a query whose rows are fetched (FetchRow) as the server sends them, nothing stored
    // on the client; the connection runs nothing else until FreeResult, which reads the rest.
    // A fetch that fails is told apart from the end by LastErrno.
    bool Stream(const Statement& statement);
    // Drops the connection at once, leaving a streamed result unread.
    void Abort();
    virtual bool FetchRow();
    virtual bool FreeResult();
    virtual bool DataSeek(quint64 row);
    virtual int NumFields();
    virtual quint64 NumRows();
    virtual int GetFieldName(int index, QString* target);
    virtual int FindField(const QString& name);
    virtual QString GetError();

    // Builds a statement for this connection; when the session has lost its connection it
    // reconnects first, and a statement that cannot be made so says why.
    template <typename... A>
    Statement Format(const char* format, const A&... args)
    {
        if (!readyToFormat())
            return Statement::invalid(GetError());
        return formatStatement(format, {SqlArg(args)...}, escaping());
    }
    // Runs a statement that keeps no result.
    template <typename... A>
    bool Exec(const char* format, const A&... args)
    {
        return Query(Format(format, args...), false);
    }
    // Runs a query and makes its result the current one.
    template <typename... A>
    bool Select(const char* format, const A&... args)
    {
        return Query(Format(format, args...), true);
    }

    // Runs a query and returns its rows as values, at most `cap` of them (all when negative);
    // nothing stays open on the session. Screens and operations read this way.
    Rows Read(const Statement& statement, int cap = -1);
    // Sends the statements in one exchange and reads every answer; the server runs them in
    // order and stops at the first that fails. Reads are sent again after a lost connection
    // like Read; statements that write, like a write. Traffic counts each statement, and
    // the exchange as one round trip. Outside a transaction a read that fails costs only its
    // own answer, as when each is sent alone: the others are read all the same.
    virtual Batch ReadAll(const QList<Statement>& reads);
    Batch ExecAll(const QList<Statement>& statements) { return runBatch(statements, false); }

    // The current row of the current result.
    Row CurrentRow() const;
    bool IsNull(int column) const;
    QString Value(int column) const;
    int ValueInt(int column) const;        // a count or flag; not a number = 0
    quint64 ValueId(int column) const;     // an id; not a number = 0
    double ValueDouble(int column) const;  // money or a rate; not a number = 0

    bool IsConnected() const { return connected_; }
    // The database account the session signs in with.
    const QString& Account() const { return account_; }
    // The account's password was changed on the server: reconnections use the new one.
    void PasswordChanged(const QString& password) { password_ = password; }
    quint64 AffectedRows() const { return affected_; }
    quint64 InsertId() const { return insertId_; }
    unsigned LastErrno() const { return lastErrno_; }
    // The last statement failed on a unique key.
    bool DuplicateKey() const;
    // The server of the list this session is connected to, or tries first.
    ServerAddress CurrentServer() const { return servers_.value(current_); }
    // The server's id of this session (0 while not connected).

    quint64 ThreadId() const { return threadId_; }

    // How a transaction sees the rows it reads without locking them. Read committed: each
    // statement reads what is committed when it starts, and INSERT ... SELECT leaves the rows
    // it reads unlocked.
    enum class Isolation { RepeatableRead, ReadCommitted };
    bool Begin(Isolation isolation = Isolation::RepeatableRead);
    bool Commit();
    bool Rollback();
    bool InTransaction() const { return inTransaction_; }
    // Runs the body as one transaction: commit when it returns done, roll back otherwise.
    // A deadlock or lock-wait timeout reruns it, at most three times, so the body must
    // touch nothing but the database. Inside an open transaction the body joins it.
    // When the reply to COMMIT is lost the outcome is the body's if the transaction
    // committed, failed if it did not, and taken (kCommitUnknown) if that cannot be told.
    Outcome Transact(const std::function<Outcome()>& body, Isolation isolation = Isolation::RepeatableRead);
    // The outcome of the statement that just failed.
    Outcome Failure() { return Outcome::failed(GetError()); }

    // Seconds; set before Connect.
    void SetTimeouts(int connectSeconds, int readSeconds, int writeSeconds);
    // Every connection speaks TLS and verifies the server's certificate (and name) with the CA
    // file `caFile` (empty: the system's CAs); a server that cannot be verified is refused
    // (kTlsRefused). Set before Connect.
    void SetTls(bool on, const QString& caFile = QString());
    bool Tls() const { return tls_; }
    const QString& TlsCa() const { return tlsCa_; }
    // A write outside a transaction after this many idle milliseconds pings first.
    void SetIdlePing(qint64 milliseconds) { idlePingMs_ = milliseconds; }
    // The lock-wait timeout of this client's sessions, in seconds; set before Connect.
    void SetLockWait(int seconds) { lockWaitSeconds_ = seconds; }
    // A statement run on every new connection after the session's own settings (a
    // server's session variables); set before Connect.
    void AddSessionStatement(const QByteArray& sql) { sessionStatements_.append(sql); }
    // Told true when the session starts to wait for the server and false when it is done,
    // so that a window can show that it is busy; not nested.
    void SetBusyHook(std::function<void(bool)> hook) { busyHook_ = std::move(hook); }
    // Told after this session changed the database: a transaction committed, or a statement
    // outside a transaction changed rows. Empty: nobody is told.
    void SetChangeHook(std::function<void()> hook) { changeHook_ = std::move(hook); }

    // What the session has cost so far: statements sent, exchanges with the server that
    // waited for its answer (a statement, several statements sent together, a ping, the
    // log-in's greeting and answer), and the time spent waiting (sending, executing and
    // storing the result, pinging, connecting). Read by the benchmark.
    struct Traffic {
        quint64 statements = 0;
        quint64 roundTrips = 0;
        qint64 waitNs = 0;
    };
    Traffic traffic() const { return traffic_; }

private:
    enum class Committed { Yes, No, Unknown };
    class Busy;

    SqlEscaping escaping();
    Statement::Escaping connectionEscaping() const;
    static QByteArray escapeWithConnection(void* self, const QByteArray& gbk);
    bool readyToFormat();
    bool open();
    bool openOn(const ServerAddress& server);

    bool reopen();
    void closeHandle();
    bool setUpSession();
    void endLostSession();
    void noteLost();
    bool send(const QByteArray& sql);
    bool sendMany(const QByteArray& sql, int count);
    void clearPendingBegin();
    bool ping();
    Batch runBatch(const QList<Statement>& statements, bool resendable);
    Batch exchange(const QList<Statement>& statements, bool* unsent);
    Batch transmit(const QList<Statement>& statements, bool* unsent);
    bool run(const Statement& statement, bool keep, bool resendable, bool stream = false);
    bool fits(const Statement& statement);
    Committed commitMarked();
    void noteError(unsigned code, const QString& text);

    MYSQL_ROW row_ = nullptr;
    unsigned long* lengths_ = nullptr;
    MYSQL mysql_;
    MysqlResult result_;
    bool streaming_ = false;    // result_ is read as the server sends it
    bool initialised_ = false;  // the handle holds allocations that mysql_close frees
    bool connected_ = false;
    bool wanted_ = false;  // connected by Connect and not closed on purpose since
    QString database_, account_, password_;
    QList<ServerAddress> servers_;
    int current_ = 0;  // the server connected to last, or to try first

    bool inTransaction_ = false;
    // Begin sends nothing: its statements travel with the transaction's first exchange.
    QByteArray pendingBegin_;
    int pendingStatements_ = 0;
    bool beginUnanswered_ = false;  // the last exchange lost the connection before its begin was answered
    bool galera_ = false;           // the server is a node of a Galera cluster
    bool transactionLost_ = false;  // the connection went while the transaction was open
    quint64 affected_ = 0;
    quint64 insertId_ = 0;
    unsigned lastErrno_ = 0;
    QString lastError_;
    bool tls_ = false;
    QString tlsCa_;
    int connectTimeout_ = 10;
    int readTimeout_ = 120;
    int writeTimeout_ = 60;
    int lockWaitSeconds_ = 5;
    qint64 idlePingMs_ = 5000;
    QElapsedTimer sinceLastStatement_;
    QList<QByteArray> sessionStatements_;
    std::function<void(bool)> busyHook_;
    int busyDepth_ = 0;
    std::function<void()> changeHook_;
    void changed()
    {
        if (changeHook_)
            changeHook_();
    }

    quint64 threadId_ = 0;
    QString server_;            // which server the session is on (host name, port, server id)
    quint64 lostThreadId_ = 0;  // the session of the connection that was lost, to be ended
    QString lostServer_;
    QString peer_;  // the client's address and port as the server sees this session
    QString lostPeer_;
    bool lostSessionGone_ = false;  // the last lost session is known to have ended
    bool marks_ = true;             // kvc_record_commit exists
    Traffic traffic_;
};

// Told (caption "错误", kind taken) when the connection broke while COMMIT was answered
// and it could not be found out whether the action was saved.
inline const QString kCommitUnknown =
    QStringLiteral("与数据库的连接在保存时中断，无法确认本次操作是否已经保存，请刷新后查看，不要直接重做");
// Told, with the library's text, when a connection asked for TLS cannot verify the server.
inline const QString kTlsRefused = QStringLiteral(
    "无法与数据库服务器建立经过验证的加密连接（服务器的证书不能用设定的CA证书验证，或服务器不支持TLS），"
    "已拒绝连接：%1");
// Told (kind failed) when the connection broke before the action was saved.
inline const QString kNotSaved = QStringLiteral("与数据库的连接中断，本次操作没有保存，请重试");

// The process-wide session every screen uses.
extern mySQLTool g_sqlTool;

// Rolls back on leaving the scope unless committed.
class Transaction {
public:
    explicit Transaction(mySQLTool& db) : db_(db), begun_(db.Begin()) {}
    ~Transaction()
    {
        if (begun_ && !committed_)
            db_.Rollback();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool begun() const { return begun_; }
    bool commit()
    {
        committed_ = begun_ && db_.Commit();
        return committed_;
    }

private:
    mySQLTool& db_;
    bool begun_;
    bool committed_ = false;
};
