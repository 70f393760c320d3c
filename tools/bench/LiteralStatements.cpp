// The literal statements of each action, word for word, with the values filled in as the
// screen would fill them, sent by the bare client. Only this file holds them; the product
// never uses them.
#include "Bench.h"
#include "Fixtures.h"
#include "Literal.h"

#include "db/TimeText.h"

#include <QSet>

namespace {

using Rows = QList<QStringList>;

QString v(const Values& values, const char* key)
{
    return values.value(QString::fromLatin1(key));
}

// ---- main window -------------------------------------------------------------------------

void dashboard(Literal& l)
{
    l.select(QStringLiteral(
        "select kvc_record_product.货单号, kvc_record_client.名称, kvc_record_product.货物数量, "
        "kvc_record_product.接货时间, kvc_record_product.洗涤方法, kvc_record_product.接货人, "
        "kvc_record_product.货物性质, kvc_record_product.款号, kvc_record_product.货物分类, "
        "kvc_record_product.货物性别, kvc_record_product.货物等级, kvc_record_product.货物单价, "
        "kvc_record_product.货物款式, kvc_record_product.损耗单价, kvc_record_product.原版数量, "
        "kvc_record_product.洗版数量, kvc_record_product.损耗数量, kvc_record_product.关联, "
        "kvc_record_product.激活, kvc_record_product.激活时间 from kvc_record_product, kvc_record_client "
        "where "
        "kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.结讫=0 order by "
        "kvc_record_product.货单号"));
    // Orders per washing method.
    QStringList methods;
    for (const QStringList& r :
         l.select(QStringLiteral("select kvc_record_product.洗涤方法 from kvc_record_product "
                                 "where kvc_record_product.激活=1 and kvc_record_product.结讫=0"),
                  -1))
        if (!methods.contains(r[0]))
            methods << r[0];
    for (const QString& m : methods)
        l.select(QStringLiteral("select kvc_record_product.货物数量 from kvc_record_product where "
                                "kvc_record_product.洗涤方法='%1' and kvc_record_product.激活=1 and "
                                "kvc_record_product.结讫=0")
                     .arg(m),
                 -1);
    // Waiting and finished today per station.
    const QString today = GetTimeText(1);
    for (int pass = 0; pass < 2; ++pass) {
        for (const QStringList& r :
             l.select(QStringLiteral("select kvc_attrib_station.名称 from kvc_attrib_station"))) {
            const QString& s = r[0];
            if (s == QStringLiteral("接收"))
                continue;
            if (pass == 0)
                l.select(QStringLiteral("select kvc_record_procedure.数量 from kvc_record_procedure where "
                                        "kvc_record_procedure.工作站='%1' and kvc_record_procedure.结讫=0%2")
                             .arg(s, s == QStringLiteral("发送")
                                         ? QStringLiteral(" and kvc_record_procedure.上一站<>'发送'")
                                         : QString()),
                         -1);
            else
                l.select(QStringLiteral(
                             "select kvc_record_procedure.数量 from kvc_record_procedure where "
                             "kvc_record_procedure.工作站='%1' and kvc_record_procedure.结讫=1 and "
                             "kvc_record_procedure.结讫时间 like '%2%' and kvc_record_procedure.工序<>'转发'")
                             .arg(s, today),
                         -1);
        }
    }
    // Pieces per technology.
    for (const QStringList& r :
         l.select(QStringLiteral("select kvc_attrib_technology.名称 from kvc_attrib_technology where "
                                 "kvc_attrib_technology.类型<>'套餐'")))
        l.select(QStringLiteral("select kvc_record_product.货物数量, kvc_record_product.洗涤方法 from "
                                "kvc_record_product where kvc_record_product.洗涤方法 like '%[%1]%' and "
                                "kvc_record_product.激活=1 and kvc_record_product.结讫=0")
                     .arg(r[0]),
                 -1);
}

// ---- stations ----------------------------------------------------------------------------

const QString kQueueColumns = QStringLiteral(
    "select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, "
    "kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, "
    "kvc_record_procedure.生成时间 from kvc_record_procedure, kvc_record_client where "
    "kvc_record_procedure.客户号=kvc_record_client.客户号 and ");

// The five classes of the queue, each while fewer than 1024 rows are listed, no flow twice;
// the first row's flow and order.
QStringList queue(Literal& l, const QString& s)
{
    const QString classes[] = {
        QStringLiteral("kvc_record_procedure.上一站='%1' and kvc_record_procedure.工作站='%1' and "
                       "kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号 desc"),
        QStringLiteral("kvc_record_procedure.派生=1 and kvc_record_procedure.工作站='%1' and "
                       "kvc_record_procedure.结讫=0"),
        QStringLiteral("kvc_record_procedure.货物等级='紧急' and kvc_record_procedure.工作站='%1' and "
                       "kvc_record_procedure.结讫=0"),
        QStringLiteral("kvc_record_procedure.货物等级='加急' and kvc_record_procedure.工作站='%1' and "
                       "kvc_record_procedure.结讫=0"),
        QStringLiteral("kvc_record_procedure.货物等级='一般' and kvc_record_procedure.工作站='%1' and "
                       "kvc_record_procedure.结讫=0"),
    };
    QSet<QString> listed;
    QStringList first;
    for (const QString& c : classes) {
        if (listed.size() >= 1024)
            break;
        for (const QStringList& r : l.select(kQueueColumns + c.arg(s))) {
            if (listed.size() >= 1024)
                break;
            if (listed.contains(r[0]))
                continue;
            listed.insert(r[0]);
            if (first.isEmpty())
                first = QStringList{r[0], r[1]};
        }
    }
    return first;
}

void details(Literal& l, const QString& flow)
{
    if (flow.isEmpty())
        return;
    const Rows f = l.select(QStringLiteral("select kvc_record_procedure.上一站, kvc_record_procedure.数量, "
                                           "kvc_record_procedure.历史, kvc_record_procedure.货单号 from "
                                           "kvc_record_procedure where 流水号=%1")
                                .arg(flow));
    if (f.isEmpty())
        return;
    l.select(QStringLiteral(
                 "select kvc_record_client.名称, kvc_record_product.洗涤方法, kvc_record_product.货物性质, "
                 "kvc_record_product.货物分类, kvc_record_product.货物款式, kvc_record_product.货物性别, "
                 "kvc_record_product.货物等级, kvc_record_product.损耗单价 from kvc_record_product, "
                 "kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号 and "
                 "kvc_record_product.货单号=%1")
                 .arg(f[0][3]));
}

void doneList(Literal& l, const QString& s)
{
    l.select(QStringLiteral(
                 "select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, "
                 "kvc_record_procedure.数量, kvc_record_procedure.工序, kvc_record_procedure.派生, "
                 "kvc_record_procedure.结讫时间 from kvc_record_procedure, kvc_record_client where "
                 "kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.结讫=1 and "
                 "kvc_record_procedure.工作站='%1' order by kvc_record_procedure.流水号 desc")
                 .arg(s));
}

void stationOpen(Literal& l, const Values& values)
{
    const QString s = v(values, "station");
    l.select(
        QStringLiteral("select kvc_attrib_station.名称 from kvc_attrib_station where "
                       "kvc_attrib_station.名称<>'发送' and kvc_attrib_station.名称<>'接收'"));
    details(l, queue(l, s).value(0));
    doneList(l, s);
}

void acceptWork(Literal& l, const Values& values)
{
    l.select(QStringLiteral("select kvc_attrib_process.名称 from kvc_attrib_process where "
                            "kvc_attrib_process.工作站='%1'")
                 .arg(v(values, "station")));
    l.select(QStringLiteral(
                 "select kvc_attrib_process.工价 from kvc_attrib_process where kvc_attrib_process.名称='%1'")
                 .arg(v(values, "mode")));
    l.select(QStringLiteral("select kvc_attrib_station.名称 from kvc_attrib_station"));
    l.select(QStringLiteral("select kvc_attrib_group.班组名称 from kvc_attrib_group"));
    l.select(QStringLiteral(
        "select kvc_attrib_mod.内容 from kvc_attrib_mod where kvc_attrib_mod.名称='损耗单价'"));
    l.select(
        QStringLiteral("select kvc_record_member.工号, kvc_record_member.姓名 from kvc_record_member where "
                       "kvc_record_member.班组='%1' and kvc_record_member.激活=1")
            .arg(v(values, "team")),
        -1);
}

void handover(Literal& l, const Values& values)
{
    const QString s = v(values, "station");
    const QString worker =
        l.scalar(QStringLiteral("select 工号 from kvc_record_member where 班组='%1' and 激活=1")
                     .arg(v(values, "team")));
    l.exec(QStringLiteral("start transaction"));
    quint64 order = 0;
    const quint64 flow = fixture::flow(l, fixture::order(l, 10, &order), s, s, 10);
    const QString now = GetTimeText();
    const QString mode = v(values, "mode");
    const QString route = QStringLiteral("接收[接收]");
    l.startClock();
    l.exec(QStringLiteral(
               "update kvc_record_procedure set 工序='%1', 结讫=1, 结讫时间='%2', 经办人='kvbench' where "
               "流水号=%3")
               .arg(mode, now)
               .arg(flow));
    const QString client =
        l.scalar(QStringLiteral("select kvc_record_procedure.客户号 from kvc_record_procedure "
                                "where kvc_record_procedure.流水号=%1")
                     .arg(flow));
    l.exec(QStringLiteral(
               "insert into  kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, "
               "生成时间, 历史) value (%1, %2, '一般', %3, '%4', '%5', %6, '%7', '%8')")
               .arg(order)
               .arg(client)
               .arg(flow)
               .arg(s, v(values, "destination"))
               .arg(8)
               .arg(now, route + QStringLiteral("-%1[%2]").arg(s, mode)));
    l.exec(QStringLiteral(
               "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 工作站, 数量, "
               "生成时间, 派生, 历史) value (%1, %2, '一般', %3, '%4', '%4', %5, '%6', %7, '%8')")
               .arg(order)
               .arg(client)
               .arg(flow)
               .arg(s)
               .arg(1)
               .arg(now)
               .arg(1)
               .arg(route));
    l.exec(QStringLiteral("update kvc_record_product set 损耗数量=损耗数量+%1 where 货单号=%2")
               .arg(1)
               .arg(order));
    l.exec(QStringLiteral(
               "insert into kvc_record_mission (货单号, 流水号, 工号, 完成时间, 完成数量, 损耗数量, 工价, "
               "损耗单价, 共计, 经办人) value (%1, %2, %3, '%4', %5, %6, %7, %8, %9, 'kvbench')")
               .arg(order)
               .arg(flow)
               .arg(worker, now)
               .arg(8)
               .arg(1)
               .arg(QStringLiteral("0.300000"), QStringLiteral("5.000000"), QStringLiteral("-2.600000")));
    details(l, queue(l, s).value(0));
    doneList(l, s);
    l.stopClock();
    l.exec(QStringLiteral("rollback"));
}

// ---- intake and shipping -----------------------------------------------------------------

void intakeOpen(Literal& l, const Values&)
{
    l.select(
        QStringLiteral("select kvc_record_client.客户号, kvc_record_client.名称, kvc_record_client.说明 from "
                       "kvc_record_client where 激活=1"));
    for (int active : {1, 0})
        l.select(QStringLiteral(
                     "select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, "
                     "kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, "
                     "kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, "
                     "kvc_record_product.货物性别, kvc_record_product.洗涤方法 from kvc_record_client, "
                     "kvc_record_product where kvc_record_product.客户号=kvc_record_client.客户号 and "
                     "kvc_record_product.激活=%1 and kvc_record_product.结讫=0 order by "
                     "kvc_record_product.货单号 desc")
                     .arg(active));
    l.select(QStringLiteral(
        "select kvc_record_procedure.流水号, kvc_record_procedure.货单号, kvc_record_client.名称, "
        "kvc_record_procedure.货物等级, kvc_record_procedure.上一站, kvc_record_procedure.数量, "
        "kvc_record_procedure.生成时间, kvc_record_procedure.历史 from kvc_record_client, "
        "kvc_record_procedure where "
        "kvc_record_procedure.客户号=kvc_record_client.客户号 and kvc_record_procedure.工作站='接收' and "
        "kvc_record_procedure.结讫=0 order by kvc_record_procedure.流水号 desc"));
    l.select(QStringLiteral(
        "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.身份='运输'"));
    for (const char* table : {"kvc_attrib_nature", "kvc_attrib_type", "kvc_attrib_kind", "kvc_attrib_sex",
                              "kvc_attrib_priority", "kvc_attrib_technology_type"})
        l.select(QStringLiteral("select * from %1").arg(QLatin1String(table)));
    l.select(QStringLiteral(
        "select kvc_attrib_mod.内容 from kvc_attrib_mod where kvc_attrib_mod.名称='损耗单价'"));
}

const QString kOrderColumns = QStringLiteral(
    "kvc_record_product.款号, kvc_record_client.名称, kvc_record_product.货物等级, "
    "kvc_record_product.货物数量, "
    "kvc_record_product.损耗数量, kvc_record_product.原版数量, kvc_record_product.洗版数量, "
    "kvc_record_product.接货时间, kvc_record_product.货物性质, kvc_record_product.货物分类, "
    "kvc_record_product.货物款式, kvc_record_product.货物性别, kvc_record_product.洗涤方法");

QString q1()
{
    return QStringLiteral("select distinct kvc_record_procedure.货单号, ") + kOrderColumns +
           QStringLiteral(
               " from kvc_record_product, kvc_record_client, kvc_record_procedure where "
               "kvc_record_product.客户号=kvc_record_client.客户号 and "
               "kvc_record_product.货单号=kvc_record_procedure.货单号 and kvc_record_procedure.结讫=0 and "
               "kvc_record_procedure.工作站='发送' order by kvc_record_procedure.货单号 desc");
}

QString q2()
{
    return QStringLiteral("select kvc_record_product.货单号, ") + kOrderColumns +
           QStringLiteral(
               " from kvc_record_product, kvc_record_client where "
               "kvc_record_product.客户号=kvc_record_client.客户号 and kvc_record_product.激活=1 and "
               "kvc_record_product.结讫=1 order by kvc_record_product.货单号 desc");
}

QString flowsOf(const QString& order, const QString& where)
{
    return QStringLiteral(
               "select kvc_record_procedure.流水号, kvc_record_procedure.数量, kvc_record_procedure.上一站, "
               "kvc_record_procedure.工作站, kvc_record_procedure.生成时间, kvc_record_procedure.历史 from "
               "kvc_record_procedure where kvc_record_procedure.货单号=%1 and %2 order by "
               "kvc_record_procedure.流水号")
        .arg(order, where);
}

const QString kQ3 = QStringLiteral("kvc_record_procedure.工作站<>'发送' and kvc_record_procedure.结讫=0");
const QString kQ4 = QStringLiteral(
    "kvc_record_procedure.上一站<>'发送' and kvc_record_procedure.工作站='发送' and "
    "kvc_record_procedure.结讫=0");
const QString kQ5 = QStringLiteral(
    "kvc_record_procedure.上一站='发送' and kvc_record_procedure.工作站='发送' and "
    "kvc_record_procedure.结讫=0");

void q6(Literal& l, const QString& order)
{
    l.select(
        QStringLiteral("select kvc_record_ship.序列号, kvc_record_ship.原版数量, kvc_record_ship.洗版数量, "
                       "kvc_record_ship.损耗数量, kvc_record_ship.货物数量, kvc_record_ship.发送时间, "
                       "kvc_record_ship.发货人 from kvc_record_ship where kvc_record_ship.货单号=%1")
            .arg(order));
}

void q7(Literal& l, const QString& order)
{
    l.select(QStringLiteral(
                 "select kvc_record_product.原版数量, kvc_record_product.洗版数量, "
                 "kvc_record_product.损耗数量, kvc_record_product.货物数量 from kvc_record_product where "
                 "kvc_record_product.货单号=%1")
                 .arg(order));
}

void deskOpen(Literal& l, const Values&)
{
    for (const char* who : {"运输", "调度"})
        l.select(QStringLiteral(
                     "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.身份='%1'")
                     .arg(QString::fromUtf8(who)));
    l.select(q1());
}

void deskOrder(Literal& l, const Values& values)
{
    const QString order = v(values, "order");
    q6(l, order);
    l.select(flowsOf(order, kQ3));
    l.select(flowsOf(order, kQ4));
    l.select(flowsOf(order, kQ5));
    q7(l, order);
}

void deskConfirm(Literal& l, const Values&)
{
    l.exec(QStringLiteral("start transaction"));
    quint64 order = 0;
    const quint64 flow =
        fixture::flow(l, fixture::order(l, 10, &order), QStringLiteral("洗水"), QStringLiteral("发送"), 10);
    const QString now = GetTimeText();
    const QString o = QString::number(order);
    l.startClock();
    const Rows f =
        l.select(QStringLiteral("select kvc_record_procedure.客户号, kvc_record_procedure.货物等级, "
                                "kvc_record_procedure.数量, kvc_record_procedure.历史 from "
                                "kvc_record_procedure where kvc_record_procedure.流水号=%1")
                     .arg(flow));
    l.exec(QStringLiteral(
               "update kvc_record_procedure set 工序='确认', 结讫=1, 结讫时间='%1', 经办人='kvbench' where "
               "流水号=%2")
               .arg(now)
               .arg(flow));
    l.exec(QStringLiteral(
               "insert into kvc_record_procedure (货单号, 客户号, 货物等级, 上一号, 上一站, 数量, 生成时间, "
               "工作站, 历史) value (%1, %2, '%3', %4, '发送', %5, '%6', '发送', '%7')")
               .arg(o, f.value(0).value(0), f.value(0).value(1))
               .arg(flow)
               .arg(f.value(0).value(2), now, f.value(0).value(3) + QStringLiteral("-发送[确认]")));
    l.select(flowsOf(o, kQ4));
    l.select(flowsOf(o, kQ5));
    q7(l, o);
    l.stopClock();
    l.exec(QStringLiteral("rollback"));
}

void deskShip(Literal& l, const Values&)
{
    l.exec(QStringLiteral("start transaction"));
    quint64 order = 0;
    fixture::flow(l, fixture::order(l, 10, &order), QStringLiteral("发送"), QStringLiteral("发送"), 10);
    const QString now = GetTimeText();
    const QString o = QString::number(order);
    l.startClock();
    const QStringList p =
        l.select(QStringLiteral("select kvc_record_product.客户号, kvc_record_product.款号, "
                                "kvc_record_product.货物性别, kvc_record_product.货物分类, "
                                "kvc_record_product.货物款式, kvc_record_product.洗涤方法, "
                                "kvc_record_product.货物单价, kvc_record_product.货物性质 from "
                                "kvc_record_product where kvc_record_product.货单号=%1")
                     .arg(o))
            .value(0);
    l.exec(QStringLiteral(
               "insert into kvc_record_ship (货单号, 客户号, 开票人, 发货人, 发送时间, 款号, 品名, 洗涤方法, "
               "货物数量, 损耗数量, 原版数量, 洗版数量, 货物单价, 经办人) value (%1, %2, '开票', '发货', "
               "'%3', %4, '%5', '%6', 10, 0, 0, 0, %7, 'kvbench')")
               .arg(o, p.value(0), now, p.value(1), p.value(2) + p.value(3) + p.value(4), p.value(5))
               .arg(p.value(6).toDouble(), 0, 'f', 2));
    q6(l, o);
    q7(l, o);
    l.select(
        QStringLiteral("select * from kvc_record_procedure where 货单号=%1 and 工作站<>'发送' and 结讫=0")
            .arg(o));
    l.exec(QStringLiteral("update kvc_record_product set 结讫=1 where 货单号=%1").arg(o));
    l.exec(QStringLiteral(
               "update kvc_record_procedure set 结讫=1 where 货单号=%1 and 上一站='发送' and 工作站='发送' "
               "and 结讫=0")
               .arg(o));
    l.select(q1());
    l.select(q2());
    l.stopClock();
    l.exec(QStringLiteral("rollback"));
}

// ---- inquiries, losses, raw materials, management ------------------------------------------

void shipmentsMonth(Literal& l, const Values& values)
{
    const QString where =
        QStringLiteral(
            " and kvc_record_ship.发送时间>'%1 00:00:00' and kvc_record_ship.发送时间<'%2 00:00:00'")
            .arg(v(values, "from"), v(values, "to"));
    l.select(
        QStringLiteral(
            "select kvc_record_ship.序列号, kvc_record_ship.货单号, kvc_record_client.名称, "
            "kvc_record_ship.开票人, "
            "kvc_record_ship.发货人, kvc_record_ship.发送时间, kvc_record_ship.款号, kvc_record_ship.品名, "
            "kvc_record_ship.洗涤方法, kvc_record_ship.货物数量, kvc_record_ship.损耗数量, "
            "kvc_record_ship.原版数量, "
            "kvc_record_ship.洗版数量, kvc_record_ship.货物单价, kvc_record_ship.经办人, "
            "kvc_record_ship.备注 from "
            "kvc_record_ship, kvc_record_client, kvc_record_product where "
            "kvc_record_ship.客户号=kvc_record_client.客户号 and "
            "kvc_record_ship.货单号=kvc_record_product.货单号") +
        where);
    l.select(
        QStringLiteral(
            "select kvc_record_ship.货物数量, kvc_record_ship.损耗数量, kvc_record_ship.原版数量, "
            "kvc_record_ship.洗版数量, kvc_record_ship.货物单价 from kvc_record_ship, "
            "kvc_record_client, kvc_record_product where kvc_record_ship.客户号=kvc_record_client.客户号 "
            "and kvc_record_ship.货单号=kvc_record_product.货单号") +
            where,
        -1);
}

QString period(const Values& values)
{
    return QStringLiteral("kvc_record_ship.发送时间>'%1 00:00:00' and kvc_record_ship.发送时间<'%2 00:00:00'")
        .arg(v(values, "from"), v(values, "to"));
}

void statisticsMonth(Literal& l, const Values& values)
{
    l.select(QStringLiteral(
                 "select distinct kvc_record_client.客户号, kvc_record_client.名称 from kvc_record_client, "
                 "kvc_record_ship where %1 and kvc_record_ship.客户号=kvc_record_client.客户号")
                 .arg(period(values)));
}

void statisticsCustomer(Literal& l, const Values& values)
{
    const QString c = v(values, "client");
    const QString of = QStringLiteral("kvc_record_ship.客户号=%1 and %2").arg(c, period(values));
    QStringList methods, prices;
    for (const QStringList& r : l.select(
             QStringLiteral("select distinct kvc_record_ship.洗涤方法 from kvc_record_ship where %1").arg(of),
             -1))
        if (r[0] != QStringLiteral("返工"))
            methods << r[0];
    for (const QStringList& r : l.select(
             QStringLiteral("select distinct kvc_record_ship.货物单价 from kvc_record_ship where %1").arg(of),
             -1))
        prices << r[0];
    QList<QPair<QString, QString>> lines;
    for (const QString& m : methods)
        for (const QString& p : prices) {
            int quantity = 0;
            for (const QStringList& r :
                 l.select(QStringLiteral("select kvc_record_ship.货物数量, kvc_record_ship.货物单价 "
                                         "from kvc_record_ship where %1 and "
                                         "kvc_record_ship.洗涤方法='%2'")
                              .arg(of, m),
                          -1))
                if (r[1] == p)
                    quantity += r[0].toInt();
            if (quantity > 0)
                lines.append({m, p});
        }
    for (const auto& line : lines)
        l.select(QStringLiteral(
                     "select kvc_record_ship.序列号, kvc_record_ship.发送时间, kvc_record_ship.货单号, "
                     "kvc_record_ship.品名, kvc_record_ship.货物数量, kvc_record_ship.货物单价, "
                     "kvc_record_ship.备注 from kvc_record_ship where %1 and kvc_record_ship.洗涤方法='%2'")
                     .arg(of, line.first),
                 -1);
}

const QString kLossColumns = QStringLiteral(
    "select kvc_record_quality.序列号, kvc_record_client.名称, kvc_record_quality.日期, "
    "kvc_record_quality.数量, "
    "kvc_record_quality.原因, kvc_record_quality.责任人, kvc_record_quality.记录人, kvc_record_quality.备注, "
    "kvc_record_quality.处理 from kvc_record_quality, kvc_record_client where "
    "kvc_record_quality.客户号=kvc_record_client.客户号 ");

void qualityOpen(Literal& l, const Values&)
{
    l.select(QStringLiteral("select * from kvc_record_quality limit 1"));
    for (int list = 0; list < 2; ++list)
        l.select(kLossColumns +
                 QStringLiteral("and kvc_record_quality.处理=0 order by kvc_record_quality.序列号"));
    l.select(
        QStringLiteral("select kvc_record_client.客户号, kvc_record_client.名称, kvc_record_client.说明 from "
                       "kvc_record_client where 激活=1"));
    l.select(QStringLiteral(
        "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.身份='调度' and "
        "kvc_record_member.激活=1"));
    l.select(QStringLiteral(
        "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.激活=1"));
}

void qualityAll(Literal& l, const Values&)
{
    for (int list = 0; list < 2; ++list)
        l.select(kLossColumns + QStringLiteral("order by kvc_record_quality.序列号"));
}

void rawIssues(Literal& l, const Values&)
{
    // The material list as the screen holds it since its opening (not timed).
    l.stopClock();
    const Rows materials = l.select(QStringLiteral("select 名称 from kvc_record_raw order by 名称"));
    l.startClock();
    const QString t = QStringLiteral("kvc_record_raw_out");
    l.select(QStringLiteral(
        "select kvc_record_raw_out.序列号, kvc_record_raw_out.名称, kvc_record_client.名称, "
        "kvc_record_raw_out.数量, kvc_record_raw_out.时间, kvc_record_raw_out.班组, "
        "kvc_record_member.姓名, kvc_record_raw_out.经办人 from kvc_record_raw_out, "
        "kvc_record_client, kvc_record_member where kvc_record_raw_out.客户号=kvc_record_client.客户号 "
        "and kvc_record_raw_out.工号=kvc_record_member.工号 order by 序列号"));
    for (const QStringList& r :
         l.select(QStringLiteral("select distinct 名称 from %1 order by 序列号").arg(t), -1))
        l.select(QStringLiteral("select sum(数量) from %1 where 名称='%2' order by 序列号").arg(t, r[0]));
    for (const QStringList& r :
         l.select(QStringLiteral("select distinct 客户号 from %1 order by 序列号").arg(t), -1)) {
        l.select(QStringLiteral("select 名称 from kvc_record_client where 客户号=%1").arg(r[0]));
        for (const QStringList& m : materials)
            l.select(QStringLiteral("select sum(数量) from %1 where 客户号=%2 and 名称='%3' order by 序列号")
                         .arg(t, r[0], m[0]));
    }
    for (const QStringList& r :
         l.select(QStringLiteral("select distinct 班组 from %1 order by 序列号").arg(t), -1))
        for (const QStringList& m : materials)
            l.select(QStringLiteral("select sum(数量) from %1 where 班组='%2' and 名称='%3' order by 序列号")
                         .arg(t, r[0], m[0]));
}

void manageOpen(Literal& l, const Values&)
{
    const char* const statements[] = {
        "select kvc_attrib_technology.名称, kvc_attrib_technology.类型, kvc_attrib_technology.价格 from "
        "kvc_attrib_technology order by kvc_attrib_technology.名称",
        "select kvc_attrib_technology_type.名称 from kvc_attrib_technology_type",
        "select kvc_attrib_process.名称, kvc_attrib_process.工作站, kvc_attrib_process.工价 from "
        "kvc_attrib_process "
        "order by kvc_attrib_process.名称",
        "select kvc_attrib_station.名称 from kvc_attrib_station",
        "select kvc_record_member.工号, kvc_record_member.姓名, kvc_record_member.身份, "
        "kvc_record_member.班组, "
        "kvc_record_member.激活 from kvc_record_member where kvc_record_member.激活=1 order by "
        "kvc_record_member.工号",
        "select kvc_attrib_identity.身份 from kvc_attrib_identity",
        "select kvc_attrib_group.班组名称 from kvc_attrib_group",
        "select kvc_record_client.客户号, kvc_record_client.名称, kvc_record_client.说明, "
        "kvc_record_client.激活 from "
        "kvc_record_client where kvc_record_client.激活=1 order by kvc_record_client.客户号",
        "select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_product.客户号, "
        "kvc_record_product.货物数量, kvc_record_product.接货人, kvc_record_product.接货时间, "
        "kvc_record_product.货物性质, kvc_record_product.货物分类, kvc_record_product.货物款式, "
        "kvc_record_product.货物性别, kvc_record_product.洗涤方法, kvc_record_product.货物单价, "
        "kvc_record_product.损耗单价, kvc_record_product.原版数量, kvc_record_product.洗版数量, "
        "kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, "
        "kvc_record_product.激活, "
        "kvc_record_product.激活时间, kvc_record_product.结讫, kvc_record_product.结讫时间 from "
        "kvc_record_product "
        "where kvc_record_product.激活=1 order by kvc_record_product.货单号 desc",
        "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.身份='运输'",
        "select kvc_attrib_nature.货物属性 from kvc_attrib_nature",
        "select kvc_attrib_type.货物类型 from kvc_attrib_type",
        "select kvc_attrib_kind.货物款式 from kvc_attrib_kind",
        "select kvc_attrib_sex.货物性别 from kvc_attrib_sex",
        "select kvc_attrib_priority.货物等级 from kvc_attrib_priority",
        "select kvc_record_quality.序列号, kvc_record_quality.客户号, kvc_record_quality.日期, "
        "kvc_record_quality.数量, "
        "kvc_record_quality.原因, kvc_record_quality.责任人, kvc_record_quality.记录人, "
        "kvc_record_quality.备注 from "
        "kvc_record_quality order by kvc_record_quality.序列号",
        "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.激活=1",
        "select kvc_record_member.姓名 from kvc_record_member where kvc_record_member.激活=1 and "
        "kvc_record_member.身份='调度'",
        "select kvc_attrib_mod.内容 from kvc_attrib_mod where kvc_attrib_mod.名称='损耗单价'",
        "select kvc_attrib_mod.内容 from kvc_attrib_mod where kvc_attrib_mod.名称='特权密码'",
    };
    for (const char* s : statements)
        l.select(QString::fromUtf8(s));
}

// ---- order inquiry -----------------------------------------------------------------------

const QString kOrderSelect = QStringLiteral(
    "select kvc_record_product.货单号, kvc_record_product.款号, kvc_record_client.名称, "
    "kvc_record_product.货物数量, "
    "kvc_record_product.接货人, kvc_record_product.接货时间, kvc_record_product.货物性质, "
    "kvc_record_product.货物分类, "
    "kvc_record_product.货物款式, \t\t\t\t  kvc_record_product.货物性别, kvc_record_product.洗涤方法, "
    "kvc_record_product.货物单价, kvc_record_product.损耗单价, kvc_record_product.原版数量, "
    "kvc_record_product.洗版数量, "
    "kvc_record_product.损耗数量, kvc_record_product.货物等级, kvc_record_product.关联, \t\t\t\t  "
    "kvc_record_product.激活, kvc_record_product.激活时间, kvc_record_product.结讫, "
    "kvc_record_product.结讫时间, "
    "kvc_record_product.经办人 from kvc_record_product, kvc_record_client where "
    "kvc_record_product.客户号=kvc_record_client.客户号");
const QString kOrderTotals = QStringLiteral(
    "select kvc_record_product.货物数量, kvc_record_product.原版数量, kvc_record_product.洗版数量 from "
    "kvc_record_product, kvc_record_client where kvc_record_product.客户号=kvc_record_client.客户号");

void orderQuery(Literal& l, const QString& conditions)
{
    const QString tail = conditions.isEmpty() ? QString() : QStringLiteral(" and ") + conditions;
    l.select(kOrderSelect + tail);
    l.select(kOrderTotals + tail, -1);
}

void ordersCondition(Literal& l, const Values& values)
{
    orderQuery(
        l, QStringLiteral("kvc_record_product.客户号=%1 and kvc_record_product.接货时间>'%2 00:00:00' and "
                          "kvc_record_product.接货时间<'%3 00:00:00'")
               .arg(v(values, "client"), v(values, "from"), v(values, "to")));
}

void ordersClick(Literal& l, const Values& values)
{
    l.select(
        QStringLiteral(
            "select kvc_record_procedure.流水号, kvc_record_procedure.上一站, kvc_record_procedure.工作站, "
            "kvc_record_procedure.数量 from kvc_record_procedure where kvc_record_procedure.货单号=%1 and "
            "kvc_record_procedure.结讫=0")
            .arg(v(values, "order")));
    l.select(
        QStringLiteral("select kvc_record_ship.序列号, kvc_record_ship.货物数量, kvc_record_ship.发货人, "
                       "kvc_record_ship.发送时间 from kvc_record_ship where kvc_record_ship.货单号=%1")
            .arg(v(values, "order")));
}

// The chain of flows walked back to the intake, at most 100 finished steps.
void ordersFlow(Literal& l, const Values& values)
{
    QString current = v(values, "flow");
    int finished = 0;
    for (bool end = false; !end;) {
        const Rows r =
            l.select(QStringLiteral("select kvc_record_procedure.上一号, kvc_record_procedure.工序, "
                                    "kvc_record_procedure.历史, kvc_record_procedure.结讫 from "
                                    "kvc_record_procedure where kvc_record_procedure.流水号=%1")
                         .arg(current));
        if (r.isEmpty())
            break;
        if (r[0][0].isNull())
            end = true;
        else
            current = r[0][0];
        if (r[0][3] == QStringLiteral("1") && ++finished >= 100)
            break;
    }
}

// ---- piece-work ----------------------------------------------------------------------------

void salaryInquiry(Literal& l, const Values&)
{
    const QString from = QStringLiteral(
        "from kvc_record_mission, kvc_record_member where kvc_record_mission.结讫=0 and "
        "kvc_record_mission.工号=kvc_record_member.工号");
    l.select(QStringLiteral(
                 "select kvc_record_mission.任务号, kvc_record_mission.货单号, kvc_record_mission.流水号, "
                 "kvc_record_member.姓名, kvc_record_mission.完成时间, kvc_record_mission.完成数量, "
                 "kvc_record_mission.损耗数量, kvc_record_mission.工价, kvc_record_mission.损耗单价, "
                 "kvc_record_mission.共计, kvc_record_mission.结讫, kvc_record_mission.经办人 ") +
             from + QStringLiteral(" order by kvc_record_mission.任务号"));
    l.select(QStringLiteral(
                 "select kvc_record_mission.完成数量, kvc_record_mission.工价, kvc_record_mission.损耗数量, "
                 "kvc_record_mission.损耗单价 ") +
                 from,
             -1);
}

void salarySelect(Literal& l, const Values& values)
{
    const Rows employees =
        l.select(QStringLiteral("select kvc_record_member.工号, kvc_record_member.姓名, "
                                "kvc_record_member.身份, kvc_record_member.班组, "
                                "kvc_record_member.累计 from kvc_record_member where "
                                "kvc_record_member.激活=1 order by kvc_record_member.工号"));
    for (const QStringList& e : employees)
        l.select(
            QStringLiteral(
                "select kvc_record_mission.共计 from kvc_record_mission where kvc_record_mission.工号=%1 "
                "and kvc_record_mission.完成时间>'%2' and kvc_record_mission.完成时间<'%3' and "
                "kvc_record_mission.结讫=0")
                .arg(e[0], v(values, "from"), v(values, "to")),
            -1);
}

void salarySettle(Literal& l, const Values& values)
{
    l.exec(QStringLiteral("start transaction"));
    const quint64 member = fixture::member(l, 20);
    l.startClock();
    l.exec(QStringLiteral("update kvc_record_member set 累计=累计+%1 where 工号=%2")
               .arg(QStringLiteral("60.000000"))
               .arg(member));
    l.exec(QStringLiteral(
               "update kvc_record_mission set 结讫=1 where 工号=%1 and 完成时间>'%2' and 完成时间<'%3' and "
               "结讫=0")
               .arg(member)
               .arg(v(values, "from"), v(values, "to")));
    l.stopClock();
    l.exec(QStringLiteral("rollback"));
}

const bool registered = [] {
    QHash<QString, LiteralBody>& all = allLiterals();
    all.insert(QStringLiteral("main.open"), [](Literal& l, const Values&) { dashboard(l); });
    all.insert(QStringLiteral("main.refresh"), [](Literal& l, const Values&) { dashboard(l); });
    all.insert(QStringLiteral("station.open.washing"), stationOpen);
    all.insert(QStringLiteral("station.open.quiet"), stationOpen);
    all.insert(QStringLiteral("station.flow"), [](Literal& l, const Values& values) {
        l.select(QStringLiteral("select kvc_record_procedure.货单号 from kvc_record_procedure where "
                                "kvc_record_procedure.流水号=%1")
                     .arg(v(values, "flow")));
        details(l, v(values, "flow"));
    });
    all.insert(QStringLiteral("station.process"), acceptWork);
    all.insert(QStringLiteral("station.handover"), handover);
    all.insert(QStringLiteral("intake.open"), intakeOpen);
    all.insert(QStringLiteral("shipper.open"), deskOpen);
    all.insert(QStringLiteral("shipper.order"), deskOrder);
    all.insert(QStringLiteral("shipper.shipped"), [](Literal& l, const Values&) { l.select(q2()); });
    all.insert(QStringLiteral("shipper.next"),
               [](Literal& l, const Values&) { l.select(q2() + QStringLiteral(" limit 1024, 1024")); });
    all.insert(QStringLiteral("shipper.confirm"), deskConfirm);
    all.insert(QStringLiteral("shipper.ship"), deskShip);
    all.insert(QStringLiteral("shipments.month"), shipmentsMonth);
    all.insert(QStringLiteral("statistics.month"), statisticsMonth);
    all.insert(QStringLiteral("statistics.customer"), statisticsCustomer);
    all.insert(QStringLiteral("quality.open"), qualityOpen);
    all.insert(QStringLiteral("quality.all"), qualityAll);
    all.insert(QStringLiteral("raw.issues"), rawIssues);
    all.insert(QStringLiteral("manage.open"), manageOpen);
    all.insert(QStringLiteral("orders.condition"), ordersCondition);
    all.insert(QStringLiteral("orders.all"), [](Literal& l, const Values&) { orderQuery(l, QString()); });
    all.insert(QStringLiteral("orders.next"), [](Literal& l, const Values&) {
        l.select(kOrderSelect + QStringLiteral(" limit 1024, 1024"));
    });
    all.insert(QStringLiteral("orders.order"), ordersClick);
    all.insert(QStringLiteral("orders.flow"), ordersFlow);
    all.insert(QStringLiteral("salary.inquiry"), salaryInquiry);
    all.insert(QStringLiteral("salary.select"), salarySelect);
    all.insert(QStringLiteral("salary.settle"), salarySettle);
    return true;
}();

}  // namespace
