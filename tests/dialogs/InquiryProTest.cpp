// The order inquiry: conditions joined in their order, the paged result with its totals, the
// technology condition, the clicked order's flows and the chain of steps behind a flow.
#include "db/mySQLTool.h"
#include "dialogs/inquiry/Dlg_InquiryPro.h"
#include "dialogs/inquiry/InquiryProQueries.h"
#include "dialogs/inquiry/OrderConditions.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>
#include <memory>

using kvtest::column;

namespace {

const QString kError = QStringLiteral("错误");

class InquiryPro : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    InquiryPro() { signInAs(QStringLiteral("调度")); }
    void SetUp() override
    {
        DemoDbTest::SetUp();
        // The statements go to the log in the working directory: one of this test's own.
        previousDir_ = QDir::currentPath();
        ASSERT_TRUE(logDir_.isValid());
        QDir::setCurrent(logDir_.path());
    }
    void TearDown() override
    {
        dlg_.reset();
        QDir::setCurrent(previousDir_);
        DemoDbTest::TearDown();
    }

    struct Order {
        int client = 2;
        QString method = QStringLiteral("[石磨]");
        QString received = QStringLiteral("2026-11-01 08:00:00");
        int closed = 0;
        int goods = 100;
        int original = 1;
        int washed = 2;
        QString receiver = QStringLiteral("黄永发");
        QString nature = QStringLiteral("新货");
    };
    quint64 addOrder(const Order& o)
    {
        // One pass of arg(): a '%' in the method stays as it is.
        db().exec(
            QStringLiteral("insert into kvc_record_product (款号, 客户号, 货物数量, 接货人, 接货时间, "
                           "货物性质, 货物分类, 货物款式, 洗涤方法, 原版数量, 洗版数量, 激活, 激活时间, "
                           "结讫) values (7001, %1, %2, '%3', '%4', '%5', '牛仔裤', '直筒', '%6', %7, "
                           "%8, 1, '%4', %9)")
                .arg(QString::number(o.client), QString::number(o.goods), o.receiver, o.received, o.nature,
                     o.method, QString::number(o.original), QString::number(o.washed),
                     QString::number(o.closed)));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }

