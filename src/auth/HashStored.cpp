#include "auth/HashStored.h"

#include "auth/Passwords.h"
#include "db/mySQLTool.h"

namespace passwords {

Outcome hashStored(mySQLTool& db, Hashed* done)
{
    Hashed counted;
    const Outcome r = db.Transact([&]() -> Outcome {
        counted = Hashed();
        const Rows users =
            db.Read(db.Format("select 序列号, 密码 from kvc_record_user where 密码<>'' for update"));
        if (!users)
            return users.failed();
        for (const Row& u : users) {
            if (!isPlain(u.text(1)))
                continue;
            if (!db.Exec("update kvc_record_user set 密码='%s' where 序列号=%I64u", hash(u.text(1)),
                         u.toId(0)))
                return db.Failure();
            ++counted.accounts;
        }
        const Rows setting =
            db.Read(db.Format("select 内容 from kvc_attrib_mod where 名称='特权密码' for update"));
        if (!setting)
            return setting.failed();
        const QString privileged = setting.first().text(0);
        if (!setting.empty() && !privileged.isEmpty() && isPlain(privileged)) {
            if (!db.Exec("update kvc_attrib_mod set 内容='%s' where 名称='特权密码'", hash(privileged)))
                return db.Failure();
            counted.privileged = true;
        }
        return Outcome::done();
    });
    if (done)
        *done = counted;
    return r;
}

}  // namespace passwords
