// Stock and prices of raw material: purchases and issues, each one transaction, against two
// desks at once and a failure half-way; the desks' lists after them.
#include "db/mySQLTool.h"
#include "dialogs/materials/Dlg_RawIn.h"
#include "dialogs/materials/Dlg_RawOut.h"
#include "dialogs/materials/ops/Issue.h"
#include "dialogs/materials/ops/Purchase.h"
#include "dialogs/materials/ops/Stock.h"
#include "grid/KvGrid.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"

#include <QComboBox>
#include <QThread>
#include <functional>
#include <limits>
#include <thread>

using namespace materials;

namespace {

class RawStock : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    RawStock() { signInAs(QStringLiteral("调度")); }

protected:
    void SetUp() override
    {
        DemoDbTest::SetUp();
        db().exec(QStringLiteral("insert into kvc_record_raw (名称, 单位) values ('酵素', '公斤')"));
        db().exec(QStringLiteral("insert into kvc_record_supplier (名称) values ('广州恒信化工')"));
    }
    Purchase buy(double quantity, double price, double amount = -1)
    {
        Purchase p;
        p.material = QStringLiteral("酵素");
        p.supplier = 1;
        p.buyer = 4;
        p.quantity = quantity;
        p.price = price;
        p.amount = amount < 0 ? quantity * price : amount;
        p.account = QStringLiteral("tester");
        return p;
    }
    static Issue take(double quantity)
    {
        Issue i;
        i.material = QStringLiteral("酵素");
        i.member = 8;
        i.client = 2;
        i.team = QStringLiteral("洗水组");
        i.quantity = quantity;
        i.account = QStringLiteral("tester");
        return i;
    }
    QStringList stock()
    {
        return db()
            .rows(QStringLiteral("select 数量, 累计数量, 累计金额 from kvc_record_raw where 名称='酵素'"))
            .value(0);
    }
    int rows(const char* table) { return db().count(QStringLiteral("from ") + QLatin1String(table)); }
};

}  // namespace

TEST_F(RawStock, IssuesTakeWhatIsInStockAndNotAUnitMore)
{
    struct Case {
        const char* what;
        std::vector<double> bought;
        std::vector<std::pair<double, bool>> issued;  // quantity, taken
        const char* left;
    };
    const Case cases[] = {
        {"the whole stock, then one unit more", {10}, {{10, true}, {1, false}}, "0"},
        {"half a kilogram", {2}, {{0.5, true}, {0.5, true}}, "1"},
        {"tenths add up to the whole stock", {0.3}, {{0.1, true}, {0.2, true}, {0.000001, false}}, "0"},
        {"nothing bought", {}, {{1, false}}, "0"},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral(
            "update kvc_record_raw set 数量=0, 累计数量=0, 累计金额=0; delete from kvc_record_raw_out"));
        for (double q : c.bought)
            ASSERT_TRUE(registerPurchase(g_sqlTool, buy(q, 2)).ok()) << c.what;
        int taken = 0;
        for (const auto& [q, ok] : c.issued) {
            const Outcome r = issueMaterial(g_sqlTool, take(q));
            EXPECT_EQ(r.ok(), ok) << c.what << " " << q;
            if (!ok) {
                EXPECT_EQ(r.text(), kNotInStock) << c.what;
            }
            taken += ok;
        }
        EXPECT_EQ(stock().value(0), QString::fromLatin1(c.left)) << c.what;
        EXPECT_EQ(rows("kvc_record_raw_out"), taken) << c.what;
    }
}