    Dlg_InquiryPro& open() { return openScreen(dlg_); }
    KvGrid* orders() { return grid("ordersList"); }
    QString label() { return child<QLabel>("ordersLabel")->text(); }
    QStringList totals()
    {
        KvGrid* t = grid("totalsList");
        return t->GetItemCount() == 1 ? t->rows().rowCells(0) : QStringList();
    }
    QStringList log()
    {
        QFile f(QStringLiteral("测试日志.txt"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    void tick(const char* name, bool on = true) { child<QCheckBox>(name)->setChecked(on); }
    void selectRow(const char* list, const QString& first)
    {
        KvGrid* g = grid(list);
        g->SelectRow(rowOf(g, 0, first));
    }
    TimeCondition* time(const char* name) { return child<TimeCondition>(name); }

    std::unique_ptr<Dlg_InquiryPro> dlg_;
    QTemporaryDir logDir_;
    QString previousDir_;
};

const char* const P = "kvc_record_product";

}  // namespace

TEST_F(InquiryPro, EachConditionAddsItsFragmentAndOnlyLaterOnesAreJoinedWithAnd)
{
    open();
    QComboBox* receiver = child<QComboBox>("receiverCombo");
    EXPECT_FALSE(receiver->isEnabled());
    EXPECT_EQ(receiver->currentIndex(), -1);
    EXPECT_FALSE(grid("customerList")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>("closedWithin")->isEnabled());

    struct Case {
        const char* name;
        std::function<void(InquiryPro&)> set;
        QString fragment;
    };
    const QString p = QString::fromLatin1(P);
    const Case cases[] = {
        {"customer",
         [](InquiryPro& t) {
             t.tick("customerSwitch");
             t.selectRow("customerList", QStringLiteral("3"));
         },
         p + QStringLiteral(".客户号=3")},
        {"technology",
         [](InquiryPro& t) {
             t.tick("technologySwitch");
             t.selectRow("technologyList", QStringLiteral("雪花洗"));
         },
         p + QStringLiteral(".洗涤方法 like '%[雪花洗]%' escape '!'")},
        {"receiver",
         [](InquiryPro& t) {
             t.tick("receiverSwitch");
             t.choose("receiverCombo", QStringLiteral("周大海"));
         },
         p + QStringLiteral(".接货人='周大海'")},
        {"nature",
         [](InquiryPro& t) {
             t.tick("natureSwitch");
             t.choose("natureCombo", QStringLiteral("返工"));
         },
         p + QStringLiteral(".货物性质='返工'")},
        {"type",
         [](InquiryPro& t) {
             t.tick("typeSwitch");
             t.choose("typeCombo", QStringLiteral("牛仔裤"));
         },
         p + QStringLiteral(".货物分类='牛仔裤'")},
        {"kind",
         [](InquiryPro& t) {
             t.tick("kindSwitch");
             t.choose("kindCombo", QStringLiteral("宽松"));
         },
         p + QStringLiteral(".货物款式='宽松'")},
        {"received after (first pair)",
         [](InquiryPro& t) {
             t.tick("receivedSwitch");
             t.time("received")
                 ->setMoment(TimeCondition::First, QDateTime(QDate(2026, 3, 5), QTime(7, 8, 9)));
             t.child<QRadioButton>("receivedAfter")->setChecked(true);
         },
         p + QStringLiteral(".接货时间>'2026-03-05 07:08:09'")},
        {"activated before (second pair)",
         [](InquiryPro& t) {
             t.tick("activatedSwitch");
             t.time("activated")->setMoment(TimeCondition::Second, QDateTime(QDate(2026, 4, 1), QTime(0, 0)));
             t.child<QRadioButton>("activatedBefore")->setChecked(true);
         },
         p + QStringLiteral(".激活时间<'2026-04-01 00:00:00'")},
        {"closed within",
         [](InquiryPro& t) {
             t.tick("closedSwitch");
             t.time("closed")->setMoment(TimeCondition::First, QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
             t.child<QRadioButton>("closedWithin")->setChecked(true);
         },
         p + QStringLiteral(".结讫时间>'2026-01-01 00:00:00' and ") + p +
             QStringLiteral(".结讫时间<'2026-12-08 09:30:00'")},
    };
    const QString openOnly = p + QStringLiteral(".结讫=0");
    const auto build = [&] {
        const std::optional<inquiryproq::Filter> f = child<OrderConditions>("orderConditions")->read();
        EXPECT_TRUE(f.has_value());
        const QString where = f ? inquiryproq::conditions(g_sqlTool, *f).text() : QString();
        return where.startsWith(QStringLiteral(" where ")) ? where.mid(7) : where;
    };

    // Alone, each stands first; the include switch unticked adds its fragment after it.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        c.set(*this);
        EXPECT_EQ(build(), c.fragment + QStringLiteral(" and ") + openOnly);
        tick("includeClosed");
        EXPECT_EQ(build(), c.fragment);
    }
    // Nothing ticked: open orders only, or the base statement unchanged.
    open();
    EXPECT_EQ(build(), openOnly);
    tick("includeClosed");
    EXPECT_EQ(build(), QString());

    // All of them: in the fixed order, whatever order they were ticked in.
    open();
    QStringList all;
    for (int i = std::size(cases) - 1; i >= 0; --i)
        cases[i].set(*this);
    for (const Case& c : cases)
        all << c.fragment;
    EXPECT_EQ(build(), all.join(QStringLiteral(" and ")) + QStringLiteral(" and ") + openOnly);
}

TEST_F(InquiryPro, ATickedConditionWithoutInputSaysSoAndRunsNothing)
{
    addOrder({});
    struct Case {
        const char* name;
        std::function<void(InquiryPro&)> set;
        const char* message;
    };
    const Case cases[] = {
        {"customer", [](InquiryPro& t) { t.tick("customerSwitch"); },
         "您设置了勾选客户，请选择一个客户作为查询条件"},
        {"technology", [](InquiryPro& t) { t.tick("technologySwitch"); },
         "您设置了勾选工艺，请选择一项工艺作为查询条件"},
        {"receiver", [](InquiryPro& t) { t.tick("receiverSwitch"); },
         "您设置了勾选接货人，请选择一名接货人作为查询条件"},
        {"nature", [](InquiryPro& t) { t.tick("natureSwitch"); },
         "您设置了勾选货物性质，请选择一项性质作为查询条件"},
        {"type", [](InquiryPro& t) { t.tick("typeSwitch"); },
         "您设置了勾选货物类型，请选择一项类型作为查询条件"},
        {"kind", [](InquiryPro& t) { t.tick("kindSwitch"); },
         "您设置了勾选货物款式，请选择一项款式作为查询条件"},
        {"received", [](InquiryPro& t) { t.tick("receivedSwitch"); },
         "您设置了勾选接货时间，请选择一项内容作为查询条件"},
        {"activated", [](InquiryPro& t) { t.tick("activatedSwitch"); },
         "您设置了勾选激活时间，请选择一项内容作为查询条件"},
        {"closed", [](InquiryPro& t) { t.tick("closedSwitch"); },
         "您设置了勾选结讫时间，请选择一项内容作为查询条件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        click("queryButton");
        ASSERT_EQ(orders()->GetItemCount(), 1);
        const QStringList before = log();
        const QString shown = label();
        boxes().clear();

        // A valid condition before it does not help: the build stops at the missing one.
        tick("customerSwitch");
        selectRow("customerList", QStringLiteral("2"));
        c.set(*this);
        if (std::string(c.name) == "customer")
            grid("customerList")->SelectRow(-1);
        click("queryButton");
        ASSERT_EQ(boxes().boxes.size(), 1);
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes().last().caption, kError);
        EXPECT_EQ(log(), before);
        EXPECT_EQ(orders()->GetItemCount(), 1);
        EXPECT_EQ(label(), shown);
    }
}

TEST_F(InquiryPro, PagesOf1024WithTotalsOverEveryMatch)
{
    // Orders 1 to 1025 closed, of customer 2, order 1 received a month before the others; the
    // last order open, of customer 3.
    db().exec(QStringLiteral(
        "insert into kvc_record_product (客户号, 货物数量, 原版数量, 洗版数量, 接货时间, 结讫) "
        "select 2, seq, seq mod 3, seq mod 5, if(seq=1, '2026-09-01 08:00:00', '2026-10-02 08:00:00'), 1 "
        "from seq_1_to_1025"));
    const quint64 last = addOrder({.client = 3, .goods = 7, .original = 0, .washed = 0});
    const auto customer2 = [](InquiryPro& t) {
        t.tick("customerSwitch");
        t.selectRow("customerList", QStringLiteral("2"));
        t.tick("includeClosed");
    };
    struct Case {
        const char* name;
        std::function<void(InquiryPro&)> set;
        const char* where;  // the matches, for their sums
        int matches;
        int firstKey;
        const char* first;
        const char* second;  // after 下一页; nullptr when there is no second page
    };
    const Case cases[] = {
        {"1025", customer2, "客户号=2", 1025, 1, "共查询到1025条，显示其中1-1024条",
         "共查询到1025条，显示其中1025-1025条"},
        {"1024",
         [&](InquiryPro& t) {
             customer2(t);
             t.tick("receivedSwitch");
             t.time("received")->setMoment(TimeCondition::First, QDateTime(QDate(2026, 10, 1), QTime(8, 0)));
             t.child<QRadioButton>("receivedAfter")->setChecked(true);
         },
         "客户号=2 and 货单号>1", 1024, 2, "共查询到1024条，显示其中1-1024条", nullptr},
        {"whole history", [](InquiryPro& t) { t.tick("includeClosed"); }, "1", 1026, 1,
         "共查询到1026条，显示其中1-1024条", "共查询到1026条，显示其中1025-1026条"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        c.set(*this);
        click("queryButton");
        const QString firstKey = QString::number(c.firstKey);
        EXPECT_EQ(orders()->GetItemText(0, 0), firstKey);
        EXPECT_EQ(label(), QString::fromUtf8(c.first));
        EXPECT_EQ(orders()->GetItemCount(), 1024);
        EXPECT_EQ(child<QPushButton>("ordersNext")->isVisible(), c.second != nullptr);
        EXPECT_FALSE(child<QPushButton>("ordersPrevious")->isVisible());
        // The sums of every match, not of the page.
        const QStringList sums =
            db().rows(QStringLiteral("select sum(货物数量), sum(原版数量), sum(洗版数量) "
                                     "from kvc_record_product where %1")
                          .arg(QString::fromUtf8(c.where)))
                .first();
        EXPECT_EQ(totals(), sums);
        if (!c.second)
            continue;

        click("ordersNext");
        EXPECT_EQ(label(), QString::fromUtf8(c.second));
        EXPECT_EQ(orders()->GetItemCount(), c.matches - 1024);
        EXPECT_EQ(orders()->GetItemText(0, 0), QStringLiteral("1025"));
        EXPECT_TRUE(child<QPushButton>("ordersPrevious")->isVisible());
        EXPECT_FALSE(child<QPushButton>("ordersNext")->isVisible());
        EXPECT_EQ(totals(), sums);  // paging leaves the totals alone

        // A new query starts again at the first page.
        click("queryButton");
        EXPECT_EQ(label(), QString::fromUtf8(c.first));
        EXPECT_EQ(orders()->GetItemText(0, 0), firstKey);
        EXPECT_FALSE(child<QPushButton>("ordersPrevious")->isVisible());
    }
    // The open order of the last page, with its customer's name.
    click("ordersNext");
    EXPECT_EQ(orders()->GetItemText(1, 0), QString::number(last));
    EXPECT_EQ(orders()->GetItemText(1, QStringLiteral("客户名称")), QStringLiteral("东莞虎门时装公司"));

    // Each statement sent is in the log: the count with the totals (of every order: the kept
    // ones), then each page.
    const QStringList lines = log();
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines.at(lines.size() - 3)
                    .startsWith(QStringLiteral("select coalesce(sum(kvc_record_product_total.行数), 0), ")));
    EXPECT_TRUE(lines.at(lines.size() - 2).endsWith(QStringLiteral("limit 0, 1024")));
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("order by kvc_record_product.货单号 limit 1024, 1024")));
}

