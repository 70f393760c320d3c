// The shipment inquiry: each condition's fragment, what it finds and its message; the exact and
// the fuzzy technology search; paging past 1024 matches with totals over all; the export.
#include "ShipmentFixture.h"

#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_InquiryShipment.h"
#include "dialogs/shipping/ShipmentQueries.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "support/ExportTarget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <functional>
#include <memory>

namespace {

class ShipmentInquiry : public kvtest::ShipmentFixture {
public:
    Dlg_InquiryShipment& open() { return openScreen(dlg_); }
    void tick(const char* name) { child<QCheckBox>(name)->click(); }
    void chooseRow(const char* list, const QString& key) { ASSERT_TRUE(clickRowWith(grid(list), 0, key)); }
    void setMoment(const char* pair, const QString& date, const QString& time)
    {
        child<QDateEdit>((QByteArray("sentTime") + pair + "Date").constData())
            ->setDate(QDate::fromString(date, QStringLiteral("yyyy-MM-dd")));
        child<QTimeEdit>((QByteArray("sentTime") + pair + "Time").constData())
            ->setTime(QTime::fromString(time, QStringLiteral("HH:mm:ss")));
    }
    QStringList found()
    {
        click("searchButton");
        return keys(grid("resultList"));
    }

    std::unique_ptr<Dlg_InquiryShipment> dlg_;
};

QString sql(const Statement& s)
{
    return s.text();
}

}  // namespace

TEST_F(ShipmentInquiry, EachConditionAddsItsFragmentInTheFixedOrder)
{
    using F = shipmentq::Filter;
    struct Case {
        const char* name;
        std::function<void(F&)> set;
        const char* fragment;
    };
    const Case cases[] = {
        {"client", [](F& f) { f.client = 7; }, "kvc_record_ship.客户号=7"},
        {"technology", [](F& f) { f.technology = QStringLiteral("石磨"); },
         "kvc_record_ship.洗涤方法 like '%[石磨]%'"},
        {"shipper", [](F& f) { f.shipper = QStringLiteral("黄'永发"); },
         R"(kvc_record_ship.发货人='黄\'永发')"},
        {"issuer", [](F& f) { f.issuer = QStringLiteral("张志明"); }, "kvc_record_ship.开票人='张志明'"},
        {"style", [](F& f) { f.style = QStringLiteral("直筒"); }, "kvc_record_ship.品名 like '%直筒%'"},
        {"sex", [](F& f) { f.sex = QStringLiteral("女装"); }, "kvc_record_ship.品名 like '%女装%'"},
        {"after", [](F& f) { f.sent.after = QStringLiteral("2026-11-01 08:00:00"); },
         "kvc_record_ship.发送时间>'2026-11-01 08:00:00'"},
        {"before", [](F& f) { f.sent.before = QStringLiteral("2026-12-01 00:00:00"); },
         "kvc_record_ship.发送时间<'2026-12-01 00:00:00'"},
        {"within",
         [](F& f) {
             f.sent.after = QStringLiteral("2026-11-01 08:00:00");
             f.sent.before = QStringLiteral("2026-12-01 00:00:00");
         },
         "kvc_record_ship.发送时间>'2026-11-01 08:00:00' and kvc_record_ship.发送时间<'2026-12-01 00:00:00'"},
        {"fuzzy", [](F& f) { f.technologyLike = QStringLiteral("磨"); },
         "kvc_record_ship.洗涤方法 like '%磨%'"},
        {"order", [](F& f) { f.order = 18446744073709551615ull; },
         "kvc_record_ship.货单号=18446744073709551615"},
        {"nature", [](F& f) { f.nature = QStringLiteral("新货"); }, "kvc_record_product.货物性质='新货'"},
        // Wildcards and the escape character of like are taken literally.
        {"escaped", [](F& f) { f.technology = QStringLiteral("A_1%\\"); },
         R"(kvc_record_ship.洗涤方法 like '%[A\\_1\\%\\\\]%')"},
        // Joined by " and " in the screen's order, whatever was ticked first.
        {"two",
         [](F& f) {
             f.nature = QStringLiteral("返工");
             f.client = 2;
         },
         "kvc_record_ship.客户号=2 and kvc_record_product.货物性质='返工'"},
    };
    for (const Case& c : cases) {
        F f;
        c.set(f);
        EXPECT_EQ(sql(shipmentq::conditions(g_sqlTool, f)), QString::fromUtf8(c.fragment)) << c.name;
    }
    EXPECT_TRUE(shipmentq::conditions(g_sqlTool, F()).empty());
}

