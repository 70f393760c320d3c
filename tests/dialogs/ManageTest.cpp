// Production management: the six grids saved against their loaded copy, the settings, the
// rights of each identity and the simple inquiry that narrows the order grid.
#include "auth/Passwords.h"
#include "db/mySQLTool.h"
#include "dialogs/admin/Dlg_Inquiry.h"
#include "dialogs/admin/Dlg_Manage.h"
#include "dialogs/admin/ops/ManageGrids.h"
#include "dialogs/intake/Dlg_Consignee.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"
#include "ui/AppState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

namespace {

const QString kNew = QStringLiteral("新增");

class ManageDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    ManageDesk() { signInAs(QStringLiteral("管理员")); }

protected:
    Dlg_Manage& open() { return openScreen(dlg_); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    // Types into a cell; the grid hears of the edit from a message posted while committing.
    static void typeCell(KvGrid* g, int row, int column, const QString& text)
    {
        ScreenDriver::typeCell(g, row, column, text);
        QApplication::processEvents();
    }
    // Adds a row through 增加 and fills its cells (the first stays "新增").
    int addRow(const char* prefix, const QStringList& cells)
    {
        click(QByteArray(prefix).append("Add").constData());
        KvGrid* g = grid(QByteArray(prefix).append("Grid").constData());
        const int row = g->GetItemCount() - 1;
        for (int c = 1; c < cells.size(); ++c)
            g->SetItemText(row, c, cells[c]);
        return row;
    }
    // Selects a row and removes it through 删除 (the question answered OK).
    void removeRow(const char* prefix, int row)
    {
        grid(QByteArray(prefix).append("Grid").constData())->SelectRow(row);
        click(QByteArray(prefix).append("Delete").constData());
    }
    quint64 addOrder(const QString& method, int closed = 0)
    {
        db().exec(QStringLiteral(
                      "insert into kvc_record_product (款号, 客户号, 货物数量, 接货时间, 洗涤方法, 货物单价, "
                      "激活, 结讫) values (7001, 2, 100, '2026-12-01 08:00:00', '%1', 2.5, 1, %2)")
                      .arg(method)
                      .arg(closed));
        return db().scalar(QStringLiteral("select max(货单号) from kvc_record_product")).toULongLong();
    }
    QString cell(const QString& sql) { return db().scalar(sql); }
    // The session's statement counters.
    QMap<QString, int> counters()
    {
        QMap<QString, int> out;
        const Rows r = g_sqlTool.Read(
            Statement::fromBytes("show session status where Variable_name in ('Com_insert', 'Com_update', "
                                 "'Com_delete')"));
        for (const Row& row : r)
            out.insert(row.text(0), row.toInt(1));
        return out;
    }

    std::unique_ptr<Dlg_Manage> dlg_;
};

}  // namespace

// The save names the cells of a row: a column added to a grid without its name would shift them.
TEST(ManageGrids, EachGridNamesAsManyCellsAsItHasColumns)
{
    for (const manage::Grid grid : manage::kGrids)
        EXPECT_EQ(manage::shape(grid).columns.size(), manage::cellCount(grid)) << manage::shape(grid).name;
}

