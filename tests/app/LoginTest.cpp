#include "AppTestSupport.h"
#include "app/Dlg_Cover.h"
#include "db/Gbk.h"
#include "db/mySQLTool.h"

#include <sys/stat.h>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using apptest::settle;

namespace {

// The exchange between the log-in window and a main window, on the demo accounts.
class Login : public apptest::AppTest {
protected:
    Login() : AppTest(true) {}
    void SetUp() override
    {
        AppTest::SetUp();
        g_account.clear();
        g_identity.clear();
        // Started as the program starts: the connection of Config.ini, the cipher library.
        writeTestServerSettings();
        main = std::make_unique<CKvClientDlg>(options());
        ASSERT_TRUE(main->Open());
        openCover();
    }
    void TearDown() override
    {
        cover.reset();
        main.reset();
        AppTest::TearDown();
    }
    void openCover()
    {
        cover.reset();
        cover = std::make_unique<Dlg_Cover>(main.get(), &main->cipher());
        cover->show();
        settle();
    }
    QLineEdit* account() { return cover->findChild<QLineEdit*>(QStringLiteral("account")); }
    QLineEdit* password() { return cover->findChild<QLineEdit*>(QStringLiteral("password")); }
    QCheckBox* box(const char* name) { return cover->findChild<QCheckBox*>(QString::fromLatin1(name)); }
    void submit(const QString& a, const QString& p)
    {
        account()->setText(a);
        password()->setText(p);
        cover->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        settle();
    }

