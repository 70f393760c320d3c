// The demo database of a first start (kvhistory --demo on sql/demo.sql): work waits at
// every desk, and the rows agree with each other the way the desks would have left them.
#include "auth/Passwords.h"
#include "support/DbTest.h"
#include "support/HistoryTool.h"

namespace {

struct Rule {
    const char* what;
    const char* fromWhere;  // the rows that break the rule
};

// Pieces that left a closed flow for its successor and its remainder.
#define KV_ONWARD                                                                                                   \
    "(select 上一号, sum(数量) n, sum(数量*(派生=0)) onward from kvc_record_procedure where 上一号 is " \
    "not null group by 上一号)"
// A confirmed flow at shipping; it ends with its order's shipment, without a successor.
#define KV_CONFIRMED "(f.上一站='发送' and f.工作站='发送')"

const Rule kFlowRules[] = {
    {"an open order has open flows",
     "from kvc_record_product p where p.激活 in (1,2) and p.结讫=0 and not exists "
     "(select 1 from kvc_record_procedure f where f.货单号=p.货单号 and f.结讫=0)"},
    {"an order waiting for activation has no flow",
     "from kvc_record_product p join kvc_record_procedure f on f.货单号=p.货单号 where p.激活=0"},
    {"a closed or cancelled order has no open flow",
     "from kvc_record_product p join kvc_record_procedure f on f.货单号=p.货单号 where p.结讫<>0 and "
     "f.结讫=0"},
    {"a closed flow's pieces went on, stayed or were lost at a station",
     "from kvc_record_procedure f left join " KV_ONWARD
     " c on c.上一号=f.流水号 where f.结讫<>0 and not " KV_CONFIRMED
     " and (c.n is null or c.n>f.数量 or (c.n<f.数量 and f.工作站 in ('接收','发送')))"},
    {"a confirmed flow has no successor",
     "from kvc_record_procedure f join kvc_record_procedure c on c.上一号=f.流水号 where " KV_CONFIRMED},
    {"the losses along an order add up to its 损耗数量",
     "from kvc_record_product p left join (select f.货单号, sum(f.数量-coalesce(c.n,0)) lost from "
     "kvc_record_procedure f left join " KV_ONWARD
     " c on c.上一号=f.流水号 where f.结讫<>0 and not " KV_CONFIRMED
     " group by f.货单号) l on l.货单号=p.货单号 where coalesce(l.lost,0)<>p.损耗数量"},
    {"an open order's pieces are in its open flows; what was shipped came from its confirmed ones",
     "from kvc_record_product p left join (select 货单号, sum(数量) n, sum(数量*(上一站='发送' and "
     "工作站='发送')) confirmed from kvc_record_procedure where 结讫=0 group by 货单号) o on "
     "o.货单号=p.货单号 left join (select 货单号, sum(货物数量) g from kvc_record_ship group by 货单号) s "
     "on s.货单号=p.货单号 where p.激活 in (1,2) and p.结讫=0 and (coalesce(o.n,0)<>p.货物数量-p.损耗数量 "
     "or coalesce(s.g,0)>coalesce(o.confirmed,0))"},
    {"a closed order shipped its confirmed pieces and its losses",
     "from kvc_record_product p left join (select 货单号, sum(数量) n from kvc_record_procedure f "
     "where " KV_CONFIRMED
     " group by 货单号) c on c.货单号=p.货单号 left join (select 货单号, sum(货物数量) g, "
     "sum(损耗数量) l from kvc_record_ship group by 货单号) s on s.货单号=p.货单号 where p.结讫=1 and "
     "(s.g is null or s.g<>c.n or s.g+s.l<>p.货物数量 or s.l<>p.损耗数量)"},
};

const Rule kPayRules[] = {
    {"a piece-work row belongs to a closed flow of its order, within its pieces",
     "from kvc_record_mission m left join kvc_record_procedure f on f.流水号=m.流水号 where f.流水号 is "
     "null or f.货单号<>m.货单号 or f.结讫<>1 or m.完成时间<>f.结讫时间 or m.完成数量<0 or "
     "m.完成数量+m.损耗数量>f.数量"},
    {"single-mode rows hold the pieces passed on and the pieces lost",
     "from kvc_record_procedure f join (select 流水号, sum(完成数量) done, sum(损耗数量) lost from "
     "kvc_record_mission group by 流水号 having sum(完成数量)+sum(损耗数量)>0) m on m.流水号=f.流水号 "
     "join " KV_ONWARD " c on c.上一号=f.流水号 where m.done<>c.onward or m.lost<>f.数量-c.n"},
    {"a salary row is the settled work of its employee and period",
     "from kvc_record_salary s where abs(s.金额-(select coalesce(sum(m.共计),0) from kvc_record_mission m "
     "where m.工号=s.工号 and m.结讫=1 and m.完成时间>s.起始日期 and m.完成时间<s.截止日期))>0.01"},
    {"settled work lies in a salary period, unsettled work outside",
     "from kvc_record_mission m where m.结讫<>(exists (select 1 from kvc_record_salary s where "
     "s.工号=m.工号 and m.完成时间>s.起始日期 and m.完成时间<s.截止日期))"},
    {"an employee's 累计 is the sum of his salary rows",
     "from kvc_record_member m left join (select 工号, sum(金额) a from kvc_record_salary group by 工号) s "
     "on s.工号=m.工号 where abs(m.累计-coalesce(s.a,0))>0.01"},
};

const Rule kStoreRules[] = {
    {"the stock rows are the purchases less the issues",
     "from kvc_record_raw r left join (select 名称, sum(数量) q, sum(金额) a from kvc_record_raw_in group "
     "by 名称) i on i.名称=r.名称 left join (select 名称, sum(数量) q from kvc_record_raw_out group by 名称) "
     "o on o.名称=r.名称 where abs(r.累计数量-coalesce(i.q,0))>0.001 or abs(r.累计金额-coalesce(i.a,0))>0.01 "
     "or abs(r.数量-coalesce(i.q,0)+coalesce(o.q,0))>0.001"},
    {"no issue takes more than the stock of its moment",
     "from (select sum(d) over (partition by 名称 order by 时间, k, 序列号) stock from (select 名称, 时间, 0 "
     "k, 序列号, 数量 d from kvc_record_raw_in union all select 名称, 时间, 1, 序列号, -数量 from "
     "kvc_record_raw_out) u) x where x.stock<-0.001"},
    {"a purchase names a supplier and a buyer; its amount is quantity times price",
     "from kvc_record_raw_in i left join kvc_record_supplier s on s.供应商号=i.供应商号 left join "
     "kvc_record_member m on m.工号=i.工号 where s.供应商号 is null or m.工号 is null or i.数量<=0 or "
     "abs(i.金额-i.数量*i.单价)>0.01"},
    {"an issue names a customer and a member of the receiving team",
     "from kvc_record_raw_out o left join kvc_record_client c on c.客户号=o.客户号 left join "
     "kvc_record_member m on m.工号=o.工号 where c.客户号 is null or m.工号 is null or m.班组<>o.班组 or "
     "o.数量<=0"},
    {"a registered loss names a customer, a member and a dispatcher",
     "from kvc_record_quality q left join kvc_record_client c on c.客户号=q.客户号 left join "
     "kvc_record_member r on r.姓名=q.记录人 and r.身份='调度' where c.客户号 is null or r.工号 is null or "
     "q.数量<1 or q.处理 not in (0,1) or q.责任人 not in (select 姓名 from kvc_record_member)"},
    {"a customer's registered losses are no more than the pieces lost on his orders",
     "from (select 客户号, sum(数量) n from kvc_record_quality group by 客户号) q left join (select 客户号, "
     "sum(损耗数量) l from kvc_record_product group by 客户号) p on p.客户号=q.客户号 where "
     "q.n>coalesce(p.l,0)"},
};

// Work waiting and done, as a newcomer signing in on the demo finds it (the clock stands at
// 2026-12-08 09:30).
const Rule kLively[] = {
    {"waiting at 洗水", "from kvc_record_procedure where 结讫=0 and 工作站='洗水'"},
    {"waiting at 喷砂", "from kvc_record_procedure where 结讫=0 and 工作站='喷砂'"},
    {"waiting at 树脂", "from kvc_record_procedure where 结讫=0 and 工作站='树脂'"},
    {"waiting at 手工", "from kvc_record_procedure where 结讫=0 and 工作站='手工'"},
    {"waiting at 夹烫", "from kvc_record_procedure where 结讫=0 and 工作站='夹烫'"},
    {"waiting at 手擦", "from kvc_record_procedure where 结讫=0 and 工作站='手擦'"},
    {"waiting at 马骝", "from kvc_record_procedure where 结讫=0 and 工作站='马骝'"},
    {"sent back to intake", "from kvc_record_procedure where 结讫=0 and 工作站='接收'"},
    {"waiting for confirmation",
     "from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站<>'发送'"},
    {"confirmed, waiting for shipment",
     "from kvc_record_procedure where 结讫=0 and 工作站='发送' and 上一站='发送'"},
    {"orders waiting for activation", "from kvc_record_product where 激活=0 and 结讫=0"},
    {"orders closed and shipped", "from kvc_record_product where 结讫=1"},
    {"flows finished today", "from kvc_record_procedure where 结讫时间 like '2026-12-08%'"},
    {"unsettled piece-work", "from kvc_record_mission where 结讫=0"},
    {"settled piece-work", "from kvc_record_mission where 结讫=1"},
    {"losses handled", "from kvc_record_quality where 处理=1"},
    {"losses open", "from kvc_record_quality where 处理=0"},
    {"purchases", "from kvc_record_raw_in"},
    {"issues", "from kvc_record_raw_out"},
    {"admin", "from kvc_record_user where 账号='admin' and 权限='管理员'"},
};

// A database of sql/demo.sql with the demo, or a short history of the large factory, generated
// up to the fixed clock.
class Generated : public kvtest::DemoDbTest {
protected:
    void generate(bool demo)
    {
        QStringList args = {QStringLiteral("--now"), QStringLiteral("2026-12-08 09:30:00"), db().name()};
        if (demo)
            args.prepend(QStringLiteral("--demo"));
        else
            args.append(QStringLiteral("0.1"));
        const kvtest::ToolRun r = kvtest::runHistoryTool(args);
        generated_ = r.exitCode == 0;
        EXPECT_TRUE(generated_) << r.output.toStdString();
    }