TEST_F(ManageDesk, OpensWithTheGridsTheSettingsAndTheRightsOfTheIdentity)
{
    struct Case {
        const char* identity;
        bool prices;   // technology and process cells, 增加 and 删除 of them and of orders
        bool records;  // order cells, employees, customers, loss records, the two settings
    };
    for (const Case& c : {Case{"管理员", true, true}, Case{"董事长", false, true}, Case{"厂长", false, true},
                          Case{"财务", false, false}}) {
        SCOPED_TRACE(c.identity);
        g_identity = QString::fromUtf8(c.identity);
        const mySQLTool::Traffic before = g_sqlTool.traffic();
        open();
        EXPECT_EQ(g_sqlTool.traffic().roundTrips - before.roundTrips, 1u);  // every read in one exchange
        EXPECT_EQ(grid("technologyGrid")->GetItemCount(), 12);
        EXPECT_EQ(grid("processGrid")->GetItemCount(), 11);
        EXPECT_EQ(grid("memberGrid")->GetItemCount(), 25);  // the active ones
        EXPECT_EQ(grid("clientGrid")->GetItemCount(), 6);
        EXPECT_EQ(text("lossPriceEdit"), QStringLiteral("5.00"));
        // The privileged password is never shown, only that one is set.
        EXPECT_TRUE(text("passwordEdit").isEmpty());
        EXPECT_FALSE(child<QLineEdit>("passwordEdit")->placeholderText().isEmpty());
        for (const char* save : {"technologySave", "processSave", "memberSave", "clientSave", "orderSave",
                                 "lossSave", "lossPriceSave", "passwordSave"})
            EXPECT_FALSE(button(save)->isEnabled()) << save;
        for (const char* g : {"technologyGrid", "processGrid"})
            EXPECT_EQ(grid(g)->rows().column(1).editable, c.prices) << g;
        for (const char* b :
             {"technologyAdd", "technologyDelete", "processAdd", "processDelete", "orderAdd", "orderDelete"})
            EXPECT_EQ(button(b)->isEnabled(), c.prices) << b;
        for (const char* g : {"orderGrid", "memberGrid", "clientGrid", "lossGrid"})
            EXPECT_EQ(grid(g)->rows().column(1).editable, c.records) << g;
        for (const char* b : {"memberAdd", "clientDelete", "lossAdd"})
            EXPECT_EQ(button(b)->isEnabled(), c.records) << b;
        EXPECT_EQ(child<QLineEdit>("lossPriceEdit")->isReadOnly(), !c.records);
        EXPECT_EQ(child<QLineEdit>("passwordEdit")->isReadOnly(), !c.records);
    }
}

TEST_F(ManageDesk, RenamingATechnologyFollowsItsOldNameIntoTheOpenOrders)
{
    const quint64 open = addOrder(QStringLiteral("[猫须][石磨]"));
    const quint64 closed = addOrder(QStringLiteral("[石磨]"), 1);
    const quint64 other = addOrder(QStringLiteral("[石磨X]"));
    this->open();
    KvGrid* g = grid("technologyGrid");
    const int row = rowOf(g, 1, QStringLiteral("石磨"));
    ASSERT_GE(row, 0);
    typeCell(g, row, 1, QStringLiteral("石磨洗"));
    typeCell(g, row, 3, QStringLiteral("2.75"));
    click("technologySave");
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
    EXPECT_EQ(db().rows(QStringLiteral("select 类型, 价格 from kvc_attrib_technology where 名称='石磨洗'")),
              (QList<QStringList>{{QStringLiteral("洗水"), QStringLiteral("2.75")}}));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_attrib_technology")), 12);
    const auto method = [&](quint64 order) {
        return cell(QStringLiteral("select 洗涤方法 from kvc_record_product where 货单号=%1").arg(order));
    };
    EXPECT_EQ(method(open), QStringLiteral("[猫须][石磨洗]"));
    EXPECT_EQ(method(closed), QStringLiteral("[石磨]"));  // a closed order keeps what it was made with
    EXPECT_EQ(method(other), QStringLiteral("[石磨X]"));
    EXPECT_FALSE(button("technologySave")->isEnabled());
    EXPECT_GE(rowOf(g, 1, QStringLiteral("石磨洗")), 0);
}

TEST_F(ManageDesk, TwoRemovalsAndAnAdditionRunOneInsertAndTwoDeletes)
{
    open();
    KvGrid* g = grid("clientGrid");
    const QString first = g->GetItemText(0, 0), second = g->GetItemText(1, 0);
    removeRow("client", 1);
    removeRow("client", 0);
    addRow("client", {kNew, QStringLiteral("韶关新丰制衣"), QString(), QStringLiteral("1")});
    ASSERT_TRUE(button("clientSave")->isEnabled());
    const QMap<QString, int> before = counters();
    click("clientSave");
    const QMap<QString, int> after = counters();
    EXPECT_TRUE(boxes().saw(QStringLiteral("确定删除吗？")));
    // Besides the new customer, the save's one transaction writes its commit mark.
    EXPECT_EQ(after.value(QStringLiteral("Com_insert")) - before.value(QStringLiteral("Com_insert")), 2);

    EXPECT_EQ(after.value(QStringLiteral("Com_delete")) - before.value(QStringLiteral("Com_delete")), 2);
    EXPECT_EQ(after.value(QStringLiteral("Com_update")) - before.value(QStringLiteral("Com_update")), 0);
    EXPECT_EQ(
        db().count(QStringLiteral("from kvc_record_client where 客户号 in (%1, %2)").arg(first, second)), 0);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_client where 名称='韶关新丰制衣' and 激活=1")), 1);
    EXPECT_EQ(g->GetItemCount(), 5);
    EXPECT_EQ(ScreenDriver::rowOf(g, 0, kNew), -1);

    // 删除 with no row chosen removes nothing.
    g->SelectRow(-1);
    click("clientDelete");
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行记录"));
    EXPECT_EQ(g->GetItemCount(), 5);
}

