// Time conditions: which pickers each radio button enables and the fragment it adds.
#include "db/Conditions.h"
#include "parts/TimeCondition.h"
#include "support/DbTest.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTimeEdit>

using kvtest::DbTest;

namespace {
class Time : public DbTest {};
}  // namespace

TEST_F(Time, EachRangeEnablesItsPairsAndAddsItsFragment)
{
    // Moments never follow the desktop's date format.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The piece-work inquiry's mapping: after compares with the second pair, before with the first.
    TimeCondition t(QStringLiteral("选择完成时间"), QStringLiteral("time"), TimeCondition::Second,
                    TimeCondition::First);
    t.setMoment(TimeCondition::First, QDateTime(QDate(2026, 3, 5), QTime(7, 8, 9)));
    t.setMoment(TimeCondition::Second, QDateTime(QDate(2026, 12, 31), QTime(23, 0, 0)));
    QLocale::setDefault(QLocale::c());

    const auto enabled = [&](TimeCondition::Pair p) {
        return t.date(p)->isEnabled() && t.time(p)->isEnabled();
    };
    // Unticked: nothing can be chosen.
    EXPECT_FALSE(t.radio(TimeCondition::Range::After)->isEnabled());
    t.switchBox()->setChecked(true);
    EXPECT_TRUE(t.radio(TimeCondition::Range::After)->isEnabled());
    EXPECT_FALSE(enabled(TimeCondition::First) || enabled(TimeCondition::Second));
    Conditions none(g_sqlTool);
    EXPECT_FALSE(t.append(none, "kvc_record_mission", "%s.完成时间>'%s'", "%s.完成时间<'%s'",
                          "%s.完成时间>'%s' and %s.完成时间<'%s'"));
    EXPECT_TRUE(none.empty());

    struct Case {
        TimeCondition::Range range;
        bool first, second;
        const char* fragment;
    };
    const Case cases[] = {
        {TimeCondition::Range::After, false, true, "m.完成时间>'2026-12-31 23:00:00'"},
        {TimeCondition::Range::Before, true, false, "m.完成时间<'2026-03-05 07:08:09'"},
        {TimeCondition::Range::Within, true, true,
         "m.完成时间>'2026-03-05 07:08:09' and m.完成时间<'2026-12-31 23:00:00'"},
    };
    for (const Case& c : cases) {
        t.radio(c.range)->setChecked(true);
        EXPECT_EQ(enabled(TimeCondition::First), c.first);
        EXPECT_EQ(enabled(TimeCondition::Second), c.second);
        Conditions where(g_sqlTool);
        ASSERT_TRUE(t.append(where, "m", "%s.完成时间>'%s'", "%s.完成时间<'%s'",
                             "%s.完成时间>'%s' and %s.完成时间<'%s'"));
        EXPECT_EQ(where.text().text(), QString::fromUtf8(c.fragment));
    }
    // Unticking again disables the radios and the pickers alike.
    t.switchBox()->setChecked(false);
    EXPECT_FALSE(t.radio(TimeCondition::Range::Within)->isEnabled());
    EXPECT_FALSE(enabled(TimeCondition::First) || enabled(TimeCondition::Second));
}
