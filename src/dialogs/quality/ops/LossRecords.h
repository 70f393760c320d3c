#pragma once

#include "db/Outcome.h"

#include <QList>
#include <QString>
#include <QVector>

class mySQLTool;

// The writes of the loss registry.
namespace quality {

inline const QString kBadCount = QStringLiteral("错误的数量");
inline const QString kBadHandled = QStringLiteral("处理只能填写0或1");

// Gives the loss table its column 处理 (0 open, 1 handled) when it has none, with 0 as its
// default, so existing rows become open and an entry that leaves it out still goes in.
// A table that has it is left as it is, empty or not.
Outcome ensureHandledColumn(mySQLTool& db);

// A count of pieces as typed: a whole number of at least 1.
bool isCount(const QString& text);

// A new loss, open, dated now.
struct Loss {
    quint64 client = 0;
    int count = 0;
    QString reason, responsible, recorder, account, remark;
};
Outcome enterLoss(mySQLTool& db, const Loss& loss, quint64* serial = nullptr);

// The fields of a record that the edit list changes, as texts.
struct Fields {
    QString count, reason, responsible, recorder, remark, handled;
    bool operator==(const Fields&) const = default;
};
// Why typed fields cannot be stored (kBadCount, kBadHandled); empty when they can.
QString checkFields(const Fields& f);

// A record as this desk loaded it and as it is now on the list.
struct Edit {
    quint64 serial = 0;
    Fields loaded;
    Fields now;
};
// Writes the edits in one transaction, each only while the record still holds what was
// loaded; when another desk changed or removed one of them nothing is written (taken, naming
// its 序列号). Refused when a record's fields cannot be stored.
Outcome saveEdits(mySQLTool& db, const QVector<Edit>& edits);

// Marks one record handled.
Outcome markHandled(mySQLTool& db, quint64 serial);
// Marks the records handled with one statement.
Outcome markAllHandled(mySQLTool& db, const QList<quint64>& serials);

}  // namespace quality
