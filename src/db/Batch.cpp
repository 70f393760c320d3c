#include "db/Batch.h"

Rows Batch::rows(int i) const
{
    if (!answered(i))
        return Rows::failure(ok() ? QStringLiteral("没有这条语句的结果") : error_);
    return answers_.at(i).rows;
}

Batch::Answer Batch::answer(int i) const
{
    if (answered(i))
        return answers_.at(i);
    Answer none;
    none.rows = rows(i);
    return none;
}