    std::unique_ptr<CKvClientDlg> main;
    std::unique_ptr<Dlg_Cover> cover;
};

TEST_F(Login, EmptyFieldsAreRefusedBeforeAnythingIsAsked)
{
    submit(QString(), QStringLiteral("123456"));
    submit(QStringLiteral("调度"), QString());
    ASSERT_EQ(boxes().boxes.size(), 2);
    for (const auto& b : boxes().boxes) {
        EXPECT_EQ(b.text, QStringLiteral("请输入账号和密码登录"));
        EXPECT_EQ(b.caption, QStringLiteral("提示"));
    }
    EXPECT_TRUE(cover->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(g_identity.isEmpty());
}

TEST_F(Login, WrongPasswordsAreRefusedAndTheAccountFollowsTheServersComparison)
{
    for (const QString& wrong :
         {QStringLiteral("wrong"), QStringLiteral("ADMIN"), QStringLiteral("admin ")}) {
        boxes().clear();
        submit(QStringLiteral("admin"), wrong);
        ASSERT_EQ(boxes().boxes.size(), 1) << wrong.toStdString();
        EXPECT_EQ(boxes().last().text, QStringLiteral("错误的账号或密码"));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_TRUE(cover->isVisible());
        EXPECT_TRUE(g_identity.isEmpty());
        EXPECT_FALSE(main->action(32798)->isEnabled());
    }
    boxes().clear();
    submit(QStringLiteral("nobody"), QStringLiteral("123456"));
    EXPECT_EQ(boxes().last().text, QStringLiteral("错误的账号或密码"));

    boxes().clear();
    submit(QStringLiteral("ADMIN"), QStringLiteral("admin"));
    // Only the owner's notice of the three wrong tries.
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(cover->result(), QDialog::Accepted);
    EXPECT_EQ(g_account, QStringLiteral("ADMIN"));
    EXPECT_EQ(g_identity, QStringLiteral("管理员"));
}

TEST_F(Login, SigningInIsAPostedExchangeThatShowsTheMainWindowWithItsMenus)
{
    account()->setText(QStringLiteral("调度"));
    password()->setText(QStringLiteral("123456"));
    // Enter in the password box submits.
    QTest::keyClick(password(), Qt::Key_Return);
    EXPECT_TRUE(g_identity.isEmpty());  // nothing answered yet: the message is posted
    EXPECT_EQ(g_account, QStringLiteral("调度"));
    settle();
    EXPECT_EQ(g_identity, QStringLiteral("调度"));
    EXPECT_EQ(g_password, QStringLiteral("123456"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(cover->isVisible());
    EXPECT_EQ(cover->result(), QDialog::Accepted);
    EXPECT_TRUE(main->action(32788)->isEnabled());
    EXPECT_FALSE(main->action(32798)->isEnabled());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(Login, EnterInTheAccountBoxSubmitsToo)
{
    account()->setText(QStringLiteral("财务"));
    password()->setText(QStringLiteral("123456"));
    QTest::keyClick(account(), Qt::Key_Enter);
    settle();
    EXPECT_EQ(g_identity, QStringLiteral("财务"));
}

TEST_F(Login, RememberedLogInIsWrittenOwnerOnlyAndUncheckedNamesAreDeleted)
{
    // An earlier run remembered both; the database settings must survive the rewrite.
    {
        IniFile ini(configFile());
        ini.setValue(QStringLiteral("DATABASE"), QStringLiteral("IP"), QStringLiteral("enciphered=="));
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Save"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Name"), QStringLiteral("厂长"));
        ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Save"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Name"), QStringLiteral("old"));
        ASSERT_TRUE(ini.save());
    }
    openCover();
    EXPECT_EQ(account()->text(), QStringLiteral("厂长"));
    // A password an earlier version remembered plain is not taken.
    EXPECT_TRUE(password()->text().isEmpty());
    EXPECT_TRUE(box("saveAccount")->isChecked());
    EXPECT_TRUE(box("savePassword")->isChecked());

    QTest::mouseClick(box("savePassword"), Qt::LeftButton);
    EXPECT_EQ(g_savePassword, 0);
    EXPECT_EQ(g_saveAccount, 1);
    submit(QStringLiteral("调度"), QStringLiteral("123456"));
    ASSERT_EQ(g_identity, QStringLiteral("调度"));

    const IniFile ini(configFile());
    EXPECT_EQ(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Save")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Name")), QStringLiteral("调度"));
    EXPECT_EQ(ini.value(QStringLiteral("PASSWORD"), QStringLiteral("Save")), QStringLiteral("0"));
    EXPECT_FALSE(ini.contains(QStringLiteral("PASSWORD"), QStringLiteral("Name")));
    EXPECT_EQ(ini.value(QStringLiteral("DATABASE"), QStringLiteral("IP")), QStringLiteral("enciphered=="));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(configFile()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // The next opening shows the remembered account and an empty password box.
    openCover();
    EXPECT_EQ(account()->text(), QStringLiteral("调度"));
    EXPECT_TRUE(password()->text().isEmpty());
    EXPECT_FALSE(box("savePassword")->isChecked());

    // Neither remembered: both names go.
    QTest::mouseClick(box("saveAccount"), Qt::LeftButton);
    submit(QStringLiteral("调度"), QStringLiteral("123456"));
    const IniFile after(configFile());
    EXPECT_EQ(after.value(QStringLiteral("ACCOUNT"), QStringLiteral("Save")), QStringLiteral("0"));
    EXPECT_FALSE(after.contains(QStringLiteral("ACCOUNT"), QStringLiteral("Name")));
}

TEST_F(Login, ARefusedSignInWritesNoRememberedLogIn)
{
    QTest::mouseClick(box("saveAccount"), Qt::LeftButton);
    submit(QStringLiteral("调度"), QStringLiteral("bad"));
    EXPECT_FALSE(IniFile(configFile()).contains(QStringLiteral("ACCOUNT"), QStringLiteral("Save")));
}

