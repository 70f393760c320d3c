// The condition panel: which rows count, the first missing input's message, a setter's refusal,
// optional rows and rows of one mode only.
#include "parts/ConditionPanel.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>

namespace {

struct Filter {
    QStringList taken;
};

}  // namespace

TEST(ConditionPanel, ReadsTickedRowsInOrderAndStopsAtTheFirstMissingOrRefusedInput)
{
    kvtest::PromptScope scope;
    QWidget w;
    QCheckBox a(&w), b(&w), c(&w);
    QLineEdit aText(&w), bText(&w), cText(&w);
    bool modeOn = true;
    ConditionPanel<Filter> panel;
    panel.edit(&a, &aText, "缺A", [](Filter& f, const QString& v) { f.taken << QStringLiteral("a") + v; })
        .edit(&b, &bText, "",
              [](Filter& f, const QString& v) {
                  f.taken << QStringLiteral("b") + v;
                  return v == QStringLiteral("0") ? QStringLiteral("错误的B") : QString();
              })
        .edit(&c, &cText, "缺C", [](Filter& f, const QString& v) { f.taken << QStringLiteral("c") + v; })
        .onlyWhile([&modeOn] { return modeOn; });

    struct Case {
        const char* name;
        bool a, b, c, mode;
        const char *aText, *bText, *cText;
        const char* message;  // shown instead of a filter; empty: the filter is read
        const char* taken;
    };
    const Case cases[] = {
        {"none ticked", false, false, false, true, "x", "y", "z", "", ""},
        {"all, in order", true, true, true, true, "1", "2", "3", "", "a1 b2 c3"},
        {"unticked input ignored", false, true, false, true, "1", "2", "3", "", "b2"},
        {"missing first wins", true, false, true, true, "", "", "", "缺A", ""},
        {"optional row without input", false, true, true, true, "", "", "3", "", "c3"},
        {"setter refuses", true, true, true, true, "1", "0", "", "错误的B", ""},
        {"row of the other mode", false, false, true, false, "", "", "", "", ""},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        scope.prompt.clear();
        a.setChecked(t.a);
        b.setChecked(t.b);
        c.setChecked(t.c);
        modeOn = t.mode;
        aText.setText(QString::fromUtf8(t.aText));
        bText.setText(QString::fromUtf8(t.bText));
        cText.setText(QString::fromUtf8(t.cText));
        // The switch unlocks its input, and only it.
        EXPECT_EQ(aText.isEnabled(), t.a);
        const std::optional<Filter> f = panel.read();
        const QString message = QString::fromUtf8(t.message);
        EXPECT_EQ(f.has_value(), message.isEmpty());
        EXPECT_EQ(scope.prompt.last().text, message);
        if (f) {
            EXPECT_EQ(f->taken.join(QLatin1Char(' ')), QString::fromUtf8(t.taken));
        }
    }
}