TEST_F(ManageDesk, ARefusedOrFailedSaveWritesNothingAndKeepsTheGridAsEdited)
{
    // One grid each: an existing row changed, then a new row that stops the save.
    struct Case {
        const char* prefix;
        const char* table;
        QStringList fresh;
        bool failure = false;  // the server fails (the trigger) rather than a cell being refused
    };
    db().exec(
        QStringLiteral("create trigger refuse_bad before insert on kvc_record_member for each row begin if "
                       "new.姓名='坏' then "
                       "signal sqlstate '45000' set message_text='injected failure'; end if; end"));
    const QString required = QStringLiteral("必填项不能为空");
    const Case cases[] = {
        {"technology",
         "kvc_attrib_technology",
         {kNew, QStringLiteral("X洗"), QStringLiteral("洗水"), QString()}},
        {"process", "kvc_attrib_process", {kNew, QStringLiteral("X工序"), QString(), QStringLiteral("0.3")}},
        {"member",
         "kvc_record_member",
         {kNew, QStringLiteral("新人"), QStringLiteral("员工"), QString(), QString()}},
        {"client", "kvc_record_client", {kNew, QString(), QStringLiteral("说明"), QStringLiteral("1")}},
        {"order", "kvc_record_product", {kNew, QStringLiteral("7002"), QString()}},
        {"loss",
         "kvc_record_quality",
         {kNew, QStringLiteral("2"), QStringLiteral("2026-12-08"), QStringLiteral("3"), QString(),
          QStringLiteral("郑小军"), QString()}},
        {"member",
         "kvc_record_member",
         {kNew, QStringLiteral("坏"), QStringLiteral("员工"), QString(), QStringLiteral("1")},
         true},
    };
    addOrder(QStringLiteral("[普洗]"));
    db().exec(
        QStringLiteral("insert into kvc_record_quality (客户号, 日期, 数量, 责任人, 记录人) values (2, "
                       "'2026-12-01', 1, '罗俊', '张志明')"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        open();
        const QString table = QString::fromLatin1(c.table);
        const QList<QStringList> before = db().rows(QStringLiteral("select * from %1").arg(table));
        KvGrid* g = grid(QByteArray(c.prefix).append("Grid").constData());
        g->SetItemText(0, 1, g->GetItemText(0, 1) + QStringLiteral("改"));
        const int fresh = addRow(c.prefix, c.fresh);
        boxes().clear();
        click(QByteArray(c.prefix).append("Save").constData());
        if (!c.failure) {
            EXPECT_EQ(boxes().last().text, required);
            EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        } else {
            EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("injected failure")));
            EXPECT_EQ(boxes().last().caption, QStringLiteral("Error"));
        }
        EXPECT_EQ(g->GetSelectedRow(), fresh);
        EXPECT_EQ(db().rows(QStringLiteral("select * from %1").arg(table)), before);
        EXPECT_TRUE(g->GetItemText(0, 1).endsWith(QStringLiteral("改")));
        EXPECT_EQ(g->GetItemText(fresh, 0), kNew);
        EXPECT_TRUE(button(QByteArray(c.prefix).append("Save").constData())->isEnabled());
    }
}

