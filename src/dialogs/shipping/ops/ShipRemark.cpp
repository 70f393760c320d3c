#include "dialogs/shipping/ops/ShipRemark.h"

#include "db/Columns.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"

namespace shipping {

Outcome setShipRemark(mySQLTool& db, quint64 serial, const QString& remark)
{
    if (const Outcome fits = columns::fit({{tables::ship, "备注", remark}}); !fits)
        return fits;
    return db.Transact([&] {
        if (!db.Exec("update %s set %s.备注='%s' where %s.序列号=%I64u", tables::ship, tables::ship, remark,
                     tables::ship, serial))
            return db.Failure();
        return Outcome::done();
    });
}

}  // namespace shipping
