#include "flow/Flow.h"

#include "db/Outcome.h"
#include "db/mySQLTool.h"

namespace flow {

Outcome oneRowChanged(mySQLTool& db, bool ran, const QString& taken)
{
    if (!ran)
        return db.Failure();
    return db.AffectedRows() == 1 ? Outcome::done() : Outcome::refused(taken);
}

}  // namespace flow
