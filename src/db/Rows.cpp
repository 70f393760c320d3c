#include "db/Rows.h"

#include "db/Convert.h"

int Row::toInt(int column) const
{
    return convert::toInt(text(column));
}

qint64 Row::toInt64(int column) const
{
    return convert::toInt64(text(column));
}

quint64 Row::toId(int column) const
{
    return convert::toId(text(column));
}

double Row::toDouble(int column) const
{
    return convert::toDouble(text(column));
}

const Row& Rows::first() const
{
    static const Row none;
    return rows_.isEmpty() ? none : rows_.first();
}
