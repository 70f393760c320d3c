#include "app/SignIn.h"

#include "app/AppQueries.h"
#include "auth/Passwords.h"
#include "db/mySQLTool.h"

#include <mysqld_error.h>

namespace signin {

namespace {

Result refusal(const Outcome& outcome)
{
    Result r;
    r.outcome = outcome;
    return r;
}

// The wait of an account, as an outcome: done when it may try now.
Outcome mayTry(mySQLTool& db, const QString& account)
{
    const Rows wait = db.Read(appq::loginWait(db, account));
    if (!wait)
        return wait.failed();
    const int seconds = wait.first().toInt(0);
    return seconds > 0 ? Outcome::refused(kWait.arg(seconds)) : Outcome::done();
}

}  // namespace

Result withSharedAccount(mySQLTool& db, const QString& account, const QString& password)
{
    if (const Outcome may = mayTry(db, account); !may)
        return refusal(may);
    const Rows read = db.Read(appq::login(db, account));
    if (!read)
        return refusal(read.failed());
    // The account follows the server's comparison (its first row); the password is checked here.
    const Row& user = read.first();
    if (read.empty())
        return Result();
    const QString stored = user.text(appq::Login::Password);
    const quint64 serial = user.toId(appq::Login::Serial);
    if (!passwords::matches(stored, password)) {
        db.Exec("call kv_login_failed('%s')", account);
        return Result();
    }
    // Replaced only while it is still that plain value; a failure leaves it for the next time.
    if (passwords::isPlain(stored)) {
        const QString hashed = passwords::hash(password);
        if (!hashed.isEmpty())
            db.Exec("update kvc_record_user set 密码='%s' where 序列号=%I64u and 密码 collate gbk_bin='%s'",
                    hashed, serial, stored);
    }
    Result r;
    r.outcome = Outcome::done();
    r.identity = user.text(appq::Login::Identity);
    r.wrongTries = user.toInt(appq::Login::WrongTries);
    if (r.wrongTries > 0)
        db.Exec("update kvc_record_user set 错误次数=0, 错误时间=null where 序列号=%I64u", serial);
    return r;
}

QString gateAccount(const QString& database)
{
    return database + QStringLiteral("_login");
}

Result asPerson(mySQLTool& db, const Server& server, const QString& account, const QString& password)
{
    mySQLTool gate;
    gate.SetTls(db.Tls(), db.TlsCa());
    const QString gateName = gateAccount(server.database);
    if (!gate.Connect(server.hosts, server.port, server.database, gateName, gateName))
        return refusal(Outcome::failed(gate.GetError()));
    if (const Outcome may = mayTry(gate, account); !may)
        return refusal(may);
    const auto open = [&](const QString& secret) {
        return db.Connect(server.hosts, server.port, server.database, account, secret);
    };
    if (!open(password)) {
        if (db.LastErrno() != ER_ACCESS_DENIED_ERROR)
            return refusal(db.Failure());
        // An account that still holds a hash knows its first password by the hash's last part.
        const Rows head = gate.Read(appq::loginSalt(gate, account));
        const QString tail = head ? passwords::hashTail(head.first().text(0), password) : QString();
        if (tail.isEmpty() || !open(tail)) {
            db.Close();
            gate.Exec("call kv_login_failed('%s')", account);
            return Result();
        }
        if (!db.Exec("call kv_password_set('%s')", passwords::serverHash(password))) {
            const Outcome failed = db.Failure();
            db.Close();
            return refusal(failed);
        }
        // Reconnections and a second session of this person (an export, the floor board) sign in
        // with the new password.
        db.PasswordChanged(password);
    }
    const Rows self = db.Read(appq::self(db));
    if (!self || self.empty()) {
        // A database account without a log-in account of this system is no one here.
        const Result r = self ? Result() : refusal(self.failed());
        db.Close();
        return r;
    }
    Result r;
    r.outcome = Outcome::done();
    r.identity = self.first().text(appq::Self::Identity);
    r.wrongTries = self.first().toInt(appq::Self::WrongTries);
    if (r.wrongTries > 0)
        db.Exec("update kvc_view_self set 错误次数=0");
    return r;
}

}  // namespace signin
