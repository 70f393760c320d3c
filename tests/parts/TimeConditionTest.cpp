// Time conditions: which pickers each radio button enables and the moments it gives.
#include "parts/TimeCondition.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDateEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTimeEdit>

TEST(Time, EachRangeEnablesItsPairsAndGivesItsMoments)
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
    EXPECT_TRUE(t.moments().empty());

    const QString first = QStringLiteral("2026-03-05 07:08:09");
    const QString second = QStringLiteral("2026-12-31 23:00:00");
    struct Case {
        TimeCondition::Range range;
        bool first, second;
        std::optional<QString> after, before;
    };
    const Case cases[] = {
        {TimeCondition::Range::After, false, true, second, std::nullopt},
        {TimeCondition::Range::Before, true, false, std::nullopt, first},
        {TimeCondition::Range::Within, true, true, first, second},
    };
    for (const Case& c : cases) {
        t.radio(c.range)->setChecked(true);
        EXPECT_EQ(enabled(TimeCondition::First), c.first);
        EXPECT_EQ(enabled(TimeCondition::Second), c.second);
        EXPECT_EQ(t.moments().after, c.after);
        EXPECT_EQ(t.moments().before, c.before);
    }
    // Dates only: the moments are days.
    t.setDatesOnly();
    EXPECT_EQ(t.moments().after, QStringLiteral("2026-03-05"));
    // Unticking again disables the radios and the pickers alike.
    t.switchBox()->setChecked(false);
    EXPECT_FALSE(t.radio(TimeCondition::Range::Within)->isEnabled());
    EXPECT_FALSE(enabled(TimeCondition::First) || enabled(TimeCondition::Second));
    t.clearRange();
    EXPECT_EQ(t.range(), TimeCondition::Range::None);
}