TEST_F(ManageDesk, ARowAnotherDeskChangedSinceLoadingIsNotOverwritten)
{
    open();
    auto other = std::make_unique<Dlg_Manage>();
    KvGrid* mine = grid("memberGrid");
    KvGrid* theirs = other->findChild<KvGrid*>(QStringLiteral("memberGrid"));
    const QString member = mine->GetItemText(2, 0);
    ASSERT_EQ(theirs->GetItemText(2, 0), member);

    // The other desk saves first.
    other->show();
    typeCell(theirs, 2, 1, QStringLiteral("他改"));
    other->findChild<QPushButton*>(QStringLiteral("memberSave"))->click();
    ASSERT_EQ(cell(QStringLiteral("select 姓名 from kvc_record_member where 工号=%1").arg(member)),
              QStringLiteral("他改"));

    // This desk changed the same row and another one; nothing of it is saved.
    typeCell(mine, 2, 1, QStringLiteral("改名"));
    typeCell(mine, 3, 1, QStringLiteral("也改"));
    const QString third = mine->GetItemText(3, 0);
    boxes().clear();
    boxes().answer({false});  // keep the edits on screen
    click("memberSave");
    ASSERT_GE(boxes().boxes.size(), 2);
    EXPECT_EQ(boxes().boxes[0].text,
              QStringLiteral("工号为%1的记录已被其他用户修改或删除，本次没有保存任何修改").arg(member));
    EXPECT_EQ(boxes().boxes[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("是否放弃所做的修改？"));
    EXPECT_EQ(mine->GetSelectedRow(), 2);
    EXPECT_EQ(mine->GetItemText(2, 1), QStringLiteral("改名"));
    EXPECT_NE(cell(QStringLiteral("select 姓名 from kvc_record_member where 工号=%1").arg(third)),
              QStringLiteral("也改"));
    EXPECT_EQ(cell(QStringLiteral("select 姓名 from kvc_record_member where 工号=%1").arg(member)),
              QStringLiteral("他改"));

    // A row removed here that the other desk changed stays; accepting the reload shows its state.
    removeRow("member", 2);
    boxes().clear();
    boxes().answer({true});
    click("memberSave");
    EXPECT_TRUE(boxes().saw(
        QStringLiteral("工号为%1的记录已被其他用户修改或删除，本次没有保存任何修改").arg(member)));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_member where 工号=%1").arg(member)), 1);
    EXPECT_EQ(mine->GetItemText(rowOf(mine, 0, member), 1), QStringLiteral("他改"));
    EXPECT_FALSE(button("memberSave")->isEnabled());
}

TEST_F(ManageDesk, DuplicateNamesAreRefusedWhenTypedAndWhenSaved)
{
    struct Case {
        const char* prefix;
        const char* message;
    };
    for (const Case& c :
         {Case{"technology", "不能有相同名字的工艺"}, Case{"process", "不能有相同名字的工序"}}) {
        SCOPED_TRACE(c.prefix);
        open();
        KvGrid* g = grid(QByteArray(c.prefix).append("Grid").constData());
        const QString taken = g->GetItemText(1, 1);
        boxes().clear();
        typeCell(g, 3, 1, taken.toUpper() + QStringLiteral(" "));
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(g->GetSelectedRow(), 3);
        boxes().clear();
        click(QByteArray(c.prefix).append("Save").constData());
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(
            db().count(
                QStringLiteral("from kvc_attrib_%1 where 名称='%2'").arg(QLatin1String(c.prefix), taken)),
            1);
    }
}

TEST_F(ManageDesk, TextsAreComparedAndWrittenWholeOrRefusedNamingRowAndColumn)
{
    const quint64 order = addOrder(QStringLiteral("[普洗]"));
    const QString chars75 = QString(75, QChar(0x6D17));  // 150 GBK bytes
    const QString chars255 = QString(255, QChar(0x6D17));
    struct Case {
        QString method;
        QString refusal;  // empty: saved whole
    };
    const Case cases[] = {
        {chars75, {}},
        {chars75 + QStringLiteral("[石磨]"), {}},  // differs only past the hundredth byte
        {chars255, {}},
        {chars255 + QStringLiteral("a"), QStringLiteral("第1行“洗涤方法”的内容过长，最多可以保存255个字")},
        {QStringLiteral("[普洗]\u0E01"), QStringLiteral("第1行“洗涤方法”含有无法保存的字符“\u0E01”")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method.size());
        open();
        KvGrid* g = grid("orderGrid");
        ASSERT_EQ(g->GetItemText(0, 0), QString::number(order));
        const QString before = cell(QStringLiteral("select 洗涤方法 from kvc_record_product"));
        boxes().clear();
        typeCell(g, 0, 10, c.method);
        click("orderSave");
        const QString stored = cell(QStringLiteral("select 洗涤方法 from kvc_record_product"));
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
            EXPECT_EQ(stored, c.method);
            EXPECT_EQ(g->GetItemText(0, 10), c.method);
        } else {
            EXPECT_EQ(boxes().last().text, c.refusal);
            EXPECT_EQ(g->GetSelectedRow(), 0);
            EXPECT_EQ(stored, before);
        }
    }
}