TEST_F(ShipmentInquiry, EachConditionFindsItsShipments)
{
    const quint64 fresh = order(QStringLiteral("新货"));
    const quint64 rework = order(QStringLiteral("返工"));
    Ship a;
    a.client = 1;
    a.order = fresh;
    a.sent = QStringLiteral("2026-11-05 10:00:00");
    a.article = QStringLiteral("女装休闲裤修身");
    a.method = QStringLiteral("[石磨][猫须]");
    Ship b;
    b.client = 2;
    b.order = rework;
    b.sent = QStringLiteral("2026-11-20 08:00:00");
    b.article = QStringLiteral("男装牛仔裤直筒");
    b.method = QStringLiteral("石磨加工");
    b.shipper = QStringLiteral("周大海");
    b.issuer = QStringLiteral("刘晓燕");
    Ship c = b;
    c.order = fresh;
    c.sent = QStringLiteral("2026-12-01 00:00:00");
    c.article = QStringLiteral("童装短裤宽松");
    c.method = QStringLiteral("[普洗]");
    c.shipper = QStringLiteral("黄永发");
    const QString A = QString::number(ship(a)), B = QString::number(ship(b)), C = QString::number(ship(c));

    struct Case {
        const char* name;
        std::function<void(ShipmentInquiry&)> set;
        QStringList found;
    };
    const Case cases[] = {
        {"nothing", [](ShipmentInquiry&) {}, {A, B, C}},
        {"client",
         [](ShipmentInquiry& t) {
             t.tick("clientSwitch");
             t.chooseRow("clientList", QStringLiteral("2"));
         },
         {B, C}},
        {"exact technology",
         [](ShipmentInquiry& t) {
             t.tick("technologySwitch");
             t.chooseRow("technologyList", QStringLiteral("石磨"));
         },
         {A}},
        {"fuzzy technology",
         [](ShipmentInquiry& t) {
             t.tick("fuzzySwitch");
             t.type("fuzzyEdit", QStringLiteral("石磨"));
         },
         {A, B}},
        {"shipper",
         [](ShipmentInquiry& t) {
             t.tick("shipperSwitch");
             t.choose("shipperCombo", QStringLiteral("黄永发"));
         },
         {A, C}},
        {"issuer",
         [](ShipmentInquiry& t) {
             t.tick("issuerSwitch");
             t.choose("issuerCombo", QStringLiteral("刘晓燕"));
         },
         {B, C}},
        // Style and sex are found inside the article name, whatever else it holds.
        {"style",
         [](ShipmentInquiry& t) {
             t.tick("styleSwitch");
             t.choose("styleCombo", QStringLiteral("直筒"));
         },
         {B}},
        {"sex",
         [](ShipmentInquiry& t) {
             t.tick("sexSwitch");
             t.choose("sexCombo", QStringLiteral("女装"));
         },
         {A}},
        // Strictly after and before: a shipment at the moment itself is not found.
        {"after",
         [](ShipmentInquiry& t) {
             t.tick("sentTimeSwitch");
             t.child<QRadioButton>("sentTimeAfter")->click();
             t.setMoment("First", QStringLiteral("2026-11-20"), QStringLiteral("08:00:00"));
         },
         {C}},
        {"before",
         [](ShipmentInquiry& t) {
             t.tick("sentTimeSwitch");
             t.child<QRadioButton>("sentTimeBefore")->click();
             t.setMoment("Second", QStringLiteral("2026-12-01"), QStringLiteral("00:00:00"));
         },
         {A, B}},
        {"within",
         [](ShipmentInquiry& t) {
             t.tick("sentTimeSwitch");
             t.child<QRadioButton>("sentTimeWithin")->click();
             t.setMoment("First", QStringLiteral("2026-11-05"), QStringLiteral("10:00:00"));
             t.setMoment("Second", QStringLiteral("2026-12-01"), QStringLiteral("00:00:00"));
         },
         {B}},
        {"order",
         [rework](ShipmentInquiry& t) {
             t.tick("orderSwitch");
             t.type("orderEdit", QString::number(rework));
         },
         {B}},
        {"nature",
         [](ShipmentInquiry& t) {
             t.tick("natureSwitch");
             t.choose("natureCombo", QStringLiteral("返工"));
         },
         {B}},
        {"client and shipper",
         [](ShipmentInquiry& t) {
             t.tick("clientSwitch");
             t.chooseRow("clientList", QStringLiteral("2"));
             t.tick("shipperSwitch");
             t.choose("shipperCombo", QStringLiteral("黄永发"));
         },
         {C}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        c.set(*this);
        EXPECT_EQ(found(), c.found);
        EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
    }

    // The row shows the customer's name and every column of the shipment in table order.
    open();
    tick("orderSwitch");
    type("orderEdit", QString::number(rework));
    ASSERT_EQ(found(), QStringList{B});
    EXPECT_EQ(
        rowCells(grid("resultList"), 0),
        (QStringList{B, QString::number(rework), QStringLiteral("佛山南海牛仔服饰"), QStringLiteral("刘晓燕"),
                     QStringLiteral("周大海"), QStringLiteral("2026-11-20 08:00:00"), QStringLiteral("0"),
                     QStringLiteral("男装牛仔裤直筒"), QStringLiteral("石磨加工"), QStringLiteral("10"),
                     QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("2.5"),
                     QStringLiteral("tester"), QString()}));
    EXPECT_EQ(grid("resultList")->rows().column(2).caption, QStringLiteral("客户名称"));
}

TEST_F(ShipmentInquiry, ATickedConditionWithoutItsInputSaysSoAndRunsNothing)
{
    ship(Ship());
    struct Case {
        const char* name;
        std::function<void(ShipmentInquiry&)> set;
        const char* message;
    };
    const Case cases[] = {
        {"client", [](ShipmentInquiry& t) { t.tick("clientSwitch"); },
         "您设置了勾选客户，请选择一个客户作为查询条件"},
        {"technology", [](ShipmentInquiry& t) { t.tick("technologySwitch"); },
         "您设置了勾选精确查询工艺，请选择一项工艺作为查询条件"},
        {"shipper", [](ShipmentInquiry& t) { t.tick("shipperSwitch"); },
         "您设置了勾选发货人，请选择一名发货人作为查询条件"},
        {"issuer", [](ShipmentInquiry& t) { t.tick("issuerSwitch"); },
         "您设置了勾选开票人，请选择一名开票人作为查询条件"},
        {"style", [](ShipmentInquiry& t) { t.tick("styleSwitch"); },
         "您设置了勾选款式，请选择款式作为查询条件"},
        {"sex", [](ShipmentInquiry& t) { t.tick("sexSwitch"); }, "您设置了勾选性别，请选择性别作为查询条件"},
        {"time", [](ShipmentInquiry& t) { t.tick("sentTimeSwitch"); },
         "您设置了勾选接货时间，请选择一项内容作为查询条件"},
        {"fuzzy", [](ShipmentInquiry& t) { t.tick("fuzzySwitch"); },
         "您设置了勾选模糊工艺查询，请输入工艺作为查询条件"},
        {"order", [](ShipmentInquiry& t) { t.tick("orderSwitch"); },
         "您设置了勾选货单号查询，请输入货单号作为查询条件"},
        {"order not a number",
         [](ShipmentInquiry& t) {
             t.tick("orderSwitch");
             t.type("orderEdit", QStringLiteral("abc"));
         },
         "错误的货单号"},
        {"order zero",
         [](ShipmentInquiry& t) {
             t.tick("orderSwitch");
             t.type("orderEdit", QStringLiteral("0"));
         },
         "错误的货单号"},
        {"nature", [](ShipmentInquiry& t) { t.tick("natureSwitch"); },
         "您设置了勾选货物性质，请选择一项性质作为查询条件"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        ASSERT_EQ(found().size(), 1);  // a first search, which the refused one must leave alone
        boxes().clear();
        c.set(*this);
        EXPECT_EQ(found().size(), 1);
        ASSERT_EQ(boxes().boxes.size(), 1);
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    }
}

TEST_F(ShipmentInquiry, ExactAndFuzzyTechnologyExcludeEachOtherAndTakeWildcardsLiterally)
{
    db().exec(
        QStringLiteral("insert into kvc_attrib_technology (名称, 类型, 价格) values ('A_1', '洗水', 1), "
                       "('5%', '洗水', 1)"));
    Ship s;
    QStringList serials;
    for (const char* method : {"[A_1]", "[AX1]", "[石磨][猫须]", "石磨", "[5%][石磨]", "[50]"}) {
        s.method = QString::fromUtf8(method);
        serials << QString::number(ship(s));
    }
    open();
    QCheckBox* exact = child<QCheckBox>("technologySwitch");
    QCheckBox* fuzzy = child<QCheckBox>("fuzzySwitch");
    exact->click();
    EXPECT_TRUE(grid("technologyList")->isEnabled());
    fuzzy->click();
    EXPECT_FALSE(exact->isChecked());
    EXPECT_FALSE(grid("technologyList")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("fuzzyEdit")->isEnabled());
    exact->click();
    EXPECT_FALSE(fuzzy->isChecked());
    EXPECT_FALSE(child<QLineEdit>("fuzzyEdit")->isEnabled());

    struct Case {
        const char* technology;
        bool exact;
        QStringList found;
    };
    const Case cases[] = {
        {"A_1", true, {serials[0]}},
        {"石磨", true, {serials[2], serials[4]}},
        {"石磨", false, {serials[2], serials[3], serials[4]}},
        {"5%", true, {serials[4]}},
        {"5%", false, {serials[4]}},
        {"_", false, {serials[0]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.technology) + (c.exact ? " exact" : " fuzzy"));
        open();
        if (c.exact) {
            tick("technologySwitch");
            chooseRow("technologyList", QString::fromUtf8(c.technology));
        } else {
            tick("fuzzySwitch");
            type("fuzzyEdit", QString::fromUtf8(c.technology));
        }
        EXPECT_EQ(found(), c.found);
    }
}

TEST_F(ShipmentInquiry, MoreThanAPageIsPagedWhileTheTotalsCoverEveryMatch)
{
    // 1030 shipments of 37 pieces at 3.33: 126,906.30 yuan, which single precision gets wrong.
    db().exec(
        QStringLiteral("insert into kvc_record_ship (货单号, 客户号, 发送时间, 货物数量, 损耗数量, 原版数量, "
                       "洗版数量, 货物单价) "
                       "select 1, 3, concat('2026-10-01 00:', lpad(seq div 60, 2, '0'), ':', lpad(seq mod "
                       "60, 2, '0')), 37, 1, "
                       "2, 3, 3.33 from seq_1_to_1030"));
    ship(Ship());  // another customer's
    open();
    tick("clientSwitch");
    chooseRow("clientList", QStringLiteral("3"));
    const QStringList first = found();
    ASSERT_EQ(first.size(), 1024);
    EXPECT_EQ(child<QLabel>("resultLabel")->text(), QStringLiteral("共查询到1030条记录，显示其中1-1024条"));
    EXPECT_TRUE(child<QPushButton>("resultNext")->isVisible());
    const QStringList totals{QStringLiteral("38110"), QStringLiteral("1030"), QStringLiteral("2060"),
                             QStringLiteral("3090"), QStringLiteral("126906.30")};
    ASSERT_EQ(grid("totalsList")->GetItemCount(), 1);
    EXPECT_EQ(rowCells(grid("totalsList"), 0), totals);

    click("resultNext");
    EXPECT_EQ(keys(grid("resultList")).size(), 6);
    EXPECT_FALSE(first.contains(keys(grid("resultList")).first()));
    EXPECT_EQ(child<QLabel>("resultLabel")->text(), QStringLiteral("共查询到1030条，显示其中1025-1030条"));
    EXPECT_EQ(rowCells(grid("totalsList"), 0), totals);
}

TEST_F(ShipmentInquiry, ExportAppendsTheListAndItsTotals)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("发货"));
    kvtest::ExportTarget target(base);
    open();
    click("exportButton");
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("没有内容可被导出")});
    EXPECT_EQ(target.asked, 0);

    Ship s;
    s.goods = 4;
    s.price = QStringLiteral("2.25");
    const quint64 serial = ship(s);
    boxes().clear();
    ASSERT_EQ(found().size(), 1);
    click("exportButton");
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("导出完毕")});
    QFile f(base + QStringLiteral(".txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = Gbk::decode(f.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("序列号;货单号;客户名称;开票人;发货人;发送时间;")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n%1;1;佛山南海牛仔服饰;").arg(serial)));
    // The totals follow the list, after its empty line.
    EXPECT_TRUE(
        text.endsWith(QStringLiteral(";\r\n\r\n货物数量;损耗数量;原版数量;洗版数量;合计金额;\r\n"
                                     "4;0;0;0;9.00;\r\n\r\n")));

    // Every shipment found is written, not only the page shown, so the file adds up to its totals.
    db().exec(
        QStringLiteral("insert into kvc_record_ship (货单号, 客户号, 发送时间, 货物数量, 货物单价) "
                       "select 货单号, 客户号, 发送时间, 1, 1 from kvc_record_ship, seq_1_to_1100"));
    ASSERT_EQ(found().size(), 1024);
    QFile::remove(f.fileName());
    click("exportButton");
    EXPECT_EQ(target.expected, 1101u + 1u);
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = Gbk::decode(f.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 1101 + 1 + 2 + 1 + 1);  // rows, empty line, totals and theirs, the end
    EXPECT_TRUE(
        lines.at(1101).startsWith(db().scalar(QStringLiteral("select max(序列号) from kvc_record_ship"))));
    EXPECT_EQ(lines.at(1104), QStringLiteral("1104;0;0;0;1109.00;"));
}

