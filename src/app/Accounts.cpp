#include "app/Accounts.h"

#include "app/AppQueries.h"
#include "auth/Passwords.h"
#include "db/Columns.h"
#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

#include <mysqld_error.h>

#include <QHash>
#include <QSet>

namespace accounts {

namespace {
// Hashing needs some memory; without it nothing is stored.
const QString kNoHash = QStringLiteral("内存不足，无法保存密码");
}  // namespace

Outcome changeOwnPassword(mySQLTool& db, const QString& account, const QString& current,
                          const QString& oldText, const QString& newText, const QString& repeatText)
{
    if (oldText.isEmpty())
        return Outcome::refused(QStringLiteral("请输入原密码"));
    if (newText.isEmpty())
        return Outcome::refused(QStringLiteral("请输入新密码"));
    if (repeatText.isEmpty())
        return Outcome::refused(QStringLiteral("请重复输入一次新密码"));
    if (oldText != current)
        return Outcome::refused(QStringLiteral("错误的原密码"));
    if (newText != repeatText)
        return Outcome::refused(QStringLiteral("两次输入的新密码不一致"));
    if (Gbk::byteLength(newText) <= 2)
        return Outcome::refused(QStringLiteral("密码设置过短"));
    // A person signed in to the database as himself: the server keeps his password.
    if (ownDatabaseAccount(db, account)) {
        if (!db.Exec("call kv_password_set('%s')", passwords::serverHash(newText)))
            return db.Failure();
        db.PasswordChanged(newText);
        return Outcome::done();
    }
    const QString hashed = passwords::hash(newText);
    if (hashed.isEmpty())
        return Outcome::failed(kNoHash);
    return db.Transact([&] {
        if (!db.Exec("update kvc_record_user set 密码='%s' where 账号='%s'", hashed, account))
            return db.Failure();
        if (db.AffectedRows() > 0)
            return Outcome::done();
        // No row changed: the same password again, or the account is gone.
        const Rows found = db.Read(appq::accountSerial(db, account));
        if (!found)
            return found.failed();
        return !found.empty() ? Outcome::done() : Outcome::refused(QStringLiteral("该账号已不存在"));
    });
}

QStringList identities(mySQLTool& db, QString* error)
{
    QStringList out;
    const Rows read = db.Read(appq::identities(db));
    if (!read && error)
        *error = read.error();
    for (const Row& r : read)
        out.append(r.text(0));
    return out;
}

bool load(mySQLTool& db, QList<QStringList>& rows)
{
    rows.clear();
    const Rows read = db.Read(appq::accounts(db));
    for (const Row& r : read)
        rows.append({r.text(0), r.text(1), r.toInt(2) ? kPasswordSet : QString(), r.text(3), QString()});
    return read.ok();
}

namespace {

// Writes one changed cell while the account still holds the loaded value (compared byte
// for byte: the column's collation ignores letter case).
Outcome writeCell(mySQLTool& db, quint64 serial, int column, const QString& value, const QString& was)
{
    bool ran = false;
    switch (column) {
        case 1:
            ran = db.Exec(
                "update kvc_record_user set 账号='%s' where 序列号=%I64u and 账号 collate gbk_bin='%s'",
                value, serial, was);
            break;
        default:
            ran = db.Exec(
                "update kvc_record_user set 权限='%s' where 序列号=%I64u and 权限 collate gbk_bin='%s'",
                value, serial, was);
            break;
    }
    if (!ran)
        return db.DuplicateKey() ? Outcome::refused(kDuplicate) : db.Failure();
    return db.AffectedRows() == 1 ? Outcome::done() : Outcome::taken(kAccountTaken);
}

Outcome fits(const QStringList& r)
{
    return columns::fit({{tables::user, "账号", r.value(1)}, {tables::user, "权限", r.value(3)}});
}

// The hash of a row's new password; empty (and `failure` set) when it cannot be made.
QString newHash(const QStringList& r, Outcome& failure)
{
    const QString hashed = passwords::hash(r.value(kNewPassword));
    if (hashed.isEmpty())
        failure = Outcome::failed(kNoHash);
    return hashed;
}

}  // namespace

namespace {

// What a refusal of the account procedures means for the grid.
Outcome procedureFailure(mySQLTool& db)
{
    switch (db.LastErrno()) {
        case ER_DUP_ENTRY:
            return Outcome::refused(kDuplicate);
        case ER_CHECKREAD:
            return Outcome::taken(kAccountTaken);
        case ER_SIGNAL_EXCEPTION:
        case ER_SPECIFIC_ACCESS_DENIED_ERROR:
            return Outcome::refused(db.GetError());
        default:
            return db.Failure();
    }
}

// Each account is a database account too: every row's change goes through the server's
// procedures, which change the row and the database account together or not at all. The
// database accounts cannot be part of one transaction (their statements commit), so the rows
// are checked first and saved one by one; a refusal stops at that row.
SaveResult savePersons(mySQLTool& db, const QList<QStringList>& loaded, const QList<QStringList>& rows)
{
    SaveResult result;
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& r = rows[i];
        const bool added = r.value(0) == kNewRow;
        if (r.value(1).isEmpty() || r.value(3).isEmpty() || (added && r.value(kNewPassword).isEmpty()))
            return {Outcome::refused(QStringLiteral("必填项不能为空")), i};
        if (const Outcome fit = fits(r); !fit)
            return {fit, i};
    }
    QSet<QString> kept;
    for (const QStringList& r : rows)
        kept.insert(r.value(0));
    for (const QStringList& r : loaded)
        if (!kept.contains(r.value(0)) &&
            !db.Exec("call kv_person_remove(%I64u, '%s')", convert::toId(r.value(0)), r.value(1)))
            return {procedureFailure(db), -1};
    QHash<QString, QStringList> before;
    for (const QStringList& r : loaded)
        before.insert(r.value(0), r);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& r = rows[i];
        const QString typed = r.value(kNewPassword);
        const QString secret = typed.isEmpty() ? QString() : passwords::serverHash(typed);
        bool ran = true;
        if (r.value(0) == kNewRow) {
            ran = db.Exec("call kv_person_add('%s', '%s', '%s')", r.value(1), secret, r.value(3));
        } else {
            const auto it = before.constFind(r.value(0));
            if (it == before.constEnd() || *it == r)
                continue;
            const quint64 serial = convert::toId(r.value(0));
            ran = secret.isEmpty()
                      ? db.Exec("call kv_person_change(%I64u, '%s', '%s', '%s', null, '%s')", serial,
                                it->value(1), it->value(3), r.value(1), r.value(3))
                      : db.Exec("call kv_person_change(%I64u, '%s', '%s', '%s', '%s', '%s')", serial,
                                it->value(1), it->value(3), r.value(1), secret, r.value(3));
        }
        if (!ran)
            return {procedureFailure(db), i};
    }
    return result;
}

}  // namespace