TEST_F(RawStock, TwoDesksIssuingTheLastUnitsAtOnceNeverTakeMoreThanTheStock)
{
    struct Case {
        double a, b;
        bool bTakes;
        const char* left;
    };
    const Case cases[] = {{8, 8, false, "2"}, {4, 4, true, "2"}, {10, 0.5, false, "0"}};
    for (const Case& c : cases) {
        db().exec(QStringLiteral("update kvc_record_raw set 数量=10"));
        mySQLTool deskA, deskB;
        ASSERT_TRUE(db().connect(deskA));
        ASSERT_TRUE(db().connect(deskB));
        // Desk A has taken its quantity and not yet committed when desk B asks for its own.
        ASSERT_TRUE(deskA.Begin());
        ASSERT_TRUE(issueMaterial(deskA, take(c.a)).ok());
        Outcome second = Outcome::done();
        std::thread b([&] { second = issueMaterial(deskB, take(c.b)); });
        QThread::msleep(300);
        ASSERT_TRUE(deskA.Commit());
        b.join();
        EXPECT_EQ(second.ok(), c.bTakes) << c.a << "+" << c.b;
        if (!c.bTakes) {
            EXPECT_EQ(second.text(), kNotInStock);
        }
        EXPECT_EQ(stock().value(0), QString::fromLatin1(c.left)) << c.a << "+" << c.b;
    }
    EXPECT_EQ(rows("kvc_record_raw_out"), 4);
}

TEST_F(RawStock, AFailureAfterTheStockChangedLeavesStockAndRowsAsTheyWere)
{
    ASSERT_TRUE(registerPurchase(g_sqlTool, buy(10, 2)).ok());
    const QStringList before = stock();
    db().exec(
        QStringLiteral("create trigger no_issue before insert on kvc_record_raw_out for each row "
                       "signal sqlstate '45000' set message_text = 'issue refused'"));
    db().exec(
        QStringLiteral("create trigger no_purchase before insert on kvc_record_raw_in for each row "
                       "signal sqlstate '45000' set message_text = 'purchase refused'"));

    Outcome r = issueMaterial(g_sqlTool, take(4));
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    EXPECT_TRUE(r.text().contains(QStringLiteral("issue refused")));
    // A purchase that adds its material and supplier: neither stays behind.
    Purchase p = buy(5, 3);
    p.material = QStringLiteral("浮石");
    p.newMaterial = true;
    p.unit = QStringLiteral("公斤");
    p.newSupplier = true;
    p.supplierName = QStringLiteral("增城浮石批发部");
    r = registerPurchase(g_sqlTool, p);
    EXPECT_EQ(r.kind(), Outcome::Kind::Failed);
    r = registerPurchase(g_sqlTool, buy(5, 3));
    EXPECT_TRUE(r.text().contains(QStringLiteral("purchase refused")));

    EXPECT_EQ(stock(), before);
    EXPECT_EQ(rows("kvc_record_raw_out"), 0);
    EXPECT_EQ(rows("kvc_record_raw_in"), 1);
    EXPECT_EQ(rows("kvc_record_raw"), 1);
    EXPECT_EQ(rows("kvc_record_supplier"), 1);
}

