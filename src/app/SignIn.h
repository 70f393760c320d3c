#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

// Checking a log-in. UI-free.
namespace signin {

// Told instead of checking when an account was given too many wrong passwords lately.
inline const QString kWait = QStringLiteral("该账号连续输错密码的次数太多，请%1秒后再试");
// Told to the owner at his sign-in.
inline const QString kWrongTries = QStringLiteral("自上次登录以来，有人用错误的密码尝试登录您的账号%1次");

struct Result {
    // done; refused without a text: no such account or a wrong password; refused with a
    // text: the account must wait (kWait); failed: the server's text.
    Outcome outcome = Outcome::refused(QString());
    QString identity;
    int wrongTries = 0;  // wrong passwords typed for the account since its last sign-in
};

// The factory's shared database account: `db` is connected with it, and the log-in is
// checked against kvc_record_user. A password stored plain (by an earlier version) signs in
// and is replaced by its hash.
Result withSharedAccount(mySQLTool& db, const QString& account, const QString& password);

// Where a person signs in to the database as himself: the servers (Config.ini's IP), their port
// and the database; TLS as `db` is set.
struct Server {
    QString hosts;
    int port = 0;
    QString database;
};
// The account that only tells how long an account must wait and counts wrong passwords
// (made by kv_migrate; its password is its name, no secret).
QString gateAccount(const QString& database);

// Each person his own database account: `db` is connected as `account` with `password` (the
// server checks it). An account moved while its password was a hash finishes the move here.
// On any refusal `db` is left closed.
Result asPerson(mySQLTool& db, const Server& server, const QString& account, const QString& password);

}  // namespace signin