bool ownDatabaseAccount(mySQLTool& db, const QString& account)
{
    return !account.isEmpty() && db.Account() == account;
}

SaveResult save(mySQLTool& db, const QString& signedIn, const QList<QStringList>& loaded,
                const QList<QStringList>& rows)
{
    if (ownDatabaseAccount(db, signedIn))
        return savePersons(db, loaded, rows);
    QHash<QString, QStringList> before;
    for (const QStringList& r : loaded)
        before.insert(r.value(0), r);
    QSet<QString> kept;
    for (const QStringList& r : rows)
        kept.insert(r.value(0));

    SaveResult result;
    result.outcome = db.Transact([&]() -> Outcome {
        result.row = -1;
        // Deletions first, so that a name given up by a removed row may be taken again.
        for (const QStringList& r : loaded) {
            if (kept.contains(r.value(0)))
                continue;
            if (!db.Exec("delete from kvc_record_user where 序列号=%I64u", convert::toId(r.value(0))))
                return db.Failure();
        }
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList& r = rows[i];
            result.row = i;
            if (r.value(0) == kNewRow) {
                if (r.value(1).isEmpty() || r.value(kNewPassword).isEmpty() || r.value(3).isEmpty())
                    return Outcome::refused(QStringLiteral("必填项不能为空"));
                if (const Outcome fit = fits(r); !fit)
                    return fit;
                const Rows named = db.Read(appq::accountNamed(db, r.value(1)));
                if (!named)
                    return named.failed();
                if (!named.empty())
                    return Outcome::refused(kDuplicate);
                Outcome failure = Outcome::done();
                const QString hashed = newHash(r, failure);
                if (!failure)
                    return failure;
                if (!db.Exec("insert into kvc_record_user (账号, 密码, 权限) value ('%s', '%s', '%s')",
                             r.value(1), hashed, r.value(3)))
                    return db.DuplicateKey() ? Outcome::refused(kDuplicate) : db.Failure();
                continue;
            }
            const auto it = before.constFind(r.value(0));
            if (it == before.constEnd() || *it == r)
                continue;
            if (const Outcome fit = fits(r); !fit)
                return fit;
            if (!r.value(kNewPassword).isEmpty()) {
                Outcome failure = Outcome::done();
                const QString hashed = newHash(r, failure);
                if (!failure)
                    return failure;
                if (!db.Exec("update kvc_record_user set 密码='%s' where 序列号=%I64u", hashed,
                             convert::toId(r.value(0))))
                    return db.Failure();
                if (db.AffectedRows() != 1)
                    return Outcome::taken(kAccountTaken);
            }
            for (int column : {1, 3}) {
                if (r.value(column) == it->value(column))
                    continue;
                const Outcome written =
                    writeCell(db, convert::toId(r.value(0)), column, r.value(column), it->value(column));
                if (!written)
                    return written;
            }
        }
        result.row = -1;
        return Outcome::done();
    });
    return result;
}

}  // namespace accounts