TEST_F(RawStock, APurchaseAddsItsNewMaterialAndSupplierAndChecksInTheDesksOrder)
{
    Purchase p = buy(5, 3);
    p.material = QStringLiteral("浮石");
    p.newMaterial = true;
    p.unit = QStringLiteral("公斤");
    p.supplier = 0;
    p.newSupplier = true;
    p.supplierName = QStringLiteral("增城浮石批发部");
    p.supplierRemark = QStringLiteral("浮石");
    quint64 supplier = 0;
    ASSERT_TRUE(registerPurchase(g_sqlTool, p, &supplier).ok());
    EXPECT_EQ(supplier, 2u);
    EXPECT_EQ(
        db().rows(QStringLiteral("select 名称, 单位, 数量, 累计金额 from kvc_record_raw where 名称='浮石'")),
        (QList<QStringList>{{"浮石", "公斤", "5", "15"}}));
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 名称, 供应商号, 数量, 单价, 金额, 时间, 工号, 经办人 from kvc_record_raw_in")),
              (QList<QStringList>{{"浮石", "2", "5", "3", "15", "2026-12-08 09:30:00", "4", "tester"}}));
    // Added a second time: refused, nothing written.
    EXPECT_EQ(registerPurchase(g_sqlTool, p).text(), QStringLiteral("该原料已存在"));
    p.newMaterial = false;
    EXPECT_EQ(registerPurchase(g_sqlTool, p).text(), QStringLiteral("该供应商已存在"));
    EXPECT_EQ(addMaterial(g_sqlTool, QStringLiteral("浮石"), QStringLiteral("袋")).text(),
              QStringLiteral("该原料已存在"));
    quint64 id = 0;
    EXPECT_TRUE(addSupplier(g_sqlTool, QStringLiteral("中山五金"), QString(), &id).ok());
    EXPECT_EQ(id, 3u);
    EXPECT_EQ(rows("kvc_record_raw_in"), 1);

    struct Check {
        std::function<void(Purchase&)> change;
        const char* message;
    };
    const Check checks[] = {
        {[](Purchase& x) { x.material.clear(); }, "请选择一项原料"},
        {[](Purchase& x) { x.newMaterial = true; }, "请选择原料单位"},
        {[](Purchase& x) { x.supplier = 0; }, "请选择一个供应商"},
        {[](Purchase& x) { x.supplier = 0, x.newSupplier = true; }, "请输入供应商名称"},
        {[](Purchase& x) { x.buyer = 0; }, "请选择一个采购人"},
        {[](Purchase& x) { x.quantity = 0.0000001; }, "请输入正确的数量"},
        {[](Purchase& x) { x.price = -1; }, "请输入正确的单价"},
        {[](Purchase& x) { x.amount = std::numeric_limits<double>::infinity(); }, "请输入正确的金额"},
    };
    for (const Check& c : checks) {
        Purchase x = buy(1, 1);
        c.change(x);
        EXPECT_EQ(checkPurchase(x).text(), QString::fromUtf8(c.message));
        EXPECT_EQ(registerPurchase(g_sqlTool, x).text(), QString::fromUtf8(c.message));
    }
    EXPECT_EQ(rows("kvc_record_raw_in"), 1);
}

TEST_F(RawStock, TheDesksShowTheAveragePriceOfEverythingBought)
{
    db().exec(
        QStringLiteral("insert into kvc_record_raw (名称, 单位, 数量, 累计数量, 累计金额) values "
                       "('浮石', '公斤', 0, 0, 0), ('砂纸', '盒', 0, 0, 12.5), ('刀片', '盒', 3, 3, 0)"));
    ASSERT_TRUE(registerPurchase(g_sqlTool, buy(10, 2)).ok());
    ASSERT_TRUE(registerPurchase(g_sqlTool, buy(5, 3)).ok());
    ASSERT_TRUE(issueMaterial(g_sqlTool, take(3)).ok());  // issues leave the average alone

    Dlg_RawIn in;
    Dlg_RawOut out;
    for (QWidget* w : {static_cast<QWidget*>(&in), static_cast<QWidget*>(&out)}) {
        setRoot(w);
        KvGrid* list = grid("materialList");
        const auto average = [&](const char* name) {
            return list->GetItemText(rowOf(list, 0, QString::fromUtf8(name)), QStringLiteral("均价"));
        };
        EXPECT_EQ(average("酵素"), QStringLiteral("2.33"));  // 35 / 15
        EXPECT_EQ(list->GetItemText(rowOf(list, 0, QStringLiteral("酵素")), 1), QStringLiteral("12"));
        EXPECT_EQ(average("浮石"), QString());  // never bought
        EXPECT_EQ(average("砂纸"), QString());  // money without quantity: no division by zero
        EXPECT_EQ(average("刀片"), QStringLiteral("0"));
    }
}