TEST_F(ManageDesk, SettingsAreCheckedAndStoredAsTyped)
{
    struct Case {
        const char* field;
        QString typed;
        QString refusal;  // empty: stored as typed
    };
    const Case cases[] = {
        {"lossPrice", QStringLiteral("0"), QStringLiteral("错误的损耗单价")},
        {"lossPrice", QStringLiteral("0.00"), QStringLiteral("错误的损耗单价")},
        {"lossPrice", QStringLiteral("元"), QStringLiteral("错误的损耗单价")},
        {"lossPrice", QStringLiteral("-2"), QStringLiteral("错误的损耗单价")},
        {"lossPrice", QStringLiteral("1.5元"), {}},
        {"password", QString(), QStringLiteral("密码不能为空")},
        {"password", QStringLiteral("密码9'\\"), {}},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QByteArray f(c.field);
        auto* edit = child<QLineEdit>(QByteArray(f).append("Edit").constData());
        QPushButton* save = button(QByteArray(f).append("Save").constData());
        const QString name = f == "lossPrice" ? QStringLiteral("损耗单价") : QStringLiteral("特权密码");
        const QString before =
            cell(QStringLiteral("select 内容 from kvc_attrib_mod where 名称='%1'").arg(name));
        // The password box starts empty: something typed and taken back is an empty password.
        QTest::keyClicks(edit, QStringLiteral("x"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        if (!c.typed.isEmpty()) {
            // Typed as one key, since keyClicks knows Latin-1 only.
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c.typed);
            QApplication::sendEvent(edit, &key);
        }
        ASSERT_TRUE(save->isEnabled());
        boxes().clear();
        save->click();
        const QString stored =
            cell(QStringLiteral("select 内容 from kvc_attrib_mod where 名称='%1'").arg(name));
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(boxes().boxes.isEmpty());
            // The privileged password as its hash.
            if (f == "password") {
                EXPECT_TRUE(passwords::isHash(stored) && passwords::matches(stored, c.typed));
            } else {
                EXPECT_EQ(stored, c.typed);
            }
            EXPECT_FALSE(save->isEnabled());
        } else {
            EXPECT_EQ(boxes().last().text, c.refusal);
            EXPECT_EQ(stored, before);
            EXPECT_TRUE(save->isEnabled());
        }
    }
}

TEST_F(ManageDesk, InactiveEmployeesAndClosingAskBeforeDiscardingEdits)
{
    open();
    KvGrid* members = grid("memberGrid");
    typeCell(members, 0, 1, QStringLiteral("改名"));
    auto* box = child<QCheckBox>("inactiveMembersCheck");
    boxes().answer({false});
    box->click();
    EXPECT_EQ(boxes().last().text, QStringLiteral("是否放弃所做的修改？"));
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(members->GetItemText(0, 1), QStringLiteral("改名"));

    boxes().answer({false});
    dlg_->reject();
    EXPECT_EQ(boxes().last().text, QStringLiteral("放弃所做的修改吗？"));
    EXPECT_TRUE(dlg_->isVisible());

    box->click();  // the question answered OK
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(members->GetItemCount(), 26);
    EXPECT_GE(rowOf(members, 1, QStringLiteral("田七")), 0);
    box->click();
    EXPECT_EQ(members->GetItemCount(), 25);
    boxes().clear();
    dlg_->reject();
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_FALSE(dlg_->isVisible());
}

