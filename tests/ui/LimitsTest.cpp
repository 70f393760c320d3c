#include "db/KvMessage.h"
#include "support/ScriptedPrompt.h"
#include "ui/AppState.h"
#include "ui/Dlg_Limits.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <functional>

namespace {

// An owner that records the messages posted to it.
class Owner : public QWidget {
public:
    QList<std::pair<int, int>> received;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == KvMessage::kType) {
            const auto* m = static_cast<KvMessage*>(e);
            received.append({m->code(), m->value()});
            return true;
        }
        return QWidget::event(e);
    }
};

class Limits : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_limitPassword = QStringLiteral("left over");
        prompt = std::make_unique<Dlg_Limits>(&owner);
        edit = prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit"));
        ok = prompt->findChild<QPushButton*>(QStringLiteral("okButton"));
        cancel = prompt->findChild<QPushButton*>(QStringLiteral("cancelButton"));
        ASSERT_TRUE(edit && ok && cancel);
        owner.show();
        prompt->ask();
    }
    void TearDown() override { g_limitPassword.clear(); }

    kvtest::PromptScope boxes;
    Owner owner;
    std::unique_ptr<Dlg_Limits> prompt;
    QLineEdit* edit = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

}  // namespace

TEST_F(Limits, EmptyPasswordStaysOpenWithAMessageAndPostsNothing)
{
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    ok->click();
    QApplication::processEvents();
    ASSERT_EQ(boxes.prompt.boxes.size(), 1);
    EXPECT_EQ(boxes.prompt.last().text, QStringLiteral("密码不能为空"));
    EXPECT_EQ(boxes.prompt.last().caption, QStringLiteral("错误"));
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_TRUE(owner.received.isEmpty());
    EXPECT_TRUE(g_limitPassword.isEmpty());
}

TEST_F(Limits, TypedPasswordIsHandedToTheOwnerByAPostedMessage)
{
    // Typed and confirmed with Enter, as a user does.
    QTest::keyClicks(edit, QStringLiteral("88'\\88"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(g_limitPassword, QStringLiteral("88'\\88"));
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_TRUE(edit->text().isEmpty());
    // Posted, not sent: it arrives once control is back in the event loop.
    EXPECT_TRUE(owner.received.isEmpty());
    QApplication::processEvents();
    ASSERT_EQ(owner.received.size(), 1);
    EXPECT_EQ(owner.received[0], std::make_pair(Dlg_Limits::kPasswordTyped, 1));
    EXPECT_TRUE(boxes.prompt.boxes.isEmpty());

    // Asked again: the box starts empty and the second text replaces the first.
    prompt->ask();
    EXPECT_TRUE(prompt->isVisible());
    edit->setText(QStringLiteral("x"));
    ok->click();
    QApplication::processEvents();
    EXPECT_EQ(g_limitPassword, QStringLiteral("x"));
    EXPECT_EQ(owner.received.size(), 2);
}

TEST_F(Limits, CancelHidesWithoutPosting)
{
    edit->setText(QStringLiteral("8888"));
    cancel->click();
    QApplication::processEvents();
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_TRUE(owner.received.isEmpty());
    EXPECT_TRUE(boxes.prompt.boxes.isEmpty());
    // Escape is the same as cancel.
    prompt->ask();
    QTest::keyClick(edit, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_TRUE(owner.received.isEmpty());
}

// However the prompt went, it opens empty the next time: nobody finds a password typed
// before and presses Enter.
TEST_F(Limits, ThePromptForgetsWhatWasTypedWheneverItCloses)
{
    const QList<std::pair<const char*, std::function<void()>>> ways = {
        {"取消", [this] { cancel->click(); }},
        {"Escape", [this] { QTest::keyClick(edit, Qt::Key_Escape); }},
        {"close box", [this] { prompt->close(); }},
    };
    for (const auto& [way, close] : ways) {
        edit->setText(QStringLiteral("8888"));
        close();
        EXPECT_FALSE(prompt->isVisible()) << way;
        prompt->ask();
        EXPECT_TRUE(edit->text().isEmpty()) << way;
    }
    EXPECT_TRUE(owner.received.isEmpty());
}