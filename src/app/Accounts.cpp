#include "app/Accounts.h"

#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/mySQLTool.h"

#include <QHash>
#include <QSet>

namespace accounts {

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
    if (!db.Exec("update kvc_record_user set 密码='%s' where 账号='%s'", newText, account))
        return db.Failure();
    if (db.AffectedRows() > 0)
        return Outcome::done();
    // No row changed: the same password again, or the account is gone.
    if (!db.Select("select kvc_record_user.序列号 from kvc_record_user where kvc_record_user.账号='%s'",
                   account))
        return db.Failure();
    const bool exists = db.FetchRow();
    db.FreeResult();
    return exists ? Outcome::done() : Outcome::refused(QStringLiteral("该账号已不存在"));
}

QStringList identities(mySQLTool& db, QString* error)
{
    QStringList out;
    if (!db.Select("select kvc_attrib_identity.身份 from kvc_attrib_identity")) {
        if (error)
            *error = db.GetError();
        return out;
    }
    while (db.FetchRow())
        out.append(db.Value(0));
    db.FreeResult();
    return out;
}

bool load(mySQLTool& db, QList<QStringList>& rows)
{
    rows.clear();
    if (!db.Select(
            "select kvc_record_user.序列号, kvc_record_user.账号, kvc_record_user.密码, kvc_record_user.权限 "
            "from kvc_record_user where kvc_record_user.权限<>'管理员' order by kvc_record_user.序列号"))
        return false;
    while (db.FetchRow())
        rows.append({db.Value(0), db.Value(1), db.Value(2), db.Value(3)});
    db.FreeResult();
    return true;
}

SaveResult save(mySQLTool& db, const QList<QStringList>& loaded, const QList<QStringList>& rows)
{
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
                if (r.value(1).isEmpty() || r.value(2).isEmpty() || r.value(3).isEmpty())
                    return Outcome::refused(QStringLiteral("必填项不能为空"));
                if (!db.Select(
                        "select kvc_record_user.账号 from kvc_record_user where kvc_record_user.账号='%s'",
                        r.value(1)))
                    return db.Failure();
                const bool taken = db.FetchRow();
                db.FreeResult();
                if (taken)
                    return Outcome::refused(QStringLiteral("账号不能重复"));
                if (!db.Exec("insert into kvc_record_user (账号, 密码, 权限) value ('%s', '%s', '%s')",
                             r.value(1), r.value(2), r.value(3)))
                    return db.Failure();
                continue;
            }
            const auto it = before.constFind(r.value(0));
            if (it == before.constEnd() || *it == r)
                continue;
            // A name another account holds is refused by the server's unique key.
            if (!db.Exec("update kvc_record_user set 账号='%s', 密码='%s', 权限='%s' where 序列号=%I64u",
                         r.value(1), r.value(2), r.value(3), convert::toId(r.value(0))))
                return db.Failure();
        }
        result.row = -1;
        return Outcome::done();
    });
    return result;
}

}  // namespace accounts