TEST_F(ManageDesk, TheOrderGridShowsTheNewestOrdersAndTheInquiryNarrowsThem)
{
    db().exec(QStringLiteral(
        "insert into kvc_record_product (款号, 客户号, 接货时间, 货物性质, 激活, 结讫) select seq, 1 + seq % "
        "3, "
        "'2026-11-01 08:00:00', if(seq % 2, '新货', '返工'), 1, seq % 5 = 0 from seq_1_to_1030"));
    const QString newest = cell(QStringLiteral("select max(货单号) from kvc_record_product"));
    open();
    KvGrid* orders = grid("orderGrid");
    EXPECT_EQ(orders->GetItemCount(), 1024);
    EXPECT_EQ(orders->GetItemText(0, 0), newest);
    EXPECT_EQ(child<QLabel>("orderNote")->text(),
              QStringLiteral("只显示最近的1024张货单，请用“查询”缩小范围"));

    kvtest::ScreenDriver inquiry;
    QTimer::singleShot(0, [&inquiry] {
        auto* d = qobject_cast<Dlg_Inquiry*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        inquiry.setRoot(d);
        inquiry.click("clientCheck");
        inquiry.choose("clientCombo", QStringLiteral("东莞虎门时装公司"));  // 客户号 3
        inquiry.click("natureCheck");
        inquiry.choose("natureCombo", QStringLiteral("返工"));
        inquiry.click("queryButton");
    });
    click("orderQuery");
    const int expected = db().count(
        QStringLiteral("from kvc_record_product where 客户号=3 and 货物性质='返工' and 激活=1 and 结讫=0"));
    ASSERT_GT(expected, 0);
    EXPECT_EQ(orders->GetItemCount(), expected);
    EXPECT_EQ(child<QLabel>("orderNote")->text(), QStringLiteral("共%1张货单").arg(expected));
    for (int r = 0; r < orders->GetItemCount(); ++r)
        EXPECT_EQ(orders->GetItemText(r, 2), QStringLiteral("3"));

    // A save reloads the inquiry's orders, not the opening list.
    typeCell(orders, 0, 3, QStringLiteral("88"));
    click("orderSave");
    EXPECT_EQ(orders->GetItemCount(), expected);
    EXPECT_EQ(orders->GetItemText(0, 3), QStringLiteral("88"));
}

