#include "app/Accounts.h"
#include "app/Dlg_System.h"
#include "app/IniFile.h"
#include "app/TicketSettingsBox.h"
#include "auth/Passwords.h"
#include "db/mySQLTool.h"
#include "grid/KvGrid.h"
#include "print/TicketLayout.h"
#include "support/DbTest.h"
#include "ui/AppState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

void settle()
{
    for (int i = 0; i < 6; ++i)
        QApplication::processEvents();
}

class SystemSettings : public kvtest::DemoDbTest {
protected:
    void open(const QString& account, const QString& identity,
              const QString& password = QStringLiteral("123456"))
    {
        g_account = account;
        g_identity = identity;
        g_password = password;
        dlg = std::make_unique<Dlg_System>();
        dlg->show();
        settle();
    }
    QLineEdit* edit(const char* name) { return dlg->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QPushButton* button(const char* name) { return dlg->findChild<QPushButton*>(QString::fromLatin1(name)); }
    KvGrid* grid() { return dlg->findChild<KvGrid*>(QStringLiteral("accountGrid")); }
    void change(const QString& oldText, const QString& newText, const QString& repeat)
    {
        edit("oldPassword")->setText(oldText);
        edit("newPassword")->setText(newText);
        edit("repeatPassword")->setText(repeat);
        button("savePassword")->click();
    }
    QString stored(const QString& account)
    {
        return db().scalar(QStringLiteral("select 密码 from kvc_record_user where 账号='%1'").arg(account));
    }
    // The account's password is `password`, kept as its hash.
    bool keeps(const QString& account, const QString& password)
    {
        return passwords::isHash(stored(account)) && passwords::matches(stored(account), password);
    }
    int rowOf(const QString& account)
    {
        for (int r = 0; r < grid()->GetItemCount(); ++r)
            if (grid()->GetItemText(r, 1) == account)
                return r;
        return -1;
    }
    // Ends a cell edit through the grid's own editor, as the user does.
    void editCell(int row, int column, const QString& text)
    {
        const QModelIndex i = grid()->model()->index(row, column);
        grid()->setCurrentIndex(i);
        grid()->edit(i);
        settle();
        // 权限 is chosen from a list, the other cells are typed.
        if (auto* choice = grid()->viewport()->findChild<QComboBox*>()) {
            choice->setCurrentText(text);
            QTest::keyClick(choice, Qt::Key_Return);
            settle();
            return;
        }
        auto* editor = grid()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }

    std::unique_ptr<Dlg_System> dlg;
};

TEST_F(SystemSettings, PasswordChecksComeInOrder)
{
    open(QStringLiteral("调度"), QStringLiteral("调度"));
    struct Case {
        const char* oldText;
        const char* newText;
        const char* repeat;
        const char* message;
    };
    const QList<Case> cases = {{"", "", "", "请输入原密码"},
                               {"x", "", "", "请输入新密码"},
                               {"x", "abc", "", "请重复输入一次新密码"},
                               {"654321", "abc", "abd", "错误的原密码"},
                               {"123456", "abc", "abd", "两次输入的新密码不一致"},
                               {"123456", "ab", "ab", "密码设置过短"},
                               {"123456", "码", "码", "密码设置过短"}};
    for (const Case& c : cases) {
        boxes().clear();
        change(QString::fromUtf8(c.oldText), QString::fromUtf8(c.newText), QString::fromUtf8(c.repeat));
        ASSERT_EQ(boxes().boxes.size(), 1) << c.message;
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    }
    EXPECT_TRUE(keeps(QStringLiteral("调度"), QStringLiteral("123456")));
}

TEST_F(SystemSettings, AChangedPasswordIsStoredAndTheNextChangeChecksAgainstIt)
{
    open(QStringLiteral("调度"), QStringLiteral("调度"));
    change(QStringLiteral("123456"), QStringLiteral("abc"), QStringLiteral("abc"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("密码修改成功"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("提示"));
    EXPECT_TRUE(keeps(QStringLiteral("调度"), QStringLiteral("abc")));
    EXPECT_EQ(g_password, QStringLiteral("abc"));
    EXPECT_TRUE(edit("oldPassword")->text().isEmpty());
    EXPECT_TRUE(edit("repeatPassword")->text().isEmpty());
    // Other accounts are untouched.
    EXPECT_TRUE(keeps(QStringLiteral("财务"), QStringLiteral("123456")));

    change(QStringLiteral("123456"), QStringLiteral("码a"), QStringLiteral("码a"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("错误的原密码"));
    // Enter in the last box submits; three bytes are enough.
    edit("oldPassword")->setText(QStringLiteral("abc"));
    edit("newPassword")->setText(QStringLiteral("码a"));
    edit("repeatPassword")->setText(QStringLiteral("码a"));
    QTest::keyClick(edit("repeatPassword"), Qt::Key_Return);
    EXPECT_EQ(boxes().last().text, QStringLiteral("密码修改成功"));
    EXPECT_TRUE(keeps(QStringLiteral("调度"), QStringLiteral("码a")));
}

TEST_F(SystemSettings, EnterInTheFirstTwoBoxesDoesNothing)
{
    open(QStringLiteral("调度"), QStringLiteral("调度"));
    edit("oldPassword")->setText(QStringLiteral("123456"));
    edit("newPassword")->setText(QStringLiteral("abcd"));
    edit("repeatPassword")->setText(QStringLiteral("abcd"));
    QTest::keyClick(edit("oldPassword"), Qt::Key_Return);
    QTest::keyClick(edit("newPassword"), Qt::Key_Return);
    settle();
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(keeps(QStringLiteral("调度"), QStringLiteral("123456")));
}

TEST_F(SystemSettings, AChangeForAnAccountThatIsGoneIsNotReportedAsDone)
{
    open(QStringLiteral("调度"), QStringLiteral("调度"));
    db().exec(QStringLiteral("delete from kvc_record_user where 账号='调度'"));
    change(QStringLiteral("123456"), QStringLiteral("abcd"), QStringLiteral("abcd"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_FALSE(boxes().saw(QStringLiteral("密码修改成功")));
    EXPECT_EQ(g_password, QStringLiteral("123456"));
}

TEST_F(SystemSettings, OnlyTheTopIdentitiesSeeAndEditTheAccounts)
{
    db().exec(
        QStringLiteral("insert into kvc_record_user (账号, 密码, 权限) values ('root2', 'x', '管理员')"));
    open(QStringLiteral("董事长"), QStringLiteral("董事长"));
    EXPECT_EQ(grid()->GetItemCount(),
              db().count(QStringLiteral("from kvc_record_user where 权限<>'管理员'")));
    EXPECT_EQ(rowOf(QStringLiteral("admin")), -1);
    EXPECT_EQ(rowOf(QStringLiteral("root2")), -1);
    EXPECT_GE(rowOf(QStringLiteral("厂长")), 0);
    EXPECT_TRUE(button("addAccount")->isEnabled());
    EXPECT_TRUE(button("deleteAccount")->isEnabled());
    EXPECT_FALSE(button("saveAccounts")->isEnabled());

    open(QStringLiteral("调度"), QStringLiteral("调度"));
    EXPECT_EQ(grid()->GetItemCount(), 0);
    EXPECT_FALSE(button("addAccount")->isEnabled());
    EXPECT_FALSE(button("deleteAccount")->isEnabled());
    EXPECT_FALSE(button("saveAccounts")->isEnabled());
}

TEST_F(SystemSettings, SaveInsertsUpdatesAndDeletesThenReloads)
{
    open(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin"));
    const int users = db().count(QStringLiteral("from kvc_record_user"));
    button("addAccount")->click();
    const int added = grid()->GetItemCount() - 1;
    EXPECT_EQ(grid()->GetItemText(added, 0), QStringLiteral("新增"));
    grid()->SetItemText(added, 3, QStringLiteral("员工"));
    EXPECT_FALSE(button("saveAccounts")->isEnabled());
    // The name cell is open for typing already.
    editCell(added, 1, QStringLiteral("新人"));
    editCell(added, 2, QStringLiteral("pw1"));
    EXPECT_TRUE(button("saveAccounts")->isEnabled());

    editCell(rowOf(QStringLiteral("厂长")), 2, QStringLiteral("new-pw"));
    // The password typed is not left in sight.
    EXPECT_EQ(grid()->GetItemText(rowOf(QStringLiteral("厂长")), 2), accounts::kPasswordTyped);
    grid()->SelectRow(rowOf(QStringLiteral("运输")));
    button("deleteAccount")->click();
    EXPECT_EQ(boxes().last().text, QStringLiteral("确定删除吗？"));
    EXPECT_EQ(rowOf(QStringLiteral("运输")), -1);

    button("saveAccounts")->click();
    EXPECT_TRUE(boxes().boxes.size() == 1) << boxes().last().text.toStdString();
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_user")), users);
    EXPECT_TRUE(keeps(QStringLiteral("新人"), QStringLiteral("pw1")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 权限 from kvc_record_user where 账号='新人'")),
              QStringLiteral("员工"));
    EXPECT_TRUE(keeps(QStringLiteral("厂长"), QStringLiteral("new-pw")));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_user where 账号='运输'")), 0);
    EXPECT_TRUE(keeps(QStringLiteral("admin"), QStringLiteral("admin")));
    // Reloaded: no password shown, only that one is set; the new row carries its key now.
    for (int r = 0; r < grid()->GetItemCount(); ++r)
        EXPECT_EQ(grid()->GetItemText(r, 2), accounts::kPasswordSet);
    const int row = rowOf(QStringLiteral("新人"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(grid()->GetItemText(row, 0),
              db().scalar(QStringLiteral("select 序列号 from kvc_record_user where 账号='新人'")));
    EXPECT_FALSE(button("saveAccounts")->isEnabled());
}

TEST_F(SystemSettings, ARefusedSaveLeavesNothingHalfDone)
{
    open(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin"));
    const QList<QStringList> before =
        db().rows(QStringLiteral("select * from kvc_record_user order by 序列号"));
    editCell(rowOf(QStringLiteral("厂长")), 2, QStringLiteral("changed"));
    grid()->SelectRow(rowOf(QStringLiteral("运输")));
    button("deleteAccount")->click();

    struct Case {
        QStringList cells;
        const char* message;
    };
    // Case-insensitive like the server: "ADMIN" is taken by admin.
    const QList<Case> cases = {
        {{QStringLiteral("新增"), QStringLiteral("甲"), QString(), QStringLiteral("员工")}, "必填项不能为空"},
        {{QStringLiteral("新增"), QStringLiteral("ADMIN"), accounts::kPasswordTyped, QStringLiteral("员工"),
          QStringLiteral("p")},
         "账号不能重复"}};
    for (const Case& c : cases) {
        boxes().clear();
        grid()->AppendItem(c.cells);
        const int last = grid()->GetItemCount() - 1;
        editCell(last, 1, c.cells[1]);
        button("saveAccounts")->click();
        ASSERT_EQ(boxes().boxes.size(), 1);
        EXPECT_EQ(boxes().last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_EQ(grid()->GetSelectedRow(), last);
        EXPECT_EQ(db().rows(QStringLiteral("select * from kvc_record_user order by 序列号")), before)
            << c.message;
        grid()->DeleteItem(last);
    }

    // A rename onto a name in use: refused in the user's words, not the server's.
    boxes().clear();
    const int renamed = rowOf(QStringLiteral("财务"));
    editCell(renamed, 1, QStringLiteral("调度"));
    button("saveAccounts")->click();
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("账号不能重复"));
    EXPECT_EQ(grid()->GetSelectedRow(), renamed);
    EXPECT_EQ(db().rows(QStringLiteral("select * from kvc_record_user order by 序列号")), before);
    // The edits stay for the user to mend, and saving stays possible.
    EXPECT_EQ(grid()->GetItemText(renamed, 1), QStringLiteral("调度"));
    EXPECT_TRUE(button("saveAccounts")->isEnabled());
}

TEST_F(SystemSettings, DeletingNeedsASelectedRowAndAConfirmation)
{
    open(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin"));
    const int rows = grid()->GetItemCount();
    button("deleteAccount")->click();
    EXPECT_EQ(boxes().last().text, QStringLiteral("请选择一行记录"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    grid()->SelectRow(0);
    boxes().answer({false});
    button("deleteAccount")->click();
    EXPECT_EQ(boxes().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(grid()->GetItemCount(), rows);
    EXPECT_FALSE(button("saveAccounts")->isEnabled());
}

// Two administrators edit the same account at once: each save writes only the cells it
// changed, and only while they still hold what was loaded; a cell the other changed first
// is refused and the grid shows the accounts as they are now.
TEST_F(SystemSettings, TwoAdministratorsNeverUndoEachOthersEdits)
{
    mySQLTool other;
    ASSERT_TRUE(db().connect(other));
    QList<QStringList> loaded;
    ASSERT_TRUE(accounts::load(other, loaded));
    open(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin"));
    const int row = rowOf(QStringLiteral("厂长"));
    const int otherRow = static_cast<int>(
        std::find_if(loaded.begin(), loaded.end(),
                     [](const QStringList& r) { return r.value(1) == QStringLiteral("厂长"); }) -
        loaded.begin());

    // The other one changes the password; this one the identity: both stay.
    QList<QStringList> edited = loaded;
    edited[otherRow][accounts::kNewPassword] = QStringLiteral("other-pw");
    ASSERT_TRUE(accounts::save(other, g_account, loaded, edited).outcome.ok());
    editCell(row, 3, QStringLiteral("财务"));
    button("saveAccounts")->click();
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
    EXPECT_TRUE(keeps(QStringLiteral("厂长"), QStringLiteral("other-pw")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 权限 from kvc_record_user where 账号='厂长'")),
              QStringLiteral("财务"));

    // Both rename it: the second is refused and sees the first one's.
    ASSERT_TRUE(accounts::load(other, loaded));
    edited = loaded;
    edited[otherRow][1] = QStringLiteral("厂长甲");
    ASSERT_TRUE(accounts::save(other, g_account, loaded, edited).outcome.ok());
    editCell(row, 1, QStringLiteral("厂长乙"));
    button("saveAccounts")->click();
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(boxes().last().text, accounts::kAccountTaken);
    EXPECT_GE(rowOf(QStringLiteral("厂长甲")), 0);
    EXPECT_FALSE(button("saveAccounts")->isEnabled());
}

// 增加 puts the new row in view with its name cell open for typing; closing with edits
// not saved asks first.
TEST_F(SystemSettings, ANewRowIsReadyForTypingAndUnsavedEditsAreNotClosedAway)
{
    for (int i = 0; i < 30; ++i)
        db().exec(
            QStringLiteral("insert into kvc_record_user (账号, 密码, 权限) values ('员工%1', 'x', '员工')")
                .arg(i));
    open(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin"));
    button("addAccount")->click();
    settle();
    const int added = grid()->GetItemCount() - 1;
    EXPECT_EQ(grid()->GetSelectedRow(), added);
    EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(added, 1));
    EXPECT_TRUE(grid()->IsEditing());
    EXPECT_TRUE(grid()->viewport()->rect().intersects(grid()->visualRect(grid()->currentIndex())));

    auto* editor = grid()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("新人"));
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    boxes().answer({false});
    dlg->reject();
    EXPECT_EQ(boxes().last().text, QStringLiteral("放弃所做的修改吗？"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("提示"));
    EXPECT_TRUE(dlg->isVisible());
    boxes().answer({true});
    dlg->reject();
    EXPECT_FALSE(dlg->isVisible());

    // Nothing to lose: it closes at once.
    open(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("admin"));
    boxes().clear();
    dlg->reject();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

}  // namespace

// The PC's tickets: saved into Config.ini beside what it holds, and read back at the next start.
TEST_F(SystemSettings, TicketChoicesAreThePcsOwnAndComeBackAtTheNextStart)
{
    QTemporaryDir dir;
    g_workPath = dir.path() + QLatin1Char('/');
    QFile ini(ConfigFileName());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[DATABASE]\r\nIP=abc\r\n");
    ini.close();

    LoadTicketSettings();  // none there: labels, no printing on its own
    EXPECT_EQ(tickets::settings().layout, tickets::Layout::Label);
    EXPECT_FALSE(tickets::settings().autoPrint);

    open(QStringLiteral("员工"), QStringLiteral("员工"));
    dlg->findChild<QRadioButton*>(QStringLiteral("sheetRadio"))->click();
    dlg->findChild<QCheckBox*>(QStringLiteral("autoPrintCheck"))->setChecked(true);
    button("saveTicketSettings")->click();
    EXPECT_EQ(boxes().last().text, "流水卡设置已保存");

    tickets::setSettings(tickets::Settings());
    LoadTicketSettings();
    EXPECT_EQ(tickets::settings().layout, tickets::Layout::Sheet);
    EXPECT_TRUE(tickets::settings().autoPrint);
    EXPECT_EQ(IniFile(ConfigFileName()).value(QStringLiteral("DATABASE"), QStringLiteral("IP")), "abc");
    tickets::setSettings(tickets::Settings());
    g_workPath.clear();
}
