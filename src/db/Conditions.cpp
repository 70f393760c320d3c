#include "db/Conditions.h"

Conditions& Conditions::append(const Statement& fragment)
{
    fragments_.append(fragment);
    return *this;
}

Statement Conditions::text() const
{
    QByteArray joined;
    for (const Statement& f : fragments_) {
        if (!f.ok())
            return f;
        if (!joined.isEmpty())
            joined.append(" and ");
        joined.append(f.sql());
    }
    return Statement::fromBytes(joined);
}

Statement Conditions::after(const char* lead) const
{
    const Statement joined = text();
    if (!joined.ok() || joined.empty())
        return joined;
    return Statement::fromBytes(QByteArray(lead) + joined.sql());
}
