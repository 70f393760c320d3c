#include "dialogs/admin/ops/ManageSettings.h"

#include "auth/Passwords.h"
#include "db/Convert.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/AdminQueries.h"
#include "dialogs/admin/ops/TextWidths.h"

namespace manage {

namespace {

Outcome store(mySQLTool& db, const QString& name, const QString& text)
{
    const QString misfit =
        textwidths::misfit("kvc_attrib_mod", QStringLiteral("内容"), text, QStringLiteral("“%1”").arg(name));
    if (!misfit.isEmpty())
        return Outcome::refused(misfit);
    if (!db.Exec("update kvc_attrib_mod set 内容='%s' where 名称='%s'", text, name))
        return db.Failure();
    // The row is part of the installation; without it the value would be lost silently.
    if (db.AffectedRows() == 0) {
        const Rows row = db.Read(adminq::setting(db, name));
        if (!row)
            return row.failed();
        if (row.empty())
            return Outcome::failed(QStringLiteral("数据库中没有“%1”的设置").arg(name));
    }
    return Outcome::done();
}

}  // namespace

Outcome saveLossPrice(mySQLTool& db, const QString& text)
{
    // A negative default would make every activation at intake refuse its loss unit price.
    if (!(convert::toFloat(text) > 0))
        return Outcome::refused(QStringLiteral("错误的损耗单价"));
    return store(db, adminq::kLossPrice, text);
}

Outcome savePrivilegedPassword(mySQLTool& db, const QString& text)
{
    if (text.isEmpty())
        return Outcome::refused(QStringLiteral("密码不能为空"));
    const QString hashed = passwords::hash(text);
    if (hashed.isEmpty())
        return Outcome::failed(QStringLiteral("内存不足，无法保存密码"));
    return store(db, adminq::kPrivilegedPassword, hashed);
}

}  // namespace manage
