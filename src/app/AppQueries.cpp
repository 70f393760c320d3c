#include "app/AppQueries.h"

#include "db/mySQLTool.h"

namespace appq {

Statement login(mySQLTool& db, const QString& account)
{
    return db.Format(
        "select kvc_record_user.账号, kvc_record_user.密码, kvc_record_user.权限, kvc_record_user.序列号, "
        "kvc_record_user.错误次数 from kvc_record_user where kvc_record_user.账号='%s'",
        account);
}

Statement loginWait(mySQLTool& db, const QString& account)
{
    return db.Format("select kv_login_wait('%s')", account);
}

Statement loginSalt(mySQLTool& db, const QString& account)
{
    return db.Format("select kv_login_salt('%s')", account);
}

Statement self(mySQLTool& db)
{
    return db.Format("select kvc_view_self.权限, kvc_view_self.错误次数 from kvc_view_self");
}

Statement accountSerial(mySQLTool& db, const QString& account)
{
    return db.Format("select kvc_record_user.序列号 from kvc_record_user where kvc_record_user.账号='%s'",
                     account);
}

Statement accountNamed(mySQLTool& db, const QString& account)
{
    return db.Format("select kvc_record_user.账号 from kvc_record_user where kvc_record_user.账号='%s'",
                     account);
}

Statement identities(mySQLTool& db)
{
    return db.Format("select kvc_attrib_identity.身份 from kvc_attrib_identity");
}

Statement accounts(mySQLTool& db)
{
    return db.Format(
        "select kvc_view_user.序列号, kvc_view_user.账号, kvc_view_user.有密码, kvc_view_user.权限 "
        "from kvc_view_user where kvc_view_user.权限<>'管理员' order by kvc_view_user.序列号");
}

}  // namespace appq