    template <std::size_t N>
    void expectNone(const Rule (&rules)[N])
    {
        for (const Rule& r : rules)
            EXPECT_EQ(db().count(QString::fromUtf8(r.fromWhere)), 0) << r.what;
    }

    bool generated_ = false;
};

class DemoDataTest : public Generated {
protected:
    void SetUp() override
    {
        Generated::SetUp();
        generate(true);
    }
};

class GeneratedTest : public Generated, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        Generated::SetUp();
        generate(GetParam());
    }
};

}  // namespace

TEST_P(GeneratedTest, QuantitiesAddUpAlongEachOrdersFlows)
{
    if (generated_)
        expectNone(kFlowRules);
}

TEST_P(GeneratedTest, PayRowsMatchTheirFlowsAndSettlements)
{
    if (generated_)
        expectNone(kPayRules);
}

TEST_P(GeneratedTest, StockAndLossesAgreeWithTheirRows)
{
    if (generated_)
        expectNone(kStoreRules);
}

INSTANTIATE_TEST_SUITE_P(DemoAndHistory, GeneratedTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Demo" : "History");
                         });

TEST_F(DemoDataTest, ANewcomerFindsWorkAtEveryDesk)
{
    if (!generated_)
        return;
    for (const Rule& r : kLively)
        EXPECT_GT(db().count(QString::fromUtf8(r.fromWhere)), 0) << r.what;
    // The passwords of README, kept as hashes: admin/admin, the 14 demo accounts' 123456, the
    // privileged password 8888.
    int demoAccounts = 0;
    for (const QStringList& u : db().rows(QStringLiteral("select 账号, 密码 from kvc_record_user"))) {
        EXPECT_TRUE(passwords::isHash(u[1])) << u[0].toStdString();
        demoAccounts += passwords::matches(u[1], QStringLiteral("123456")) ? 1 : 0;
        if (u[0] == QLatin1String("admin")) {
            EXPECT_TRUE(passwords::matches(u[1], QStringLiteral("admin")));
        }
    }
    EXPECT_EQ(demoAccounts, 14);
    EXPECT_TRUE(passwords::matches(
        db().scalar(QStringLiteral("select 内容 from kvc_attrib_mod where 名称='特权密码'")),
        QStringLiteral("8888")));
    // An employee of every identity a member can have.
    EXPECT_EQ(
        db().count(QStringLiteral("from kvc_attrib_identity i where i.身份 not in ('管理员', '游客') and "
                                  "not exists (select 1 from kvc_record_member m where m.身份=i.身份)")),
        0);
    // Nothing after the moment the demo was made.
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_procedure where 生成时间>'2026-12-08 09:30:00' or "
                                        "结讫时间>'2026-12-08 09:30:00'")),
              0);
}
