#include "dialogs/admin/AdminQueries.h"

#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace adminq {

Statement setting(mySQLTool& db, const QString& name)
{
    return db.Format("select %s.内容 from %s where %s.名称='%s'", tables::mod, tables::mod, tables::mod,
                     name);
}

}  // namespace adminq