// A shipment is listed with its customer and its order, and the count and totals add up what is
// listed: one whose customer or order is gone is left out of all three. A search that fails
// leaves no earlier result behind to be paged or exported.
TEST_F(ShipmentInquiry, TheResultIsWhatIsCountedAndAFailedSearchEmptiesIt)
{
    const QString kept = QString::number(ship(Ship()));
    Ship noClient;
    noClient.client = 99;
    ship(noClient);
    Ship noOrder;
    noOrder.order = 4242;
    ship(noOrder);
    db().exec(QStringLiteral("delete from kvc_record_product where 货单号=4242"));
    open();
    EXPECT_EQ(found(), QStringList{kept});
    EXPECT_EQ(child<QLabel>("resultLabel")->text(), QStringLiteral("共查询到1条记录，显示其中1-1条"));
    EXPECT_EQ(rowCells(grid("totalsList"), 0), (QStringList{"10", "0", "0", "0", "25.00"}));

    tick("fuzzySwitch");
    type("fuzzyEdit", QStringLiteral("\u0E01"));  // no GBK form: the count cannot be made
    boxes().clear();
    EXPECT_TRUE(found().isEmpty());
    EXPECT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(grid("totalsList")->GetItemCount(), 0);
    EXPECT_TRUE(child<QLabel>("resultLabel")->text().isEmpty());
    EXPECT_TRUE(child<QPushButton>("resultNext")->isHidden());
    QTemporaryDir dir;
    kvtest::ExportTarget target(dir.filePath(QStringLiteral("发货")));
    boxes().clear();
    click("exportButton");
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("没有内容可被导出")});
    EXPECT_EQ(target.asked, 0);
}