TEST_F(RawStock, ThePurchaseDeskRegistersWhatIsChosenAndShowsItAtOnce)
{
    Dlg_RawIn dlg;
    dlg.show();
    setRoot(&dlg);
    clickRow(grid("materialList"), 0);
    type("quantityEdit", QStringLiteral("2.5"));
    type("priceEdit", QStringLiteral("4"));
    EXPECT_EQ(text("amountEdit"), QStringLiteral("10.00"));
    click("registerButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一个供应商"));
    EXPECT_EQ(rows("kvc_record_raw_in"), 0);

    clickRow(grid("supplierList"), 0);
    clickRowWith(grid("buyerList"), 1, QStringLiteral("张志明"));
    click("editAmountCheck");
    type("amountEdit", QStringLiteral("9.5"));
    type("quantityEdit", QStringLiteral("3"));  // a typed amount stays
    EXPECT_EQ(text("amountEdit"), QStringLiteral("9.5"));
    boxes().clear();
    click("registerButton");
    EXPECT_EQ(boxes().texts(), QStringList{"确定登记吗？"});
    EXPECT_EQ(
        db().rows(QStringLiteral("select 名称, 供应商号, 数量, 单价, 金额, 工号 from kvc_record_raw_in")),
        (QList<QStringList>{{"酵素", "1", "3", "4", "9.5", "4"}}));
    EXPECT_EQ(grid("purchaseList")->GetItemText(0, QStringLiteral("采购人")), QStringLiteral("张志明"));
    EXPECT_EQ(grid("materialList")->GetItemText(0, QStringLiteral("均价")), QStringLiteral("3.17"));
    EXPECT_EQ(grid("materialList")->GetSelectedRow(), 0);

    // A material typed under 编辑原料 is added with the purchase, after its own question.
    click("editMaterialCheck");
    type("materialNameEdit", QStringLiteral("柔软剂"));
    child<QComboBox>("materialUnitCombo")->setCurrentIndex(0);
    boxes().clear();
    click("registerButton");
    EXPECT_EQ(boxes().texts(), (QStringList{"确定添加新原料吗？", "确定登记吗？"}));
    EXPECT_EQ(grid("materialList")->GetItemText(grid("materialList")->GetSelectedRow(), 0),
              QStringLiteral("柔软剂"));
    EXPECT_TRUE(text("materialNameEdit").isEmpty());
    EXPECT_EQ(db().scalar(QStringLiteral("select 单位 from kvc_record_raw where 名称='柔软剂'")),
              QStringLiteral("公斤"));
}

TEST_F(RawStock, TheIssueDeskRefusesBeforeAskingAndRefreshesTheStockAfter)
{
    ASSERT_TRUE(registerPurchase(g_sqlTool, buy(2, 3)).ok());
    Dlg_RawOut dlg;
    dlg.show();
    setRoot(&dlg);
    clickRow(grid("materialList"), 0);
    clickRowWith(grid("memberList"), 1, QStringLiteral("郑小军"));
    clickRow(grid("clientList"), 1);
    type("quantityEdit", QStringLiteral("0.5"));
    click("issueButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择领料班组"));
    choose("teamCombo", QStringLiteral("洗水组"));
    type("quantityEdit", QStringLiteral("2.5"));
    boxes().clear();
    click("issueButton");
    EXPECT_EQ(boxes().texts(), QStringList{kNotInStock});

    type("quantityEdit", QStringLiteral("0.5"));
    boxes().clear();
    click("issueButton");
    EXPECT_EQ(boxes().texts(), QStringList{"确定领料吗？"});
    EXPECT_EQ(grid("materialList")->GetItemText(0, QStringLiteral("数量")), QStringLiteral("1.5"));
    EXPECT_EQ(grid("materialList")->GetItemText(0, QStringLiteral("均价")), QStringLiteral("3.00"));
    EXPECT_EQ(grid("issueList")->GetItemCount(), 1);
    EXPECT_EQ(db().rows(QStringLiteral(
                  "select 名称, 客户号, 数量, 时间, 班组, 工号, 经办人 from kvc_record_raw_out")),
              (QList<QStringList>{{"酵素", "2", "0.5", "2026-12-08 09:30:00", "洗水组", "9", "tester"}}));
}

