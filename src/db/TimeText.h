#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The local time as text: mode 0 "YYYY-MM-DD hh:mm:ss", mode 1 "YYYY-MM-DD",
// mode 2 "hh:mm:ss"; any other mode gives an empty text. Every time written into the
// database is a mode-0 text taken at the moment of the action.
QString GetTimeText(int mode = 0);

// The clock GetTimeText reads; tests fix it.
namespace kvclock {
QDateTime now();
void fix(const QDateTime& at);
void release();
}  // namespace kvclock

// The moments of a time condition, texts the database compares with its time columns: the
// values it keeps lie strictly after `after` and strictly before `before`; a moment not set
// does not restrict.
struct Moments {
    std::optional<QString> after, before;
    bool empty() const { return !after && !before; }
};
