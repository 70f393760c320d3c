#pragma once

#include "db/Statement.h"
#include "db/mySQLTool.h"

#include <QList>
#include <optional>

// The WHERE text of a statement, built from fragments: each is formatted and escaped on its
// own and they are joined by " and " in the order they are added, so the first fragment
// never gets a leading " and ". The result goes into a statement through a %s.
class Conditions {
public:
    explicit Conditions(mySQLTool& db) : db_(db) {}

    template <typename... A>
    Conditions& add(const char* format, const A&... args)
    {
        return append(db_.Format(format, args...));
    }
    Conditions& append(const Statement& fragment);
    // Adds the fragment of (table, *value) when the value is set.
    template <typename T>
    Conditions& addIf(const std::optional<T>& value, const char* format, const char* table)
    {
        return value ? add(format, table, *value) : *this;
    }

    int count() const { return static_cast<int>(fragments_.size()); }
    bool empty() const { return fragments_.isEmpty(); }
    // The joined fragments; empty when none. A fragment that could not be made makes it invalid.
    Statement text() const;
    // `lead` and the joined fragments, or nothing when there are none: " and " after a
    // statement that has its WHERE already, " where " after one that has none.
    Statement after(const char* lead) const;

private:
    mySQLTool& db_;
    QList<Statement> fragments_;
};

// Whether a list's page ending at row `upTo` of `matching` rows is read walking the table in
// the list's key order until the page is full (about upTo * last / matching rows, `last` the
// highest key) rather than reading every match through its conditions' key and sorting them.
inline bool walkInKeyOrder(quint64 matching, quint64 last, quint64 upTo)
{
    return double(matching) * double(matching) > double(upTo) * double(last);
}
