#include "app/Accounts.h"

#include "app/AppQueries.h"
#include "db/Columns.h"
#include "db/Convert.h"
#include "db/Gbk.h"
#include "db/Tables.h"
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
    if (const Outcome fits = columns::fit({{tables::user, "密码", newText}}); !fits)
        return fits;
    return db.Transact([&] {
        if (!db.Exec("update kvc_record_user set 密码='%s' where 账号='%s'", newText, account))
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
        rows.append(r.cells());
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
        case 2:
            ran = db.Exec(
                "update kvc_record_user set 密码='%s' where 序列号=%I64u and 密码 collate gbk_bin='%s'",
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
    return columns::fit({{tables::user, "账号", r.value(1)},
                         {tables::user, "密码", r.value(2)},
                         {tables::user, "权限", r.value(3)}});
}

}  // namespace

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
                if (const Outcome fit = fits(r); !fit)
                    return fit;
                const Rows named = db.Read(appq::accountNamed(db, r.value(1)));
                if (!named)
                    return named.failed();
                if (!named.empty())
                    return Outcome::refused(kDuplicate);
                if (!db.Exec("insert into kvc_record_user (账号, 密码, 权限) value ('%s', '%s', '%s')",
                             r.value(1), r.value(2), r.value(3)))
                    return db.DuplicateKey() ? Outcome::refused(kDuplicate) : db.Failure();
                continue;
            }
            const auto it = before.constFind(r.value(0));
            if (it == before.constEnd() || *it == r)
                continue;
            if (const Outcome fit = fits(r); !fit)
                return fit;
            for (int column = 1; column <= 3; ++column) {
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
