#include "Fixtures.h"

#include "Literal.h"

#include "db/Gbk.h"
#include "db/TimeText.h"
#include "db/mySQLTool.h"

#include <cstdio>

namespace {

// Set-up statements are the benchmark's own, not a user's text: sent as they are.
bool run(const QString& sql)
{
    QByteArray gbk;
    if (!Gbk::encode(sql, gbk) || !g_sqlTool.Query(Statement::fromBytes(gbk), false)) {
        std::fprintf(stderr, "  set-up failed: %s\n", qPrintable(g_sqlTool.GetError()));
        return false;
    }
    return true;
}

}  // namespace

namespace fixture {

quint64 client()
{
    static quint64 c = 0;
    if (c == 0)
        c = g_sqlTool
                .Read(g_sqlTool.Format(
                    "select 客户号 from kvc_record_client where 激活=1 order by 客户号 limit 1"))
                .first()
                .toId(0);
    return c;
}

QString orderInsert(quint64 client, int quantity, const QString& now)
{
    return QStringLiteral(
               "insert into kvc_record_product (款号, 客户号, 货物数量, 接货人, 接货时间, 货物性质, "
               "货物分类, "
               "货物款式, 货物性别, 洗涤方法, 货物单价, 损耗单价, 货物等级, 激活, 激活时间, 结讫, 经办人) "
               "value "
               "(9999, %1, %2, '测试', '%3', '新货', '牛仔裤', '直筒', '男装', '[普洗]', 2.5, 5, '一般', 1, "
               "'%3', 0, "
               "'kvbench')")
        .arg(client)
        .arg(quantity)
        .arg(now);
}

QString flowInsert(quint64 order, quint64 client, const QString& previous, const QString& station,
                   int quantity, const QString& now)
{
    return QStringLiteral(
               "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一站, 工作站, 数量, 生成时间, "
               "历史) "
               "value (%1, %2, '一般', '%3', '%4', %5, '%6', '接收[接收]')")
        .arg(order)
        .arg(client)
        .arg(previous, station)
        .arg(quantity)
        .arg(now);
}

quint64 order(int quantity, quint64* orderNo)
{
    *orderNo = run(orderInsert(client(), quantity, GetTimeText())) ? g_sqlTool.InsertId() : 0;
    return *orderNo;
}

quint64 flow(quint64 order, const QString& previous, const QString& station, int quantity)
{
    return run(flowInsert(order, client(), previous, station, quantity, GetTimeText())) ? g_sqlTool.InsertId()
                                                                                        : 0;
}

void remove(quint64 order)
{
    if (order == 0)
        return;
    for (const char* table :
         {"kvc_record_mission", "kvc_record_ship", "kvc_record_procedure", "kvc_record_product"})
        run(QStringLiteral("delete from %1 where 货单号=%2").arg(QLatin1String(table)).arg(order));
}

quint64 order(Literal& l, int quantity, quint64* orderNo)
{
    *orderNo = l.exec(orderInsert(client(), quantity, GetTimeText())) ? l.insertId() : 0;
    return *orderNo;
}

quint64 flow(Literal& l, quint64 order, const QString& previous, const QString& station, int quantity)
{
    return l.exec(flowInsert(order, client(), previous, station, quantity, GetTimeText())) ? l.insertId() : 0;
}

QString memberInsert()
{
    return QStringLiteral(
        "insert into kvc_record_member (姓名, 身份, 班组, 激活, 累计) value ('测试员工', '员工', '', 1, 0)");
}

QString missionInsert(quint64 member, const QString& when)
{
    return QStringLiteral(
               "insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 损耗数量, 工价, "
               "损耗单价, 共计, 经办人) value (0, 0, %1, '%2', 10, 0, 0.3, 5, 3, 'kvbench')")
        .arg(member)
        .arg(when);
}

namespace {
QString anHourAgo()
{
    return kvclock::now().addSecs(-3600).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
}  // namespace

quint64 member(int pieces)
{
    if (!run(memberInsert()))
        return 0;
    const quint64 m = g_sqlTool.InsertId();
    for (int i = 0; i < pieces; ++i)
        run(missionInsert(m, anHourAgo()));
    return m;
}

quint64 member(Literal& l, int pieces)
{
    if (!l.exec(memberInsert()))
        return 0;
    const quint64 m = l.insertId();
    for (int i = 0; i < pieces; ++i)
        l.exec(missionInsert(m, anHourAgo()));
    return m;
}

void removeMember(quint64 member)
{
    if (member == 0)
        return;
    for (const char* table : {"kvc_record_mission", "kvc_record_salary", "kvc_record_member"})
        run(QStringLiteral("delete from %1 where 工号=%2").arg(QLatin1String(table)).arg(member));
}

}  // namespace fixture