// Names and remarks are measured before anything is written and refused in Chinese; supplier
// names are kept unique by the table's key, which needs no locking read (the client's role may
// only read and insert suppliers), also when two desks add one name at once.
TEST_F(RawStock, NamesAreMeasuredAndASupplierNameIsTakenOnce)
{
    const QString name101 = QString(101, QChar(0x77F3));
    struct Case {
        std::function<Outcome()> add;
        QString refusal;
    };
    const Case cases[] = {
        {[&] { return addMaterial(g_sqlTool, name101, QStringLiteral("公斤")); },
         QStringLiteral("“名称”太长：最多100个字，现在有101个字，请缩短后再保存")},
        {[&] { return addSupplier(g_sqlTool, name101, QString()); },
         QStringLiteral("“名称”太长：最多100个字，现在有101个字，请缩短后再保存")},
        {[&] { return addSupplier(g_sqlTool, QStringLiteral("甲"), QString(256, QLatin1Char('x'))); },
         QStringLiteral("“备注”太长：最多255个字，现在有256个字，请缩短后再保存")},
    };
    for (const Case& c : cases) {
        const Outcome r = c.add();
        EXPECT_EQ(r.kind(), Outcome::Kind::Refused) << c.refusal.toStdString();
        EXPECT_EQ(r.text(), c.refusal);
    }
    EXPECT_EQ(rows("kvc_record_raw"), 1);
    EXPECT_EQ(rows("kvc_record_supplier"), 1);
    EXPECT_EQ(rows("kvc_record_raw_in"), 0);

    // The key refuses a second row of a name, whoever writes it.
    EXPECT_FALSE(g_sqlTool.Exec("insert into kvc_record_supplier (名称) value ('%s')",
                                QStringLiteral("广州恒信化工 ")));
    EXPECT_TRUE(g_sqlTool.DuplicateKey()) << g_sqlTool.GetError().toStdString();
    // Desk A has added the name and not yet committed when desk B adds it too.
    mySQLTool deskA, deskB;
    ASSERT_TRUE(db().connect(deskA));
    ASSERT_TRUE(db().connect(deskB));
    ASSERT_TRUE(deskA.Begin());
    ASSERT_TRUE(addSupplier(deskA, QStringLiteral("乙"), QString()).ok());
    Outcome second = Outcome::done();
    std::thread b([&] { second = addSupplier(deskB, QStringLiteral("乙"), QStringLiteral("另一家")); });
    QThread::msleep(300);
    ASSERT_TRUE(deskA.Commit());
    b.join();
    EXPECT_EQ(second.kind(), Outcome::Kind::Refused);
    EXPECT_EQ(second.text(), QStringLiteral("该供应商已存在"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_supplier where 名称='乙'")), 1);
}

// The material desks say "错误" over a failure, as their screens do; "编辑成功" carries the
// application's name.
TEST_F(RawStock, TheMaterialDesksToldFailuresWithTheirCaptions)
{
    ASSERT_TRUE(registerPurchase(g_sqlTool, buy(10, 2)).ok());
    db().exec(QStringLiteral(
        "create trigger no_purchase before insert on kvc_record_raw_in for each row signal sqlstate '45000' "
        "set message_text = 'purchase refused'; create trigger no_issue before insert on kvc_record_raw_out "
        "for each row signal sqlstate '45000' set message_text = 'issue refused'"));
    Dlg_RawIn in;
    in.show();
    setRoot(&in);
    click("editSupplierCheck");
    type("supplierNameEdit", QStringLiteral("中山五金"));
    boxes().clear();
    click("applySupplierButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("编辑成功"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("洗水厂生产管理系统"));
    clickRow(grid("materialList"), 0);
    clickRow(grid("supplierList"), 0);
    clickRowWith(grid("buyerList"), 1, QStringLiteral("张志明"));
    type("quantityEdit", QStringLiteral("1"));
    type("priceEdit", QStringLiteral("2"));
    boxes().clear();
    click("registerButton");
    EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("purchase refused")));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));

    Dlg_RawOut out;
    out.show();
    setRoot(&out);
    clickRow(grid("materialList"), 0);
    clickRowWith(grid("memberList"), 1, QStringLiteral("郑小军"));
    clickRow(grid("clientList"), 1);
    choose("teamCombo", QStringLiteral("洗水组"));
    type("quantityEdit", QStringLiteral("1"));
    boxes().clear();
    click("issueButton");
    EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("issue refused")));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(rows("kvc_record_raw_out"), 0);
}