TEST_F(Login, GivingUpEndsTheProgram)
{
    ASSERT_TRUE(g_sqlTool.IsConnected());
    cover->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    settle();
    EXPECT_EQ(cover->result(), QDialog::Rejected);
    EXPECT_TRUE(main->closed());
    EXPECT_FALSE(g_sqlTool.IsConnected());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(Login, AFailingQueryShowsTheServersTextThenTheRefusal)
{
    db().exec(QStringLiteral("rename table kvc_record_user to kvc_record_user_gone"));
    submit(QStringLiteral("调度"), QStringLiteral("123456"));
    ASSERT_EQ(boxes().boxes.size(), 2);
    EXPECT_EQ(boxes().boxes[0].caption, QStringLiteral("Error"));
    EXPECT_TRUE(boxes().boxes[0].text.contains(QStringLiteral("kvc_record_user")));
    EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("错误的账号或密码"));
    EXPECT_TRUE(cover->isVisible());
}

TEST(IniFileFormat, ReadsWindowsStyleFilesAndKeepsWhatItDoesNotKnow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; settings\r\n[Account]\r\n save = 1 \r\nName=\" spaced \"\r\n[OTHER]\r\nkey=a=b\r\n");
    }
    IniFile ini(path);
    EXPECT_EQ(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Save")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("account"), QStringLiteral("NAME")), QStringLiteral(" spaced "));
    EXPECT_EQ(ini.value(QStringLiteral("OTHER"), QStringLiteral("key")), QStringLiteral("a=b"));
    EXPECT_EQ(ini.value(QStringLiteral("NONE"), QStringLiteral("key"), QStringLiteral("x")),
              QStringLiteral("x"));

    // A value cannot add lines of its own; blanks at its ends survive a round trip.
    ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Name"),
                 QStringLiteral(" a\n[DATABASE]\nIP=evil "));
    ini.setValue(QStringLiteral("PASSWORD"), QStringLiteral("Save"), QStringLiteral("0"));
    ini.remove(QStringLiteral("OTHER"), QStringLiteral("KEY"));
    ASSERT_TRUE(ini.save());
    const IniFile back(path);
    EXPECT_EQ(back.value(QStringLiteral("ACCOUNT"), QStringLiteral("Name")),
              QStringLiteral(" a [DATABASE] IP=evil "));
    EXPECT_FALSE(back.contains(QStringLiteral("DATABASE"), QStringLiteral("IP")));
    EXPECT_FALSE(back.contains(QStringLiteral("OTHER"), QStringLiteral("key")));
    EXPECT_EQ(back.value(QStringLiteral("PASSWORD"), QStringLiteral("Save")), QStringLiteral("0"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("; settings\r\n[Account]\r\n save = 1 \r\n"));
}

// The box to type into is the one still empty: the password when the account is
// remembered, and after a refusal the password, selected for typing again.
TEST_F(Login, TheFocusIsWhereTheNextTypingGoes)
{
    EXPECT_EQ(cover->focusWidget(), account());
    {
        IniFile ini(configFile());
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Save"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("ACCOUNT"), QStringLiteral("Name"), QStringLiteral("调度"));
        ASSERT_TRUE(ini.save());
    }
    openCover();
    EXPECT_EQ(cover->focusWidget(), password());

    account()->setFocus();
    submit(QStringLiteral("调度"), QStringLiteral("wrong"));
    ASSERT_EQ(boxes().last().text, QStringLiteral("错误的账号或密码"));
    EXPECT_EQ(cover->focusWidget(), password());
    EXPECT_EQ(password()->selectedText(), QStringLiteral("wrong"));
}

// A remembered log-in that cannot be written says so; the sign-in itself goes on.
TEST_F(Login, ARememberedLogInThatCannotBeSavedSaysSo)
{
    QTest::mouseClick(box("saveAccount"), Qt::LeftButton);
    g_workPath = dir.filePath(QStringLiteral("gone/"));
    submit(QStringLiteral("调度"), QStringLiteral("123456"));
    EXPECT_EQ(g_identity, QStringLiteral("调度"));
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_TRUE(boxes().last().text.startsWith(QStringLiteral("登录信息无法保存到")))
        << boxes().last().text.toStdString();
}

