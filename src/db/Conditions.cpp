#include "db/Conditions.h"

Conditions& Conditions::append(const Statement& fragment)
{
    fragments_.append(fragment);
    return *this;
}

Statement Conditions::text() const
{
    QByteArray joined;
    Statement::Escaping escaping = Statement::Escaping::None;
    for (const Statement& f : fragments_) {
        if (!f.ok())
            return f;
        if (f.escaping() != Statement::Escaping::None) {
            if (escaping != Statement::Escaping::None && escaping != f.escaping())
                return Statement::invalid(kConnectionChanged);
            escaping = f.escaping();
        }
        if (!joined.isEmpty())
            joined.append(" and ");
        joined.append(f.sql());
    }
    return Statement::fromBytes(joined).escapedFor(escaping);
}

Statement Conditions::after(const char* lead) const
{
    const Statement joined = text();
    if (!joined.ok() || joined.empty())
        return joined;
    return Statement::fromBytes(QByteArray(lead) + joined.sql()).escapedFor(joined.escaping());
}