TEST_F(InquiryPro, AnEmptyOrderTableListsNothingUnderItsColumns)
{
    open();
    tick("includeClosed");
    click("queryButton");
    EXPECT_TRUE(boxes().boxes.isEmpty());
    KvGrid* list = orders();
    ASSERT_EQ(list->GetColumnCount(), 23);
    EXPECT_EQ(list->rows().column(0).caption, QStringLiteral("货单号"));
    EXPECT_EQ(list->rows().column(2).caption, QStringLiteral("客户名称"));
    EXPECT_EQ(list->rows().column(22).caption, QStringLiteral("经办人"));
    EXPECT_EQ(label(), QStringLiteral("共查询到0条，显示其中1-0条"));
    EXPECT_EQ(totals(), (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));

    // The next query finds the first order, its customer's name in the third column.
    const quint64 order = addOrder({});
    click("queryButton");
    ASSERT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(list->GetItemText(0, 0), QString::number(order));
    EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("佛山南海牛仔服饰"));
    EXPECT_EQ(list->GetItemText(0, QStringLiteral("洗涤方法")), QStringLiteral("[石磨]"));
    EXPECT_EQ(list->GetItemText(0, QStringLiteral("经办人")), QString());
}

TEST_F(InquiryPro, ATechnologyMatchesOnlyItsOwnBracketedName)
{
    db().exec(
        QStringLiteral("insert into kvc_attrib_technology (名称, 类型) values ('A_B', '洗水'), "
                       "('AxB', '洗水'), ('5%', '洗水'), ('x!_', '洗水')"));
    struct Case {
        const char* technology;
        QStringList matching;
        QStringList others;
    };
    const Case cases[] = {
        {"A_B", {"[A_B]", "[石磨][A_B][猫须]"}, {"[AxB]", "[A_BC]", "[XA_B]", "A_B"}},
        {"AxB", {"[AxB]"}, {"[A_B]", "[AyB]"}},
        {"5%", {"[5%]", "[普洗][5%]"}, {"[5]", "[50]", "[5%0]"}},
        {"x!_", {"[x!_]"}, {"[x!a]", "[x_]", "[x!]"}},
        {"石磨", {"[石磨]"}, {"[石磨套餐]", "[普洗]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.technology);
        db().exec(QStringLiteral("delete from kvc_record_product"));
        QStringList expected;
        for (const QString& m : c.matching)
            expected << QString::number(addOrder({.method = m}));
        for (const QString& m : c.others)
            addOrder({.method = m});
        open();
        tick("technologySwitch");
        selectRow("technologyList", QString::fromUtf8(c.technology));
        click("queryButton");
        EXPECT_EQ(column(orders(), 0), expected);
    }
}

TEST_F(InquiryPro, AClickedOrderShowsItsRunningFlowsAndShipments)
{
    const quint64 order = addOrder({});
    const quint64 quiet = addOrder({});
    db().exec(QStringLiteral(
                  "insert into kvc_record_procedure (货单号, 上一站, 工作站, 数量, 结讫) values "
                  "(%1, '接收', '洗水', 40, 1), (%1, '洗水', '喷砂', 30, 0), (%1, '洗水', '发送', 10, 0)")
                  .arg(order));
    db().exec(QStringLiteral("insert into kvc_record_ship (货单号, 货物数量, 发货人, 发送时间) values "
                             "(%1, 5, '黄永发', '2026-12-01 10:00:00')")
                  .arg(order));
    open();
    click("queryButton");
    clickRowWith(orders(), 0, QString::number(order));
    KvGrid* flows = grid("flowsList");
    EXPECT_EQ(column(flows, 2), (QStringList{QStringLiteral("喷砂"), QStringLiteral("发送")}));
    EXPECT_EQ(flows->GetItemText(0, QStringLiteral("数量")), QStringLiteral("30"));
    KvGrid* shipments = grid("shipmentsList");
    ASSERT_EQ(shipments->GetItemCount(), 1);
    EXPECT_EQ(
        shipments->rows().rowCells(0).mid(1),
        (QStringList{QStringLiteral("5"), QStringLiteral("黄永发"), QStringLiteral("2026-12-01 10:00:00")}));

    // A new query empties what the last order showed; so does an order without either.
    click("queryButton");
    EXPECT_EQ(flows->GetItemCount(), 0);
    EXPECT_EQ(shipments->GetItemCount(), 0);
    clickRowWith(orders(), 0, QString::number(order));
    clickRowWith(orders(), 0, QString::number(quiet));
    EXPECT_EQ(flows->GetItemCount(), 0);
    EXPECT_EQ(shipments->GetItemCount(), 0);
}

TEST_F(InquiryPro, AFlowShowsTheChainOfItsFinishedStepsOldestFirst)
{
    struct Case {
        int finished;   // steps before the open flow
        int rows;       // rows of the step list
        int firstStep;  // the step shown at the top
    };
    const Case cases[] = {{3, 4, 1}, {100, 101, 1}, {130, 101, 31}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.finished);
        db().exec(
            QStringLiteral("delete from kvc_record_procedure; delete from kvc_record_product; "
                           "delete from kvc_record_mission"));
        const quint64 order = addOrder({});
        // Step i (1-based) finished by '工序i'; one refused step among them; the open flow last.
        quint64 previous = 0;
        std::vector<quint64> ids;
        for (int i = 1; i <= c.finished + 1; ++i) {
            const bool open = i == c.finished + 1;
            const int state = open ? 0 : (i == 2 ? 2 : 1);
            db().exec(QStringLiteral(
                          "insert into kvc_record_procedure (货单号, 上一号, 上一站, 工作站, 数量, 历史, "
                          "工序, 结讫) values (%1, %2, '洗水', '洗水', 10, '历史%3', '工序%3', %4)")
                          .arg(order)
                          .arg(previous ? QString::number(previous) : QStringLiteral("NULL"))
                          .arg(i)
                          .arg(state));
            previous =
                db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
            ids.push_back(previous);
        }
        db().exec(QStringLiteral("insert into kvc_record_mission (货单号, 流水号, 工号, 共计) values "
                                 "(%1, %2, 9, 12.5), (%1, %2, 10, 7.25)")
                      .arg(order)
                      .arg(ids.back() - 1));

        open();
        click("queryButton");
        clickRowWith(orders(), 0, QString::number(order));
        ASSERT_TRUE(clickRowWith(grid("flowsList"), 0, QString::number(ids.back())));
        EXPECT_EQ(child<QPlainTextEdit>("historyText")->toPlainText(),
                  QStringLiteral("历史%1").arg(c.finished + 1));
        KvGrid* steps = grid("stepsList");
        ASSERT_EQ(steps->GetItemCount(), c.rows);
        EXPECT_TRUE(steps->isColumnHidden(0));
        // Oldest at the top; the refused step and the open flow itself stay empty.
        for (int r = 0; r < c.rows; ++r) {
            const int step = c.firstStep + r;
            const bool empty = step == 2 || step == c.finished + 1;
            SCOPED_TRACE(step);
            EXPECT_EQ(steps->GetItemText(r, 0), empty ? QString() : QString::number(ids[step - 1]));
            EXPECT_EQ(steps->GetItemText(r, 1), empty ? QString() : QStringLiteral("工序%1").arg(step));
        }

        // The step before the open flow: its workers with their pay.
        clickRow(steps, c.rows - 2);
        KvGrid* workers = grid("workersList");
        ASSERT_EQ(workers->GetItemCount(), 2);
        EXPECT_EQ(workers->rows().rowCells(0),
                  (QStringList{QStringLiteral("9"), QStringLiteral("郑小军"), QStringLiteral("12.5")}));
    }
}

// Orders are listed with their customer, and the count and totals add up what is listed: an
// order whose customer is gone is left out of all of them. Old data: a NULL in an attribute
// list is no entry of its drop-down, and a flow whose 结讫 is NULL does not end the chain.
TEST_F(InquiryPro, WhatIsListedIsCountedAndOldNullsNeitherFillNorStop)
{
    const quint64 kept = addOrder({.goods = 7, .original = 1, .washed = 2});
    addOrder({.client = 99, .goods = 50, .original = 5, .washed = 5});
    db().exec(
        QStringLiteral("alter table kvc_attrib_nature modify 货物属性 varchar(50) null; insert into "
                       "kvc_attrib_nature values (null); alter table kvc_record_procedure modify 结讫 "
                       "int null"));
    // Three flows: finished, finished long ago with no 结讫 written, and the running one.
    quint64 previous = 0;
    std::vector<quint64> ids;
    for (const char* state : {"1", "null", "0"}) {
        db().exec(
            QStringLiteral("insert into kvc_record_procedure (货单号, 上一号, 工作站, 工序, 结讫) values "
                           "(%1, %2, '洗水', '工序%3', %4)")
                .arg(kept)
                .arg(previous ? QString::number(previous) : QStringLiteral("NULL"))
                .arg(ids.size() + 1)
                .arg(QLatin1String(state)));
        previous = db().scalar(QStringLiteral("select max(流水号) from kvc_record_procedure")).toULongLong();
        ids.push_back(previous);
    }
    open();
    auto* natures = child<QComboBox>("natureCombo");
    EXPECT_EQ(natures->findText(QString()), -1);
    EXPECT_EQ(natures->count(),
              db().count(QStringLiteral("from kvc_attrib_nature where 货物属性 is not null")));

    click("queryButton");
    EXPECT_EQ(column(orders(), 0), QStringList{QString::number(kept)});
    EXPECT_EQ(label(), QStringLiteral("共查询到1条，显示其中1-1条"));
    EXPECT_EQ(totals(), (QStringList{"7", "1", "2"}));

    ASSERT_TRUE(clickRowWith(orders(), 0, QString::number(kept)));
    ASSERT_TRUE(clickRowWith(grid("flowsList"), 0, QString::number(ids[2])));
    KvGrid* steps = grid("stepsList");
    ASSERT_EQ(steps->GetItemCount(), 3);
    EXPECT_EQ(column(steps, 0), (QStringList{QString::number(ids[0]), QString(), QString()}));
    EXPECT_EQ(column(steps, 1), (QStringList{QStringLiteral("工序1"), QString(), QString()}));
}
