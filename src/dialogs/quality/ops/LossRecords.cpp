#include "dialogs/quality/ops/LossRecords.h"

#include "db/Convert.h"
#include "db/Tables.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/quality/QualityQueries.h"

#include <mysqld_error.h>

namespace quality {

namespace {

const char* const Q = tables::quality;

int handledFlag(const QString& text)
{
    return convert::toInt(text);
}

// Equal as stored: the numbers as numbers, the texts as they are.
bool sameStored(const Fields& a, const Fields& b)
{
    return convert::toInt(a.count) == convert::toInt(b.count) && a.reason == b.reason &&
           a.responsible == b.responsible && a.recorder == b.recorder && a.remark == b.remark &&
           handledFlag(a.handled) == handledFlag(b.handled);
}

}  // namespace

Outcome ensureHandledColumn(mySQLTool& db)
{
    const Rows found = db.Read(qualityq::handledColumn(db));
    if (!found)
        return found.failed();
    if (found.first().toInt(0) > 0)
        return Outcome::done();
    // The default sets the rows there are and every later entry to 0 (open).
    if (db.Exec("alter table %s add 处理 int(10) unsigned NOT NULL DEFAULT 0", Q))
        return Outcome::done();
    // Another desk opening at the same moment added it first.
    if (db.LastErrno() == ER_DUP_FIELDNAME)
        return Outcome::done();
    return db.Failure();
}

bool isCount(const QString& text)
{
    return convert::isInt(text) && convert::toInt(text) >= 1;
}

Outcome enterLoss(mySQLTool& db, const Loss& loss, quint64* serial)
{
    if (loss.count < 1)
        return Outcome::refused(kBadCount);
    if (!db.Exec("insert into %s (客户号, 日期, 数量, 原因, 责任人, 记录人, 经办人, 备注) value (%I64u, "
                 "'%s', %d, '%s', '%s', '%s', '%s', '%s')",
                 Q, loss.client, GetTimeText(0), loss.count, loss.reason, loss.responsible, loss.recorder,
                 loss.account, loss.remark))
        return db.Failure();
    if (serial)
        *serial = db.InsertId();
    return Outcome::done();
}

QString checkFields(const Fields& f)
{
    if (!isCount(f.count))
        return kBadCount;
    const QString handled = f.handled.trimmed();
    if (handled != QLatin1String("0") && handled != QLatin1String("1"))
        return kBadHandled;
    return QString();
}

Outcome saveEdits(mySQLTool& db, const QVector<Edit>& edits)
{
    for (const Edit& e : edits) {
        const QString why = checkFields(e.now);
        if (!why.isEmpty())
            return Outcome::refused(why);
    }
    return db.Transact([&]() -> Outcome {
        for (const Edit& e : edits) {
            // A row typed back to what it was (05 for 5) has nothing to write.
            if (sameStored(e.loaded, e.now))
                continue;
            const Fields& n = e.now;
            const Fields& l = e.loaded;
            if (!db.Exec("update %s set 数量=%d, 原因='%s', 责任人='%s', 记录人='%s', 备注='%s', 处理=%d "
                         "where 序列号=%I64u and ifnull(数量,0)=%d and ifnull(原因,'')='%s' and "
                         "ifnull(责任人,'')='%s' and ifnull(记录人,'')='%s' and ifnull(备注,'')='%s' and "
                         "ifnull(处理,0)=%d",
                         Q, convert::toInt(n.count), n.reason, n.responsible, n.recorder, n.remark,
                         handledFlag(n.handled), e.serial, convert::toInt(l.count), l.reason, l.responsible,
                         l.recorder, l.remark, handledFlag(l.handled)))
                return db.Failure();
            if (db.AffectedRows() != 1)
                return Outcome::taken(
                    QStringLiteral("序列号%1的记录已被其他用户修改，编辑结果没有保存，请放弃编辑后重新修改")
                        .arg(e.serial));
        }
        return Outcome::done();
    });
}

Outcome markHandled(mySQLTool& db, quint64 serial)
{
    if (!db.Exec("update %s set %s.处理=1 where %s.序列号=%I64u", Q, Q, Q, serial))
        return db.Failure();
    return Outcome::done();
}

Outcome markAllHandled(mySQLTool& db, const QList<quint64>& serials)
{
    if (serials.isEmpty())
        return Outcome::cancelled();
    QByteArray list;
    for (const quint64 serial : serials) {
        if (!list.isEmpty())
            list.append(',');
        list.append(db.Format("%I64u", serial).sql());
    }
    return db.Transact([&]() -> Outcome {
        if (!db.Exec("update %s set %s.处理=1 where %s.序列号 in (%s)", Q, Q, Q, Statement::fromBytes(list)))
            return db.Failure();
        return Outcome::done();
    });
}

}  // namespace quality