TEST_F(ManageDesk, TheSimpleInquiryBuildsItsClauseForEachChoice)
{
    const QString tail = QStringLiteral(" and kvc_record_product.激活=1 and kvc_record_product.结讫=0");
    using Setup = std::function<void(kvtest::ScreenDriver&, TimeCondition*)>;
    const auto time = [](int kind, TimeCondition::Range range) {
        return [kind, range](kvtest::ScreenDriver& d, TimeCondition* t) {
            d.click("timeCheck");
            if (kind >= 0)
                d.click(std::array{"receivedRadio", "activatedRadio", "closedRadio"}[kind]);
            if (range != TimeCondition::Range::None)
                t->radio(range)->click();
            t->setMoment(TimeCondition::First, QDateTime(QDate(2026, 11, 1), QTime(8, 0, 0)));
            t->setMoment(TimeCondition::Second, QDateTime(QDate(2026, 12, 1), QTime(18, 30, 5)));
        };
    };
    struct Case {
        const char* name;
        Setup setup;
        QString clause;  // or the message
    };
    const Case cases[] = {
        {"nothing", [](auto&, auto) {},
         QStringLiteral("where kvc_record_product.激活=1 and kvc_record_product.结讫=0")},
        {"both included",
         [](kvtest::ScreenDriver& d, auto) {
             d.click("withWaitingCheck");
             d.click("withClosedCheck");
         },
         QString()},
        {"customer",
         [](kvtest::ScreenDriver& d, auto) {
             d.click("clientCheck");
             d.choose("clientCombo", QStringLiteral("佛山南海牛仔服饰"));
         },
         QStringLiteral("where kvc_record_product.客户号=2") + tail},
        {"nature",
         [](kvtest::ScreenDriver& d, auto) {
             d.click("natureCheck");
             d.choose("natureCombo", QStringLiteral("打版"));
             d.click("withClosedCheck");
         },
         QStringLiteral("where kvc_record_product.货物性质='打版' and kvc_record_product.激活=1")},
        {"received before", time(0, TimeCondition::Range::Before),
         QStringLiteral("where kvc_record_product.接货时间<'2026-11-01 08:00:00'") + tail},
        {"activated after", time(1, TimeCondition::Range::After),
         QStringLiteral("where kvc_record_product.激活时间>'2026-12-01 18:30:05'") + tail},
        {"closed within", time(2, TimeCondition::Range::Within),
         QStringLiteral("where kvc_record_product.结讫时间>'2026-11-01 08:00:00' and "
                        "kvc_record_product.结讫时间<'2026-12-01 18:30:05'") +
             tail},
        {"no customer", [](kvtest::ScreenDriver& d, auto) { d.click("clientCheck"); },
         QStringLiteral("请选择客户名称")},
        {"no nature", [](kvtest::ScreenDriver& d, auto) { d.click("natureCheck"); },
         QStringLiteral("请选择货物性质")},
        {"no time kind", time(-1, TimeCondition::Range::Within), QStringLiteral("请选择一项查询的时间类型")},
        {"no range", time(0, TimeCondition::Range::None), QStringLiteral("请选择一项查询的时间分段")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dlg_Inquiry inquiry;
        kvtest::ScreenDriver d(&inquiry);
        auto* range = inquiry.findChild<TimeCondition*>(QStringLiteral("range"));
        c.setup(d, range);
        boxes().clear();
        const bool built = inquiry.build(g_sqlTool);
        if (c.clause.startsWith(QStringLiteral("where")) || c.clause.isEmpty()) {
            EXPECT_TRUE(built);
            EXPECT_EQ(adminq::inquiryClause(g_sqlTool, inquiry.filter()).text(), c.clause);
        } else {
            EXPECT_FALSE(built);
            EXPECT_EQ(boxes().last().text, c.clause);
            EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        }
    }

    // Unticking the time switch clears its choices.
    Dlg_Inquiry inquiry;
    kvtest::ScreenDriver d(&inquiry);
    auto* range = inquiry.findChild<TimeCondition*>(QStringLiteral("range"));
    time(1, TimeCondition::Range::Before)(d, range);
    d.click("timeCheck");
    EXPECT_FALSE(d.child<QRadioButton>("activatedRadio")->isChecked());
    EXPECT_FALSE(d.child<QRadioButton>("activatedRadio")->isEnabled());
    EXPECT_EQ(range->range(), TimeCondition::Range::None);
    EXPECT_FALSE(range->date(TimeCondition::First)->isEnabled());
}

TEST_F(ManageDesk, IntakeDoesNotPriceATechnologyRenamedAtAnotherDesk)
{
    Dlg_Consignee intake;
    intake.show();
    kvtest::ScreenDriver desk(&intake);
    desk.choose("categoryCombo", QStringLiteral("洗水"));
    db().exec(QStringLiteral("update kvc_attrib_technology set 名称='石磨洗' where 名称='石磨'"));
    auto* list = desk.child<QListWidget>("technologyList");
    const QList<QListWidgetItem*> found = list->findItems(QStringLiteral("石磨"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    list->setCurrentItem(found.first());
    desk.click("addTechnologyButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("工艺“石磨”已不存在，请重新选择"));
    EXPECT_TRUE(desk.text("methodEdit").isEmpty());
    EXPECT_TRUE(desk.text("priceEdit").isEmpty());
}

// What a save would write elsewhere is measured too: a renamed technology in the open orders'
// washing methods, a step's name in the flows' 工序. Refused before anything is written.
TEST_F(ManageDesk, ARenameThatWouldNotFitWhereTheNameGoesIsRefusedNamingTheOrder)
{
    const QString filler = QString(247, QChar(0x6D17));
    const quint64 fits = addOrder(filler + QStringLiteral("[石磨]"));        // 251 characters
    const quint64 full = addOrder(filler + QStringLiteral("[石磨][普洗]"));  // 255 characters
    open();
    KvGrid* g = grid("technologyGrid");
    const int row = rowOf(g, 1, QStringLiteral("石磨"));
    ASSERT_GE(row, 0);
    typeCell(g, row, 1, QStringLiteral("石磨洗洗"));
    boxes().clear();
    click("technologySave");
    EXPECT_EQ(boxes().texts(),
              QStringList{QStringLiteral("工艺改名后，货单%1的“洗涤方法”将有257个字，最多可以保存255个字，"
                                         "本次没有保存任何修改")
                              .arg(full)});
    EXPECT_EQ(g->GetSelectedRow(), row);
    EXPECT_EQ(db().count(QStringLiteral("from kvc_attrib_technology where 名称='石磨'")), 1);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from kvc_record_product where 洗涤方法 like '%[石磨]%'")),
              QStringLiteral("2"));
    typeCell(g, row, 1, QStringLiteral("石磨洗"));
    db().exec(QStringLiteral("update kvc_record_product set 结讫=1 where 货单号=%1").arg(full));
    boxes().clear();
    click("technologySave");  // a closed order keeps its text, so nothing stands in the way
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
    EXPECT_EQ(cell(QStringLiteral("select 洗涤方法 from kvc_record_product where 货单号=%1").arg(fits)),
              filler + QStringLiteral("[石磨洗]"));

    // A step's name goes into the flows' 工序, which holds 50 characters.
    KvGrid* steps = grid("processGrid");
    const QString longest = QString(50, QChar(0x5DE5));
    typeCell(steps, 0, 1, longest + QStringLiteral("序"));
    boxes().clear();
    click("processSave");
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("第1行“名称”的内容过长，最多可以保存50个字")});
    typeCell(steps, 0, 1, longest);
    boxes().clear();
    click("processSave");
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_attrib_process where 名称='%1'").arg(longest)), 1);
}

// Removing an employee whose piece-work is not settled yet would leave it where no screen can
// settle it: refused, saying how much; settled work does not stand in the way.
TEST_F(ManageDesk, AnEmployeeWithUnsettledWorkIsNotRemoved)
{
    db().exec(QStringLiteral(
        "insert into kvc_record_mission (货单号, 流水号, 工号, 完成数量, 共计, 结讫) values (1, 1, 9, 30, "
        "15, 0), (1, 2, 9, 10, 7.5, 0), (1, 3, 9, 5, 99, 1), (1, 4, 10, 8, 4, 1)"));
    open();
    KvGrid* g = grid("memberGrid");
    const QString name = g->GetItemText(rowOf(g, 0, QStringLiteral("9")), 1);
    removeRow("member", rowOf(g, 0, QStringLiteral("9")));
    removeRow("member", rowOf(g, 0, QStringLiteral("10")));
    boxes().clear();
    click("memberSave");
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("员工%1（工号9）还有2条未结算的计件，共22.50元，"
                                                          "请先结算后再删除，本次没有保存任何修改")
                                               .arg(name)});
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_member where 工号 in (9, 10)")), 2);

    db().exec(QStringLiteral("update kvc_record_mission set 结讫=1"));
    boxes().clear();
    click("memberSave");
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_member where 工号 in (9, 10)")), 0);
}

// Every grid says when it shows only part of its rows, as the order and loss grids do.
TEST_F(ManageDesk, GridsCutAtAListsRowsSaySo)
{
    db().exec(QStringLiteral(
        "insert into kvc_record_member (姓名, 身份, 激活) select concat('员工', seq), '员工', 1 from "
        "seq_1_to_1010; insert into kvc_record_client (名称, 激活) select concat('客户', seq), 1 from "
        "seq_1_to_1030"));
    open();
    EXPECT_EQ(grid("memberGrid")->GetItemCount(), 1024);
    EXPECT_EQ(child<QLabel>("memberNote")->text(), QStringLiteral("只显示前1024名员工，共1035名"));
    EXPECT_EQ(grid("clientGrid")->GetItemCount(), 1024);
    EXPECT_EQ(child<QLabel>("clientNote")->text(), QStringLiteral("只显示前1024个客户，共1036个"));
    EXPECT_FALSE(child<QLabel>("technologyNote")->isVisible());
}