// Notepad saves as UTF-16 ("Unicode") or GBK ("ANSI"); old editors end lines with CR.
TEST(IniFileFormat, ReadsUtf16GbkAndLinesEndedByCarriageReturns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    const QString text = QStringLiteral("[ACCOUNT]\rSave=1\rName=厂长\r[PASSWORD]\rName=x\r");
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    QByteArray gbk;
    ASSERT_TRUE(Gbk::encode(text, gbk));
    const QList<QByteArray> files = {QByteArray("\xFF\xFE") + QByteArray(utf16(text)), gbk, text.toUtf8()};
    for (const QByteArray& bytes : files) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const IniFile ini(path);
        EXPECT_EQ(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Save")), QStringLiteral("1"));
        EXPECT_EQ(ini.value(QStringLiteral("ACCOUNT"), QStringLiteral("Name")), QStringLiteral("厂长"));
        EXPECT_EQ(ini.value(QStringLiteral("PASSWORD"), QStringLiteral("Name")), QStringLiteral("x"));
    }
}

}  // namespace

namespace {

// A password an earlier version stored plain signs in once and is replaced by its hash.
TEST_F(Login, APlainStoredPasswordSignsInAndIsHashed)
{
    db().exec(QStringLiteral("update kvc_record_user set 密码='old-plain' where 账号='调度'"));
    submit(QStringLiteral("调度"), QStringLiteral("old-plain"));
    ASSERT_EQ(g_identity, QStringLiteral("调度"));
    const QString stored = db().scalar(QStringLiteral("select 密码 from kvc_record_user where 账号='调度'"));
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$"))) << stored.toStdString();
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

// Guessing is slowed on the server: after five wrong passwords each try waits, and the owner
// is told at his next sign-in how many there were.
TEST_F(Login, WrongPasswordsAreSlowedAndToldToTheOwner)
{
    for (int i = 0; i < 5; ++i)
        submit(QStringLiteral("财务"), QStringLiteral("guess%1").arg(i));
    boxes().clear();
    submit(QStringLiteral("财务"), QStringLiteral("123456"));
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_TRUE(boxes().last().text.startsWith(QStringLiteral("该账号连续输错密码的次数太多，请")))
        << boxes().last().text.toStdString();
    EXPECT_TRUE(g_identity.isEmpty());
    EXPECT_TRUE(cover->isVisible());

    db().exec(QStringLiteral("update kvc_record_user set 错误时间=now() - interval 1 hour"));
    boxes().clear();
    submit(QStringLiteral("财务"), QStringLiteral("123456"));
    EXPECT_EQ(g_identity, QStringLiteral("财务"));
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_EQ(boxes().last().text, QStringLiteral("自上次登录以来，有人用错误的密码尝试登录您的账号5次"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 错误次数 from kvc_record_user where 账号='财务'")),
              QStringLiteral("0"));
}

// The remembered password is enciphered, for this computer, user and folder only.
TEST_F(Login, ARememberedPasswordOpensOnlyInItsOwnFolder)
{
    QTest::mouseClick(box("saveAccount"), Qt::LeftButton);
    QTest::mouseClick(box("savePassword"), Qt::LeftButton);
    submit(QStringLiteral("调度"), QStringLiteral("123456"));
    ASSERT_EQ(g_identity, QStringLiteral("调度"));
    const QString kept = IniFile(configFile()).value(QStringLiteral("PASSWORD"), QStringLiteral("Name"));
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_FALSE(kept.contains(QStringLiteral("123456")));
    openCover();
    EXPECT_EQ(password()->text(), QStringLiteral("123456"));

    // The same Config.ini in another folder.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::copy(configFile(), elsewhere.filePath(QStringLiteral("Config.ini"))));
    g_workPath = elsewhere.path() + QLatin1Char('/');
    openCover();
    EXPECT_EQ(account()->text(), QStringLiteral("调度"));
    EXPECT_TRUE(password()->text().isEmpty());
}

}  // namespace
