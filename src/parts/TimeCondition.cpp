#include "parts/TimeCondition.h"

#include "db/Conditions.h"
#include "db/TimeText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QRadioButton>
#include <QTimeEdit>

TimeCondition::TimeCondition(const QString& switchCaption, const QString& name, Pair afterPair,
                             Pair beforePair, QWidget* parent, const TimeCaptions& captions)
    : QWidget(parent), afterPair_(afterPair), beforePair_(beforePair)
{
    setObjectName(name);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    if (!switchCaption.isEmpty()) {
        switch_ = new QCheckBox(switchCaption, this);
        switch_->setObjectName(name + QStringLiteral("Switch"));
        grid->addWidget(switch_, 0, 0, 1, 3);
    }
    const auto radio = [&](const QString& caption, const char* suffix) {
        auto* r = new QRadioButton(caption, this);
        r->setObjectName(name + QLatin1String(suffix));
        return r;
    };
    after_ = radio(captions.after, "After");
    before_ = radio(captions.before, "Before");
    within_ = radio(captions.within, "Within");
    auto* group = new QButtonGroup(this);
    int column = 0;
    for (QRadioButton* r : {after_, before_, within_}) {
        group->addButton(r);
        grid->addWidget(r, 1, column++);
    }
    const QDateTime now = kvclock::now();
    for (int p : {First, Second}) {
        const QString which = p == First ? QStringLiteral("First") : QStringLiteral("Second");
        dates_[p] = new QDateEdit(now.date(), this);
        dates_[p]->setObjectName(name + which + QStringLiteral("Date"));
        dates_[p]->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        dates_[p]->setCalendarPopup(true);
        dates_[p]->setAccessibleName(p == First ? QStringLiteral("起始日期") : QStringLiteral("截止日期"));
        times_[p] = new QTimeEdit(now.time(), this);
        times_[p]->setObjectName(name + which + QStringLiteral("Time"));
        times_[p]->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        times_[p]->setAccessibleName(p == First ? QStringLiteral("起始时间") : QStringLiteral("截止时间"));
        grid->addWidget(dates_[p], 2 + p, 0, 1, 2);
        grid->addWidget(times_[p], 2 + p, 2);
    }
    if (switch_)
        connect(switch_, &QCheckBox::toggled, this, &TimeCondition::setActive);
    for (QRadioButton* r : {after_, before_, within_})
        connect(r, &QRadioButton::toggled, this, &TimeCondition::update);
    setActive(switch_ == nullptr);
}

QRadioButton* TimeCondition::radio(Range r) const
{
    switch (r) {
        case Range::After:
            return after_;
        case Range::Before:
            return before_;
        case Range::Within:
            return within_;
        case Range::None:
            break;
    }
    return nullptr;
}

bool TimeCondition::ticked() const
{
    return switch_ ? switch_->isChecked() : active_;
}

TimeCondition::Range TimeCondition::range() const
{
    if (after_->isChecked())
        return Range::After;
    if (before_->isChecked())
        return Range::Before;
    if (within_->isChecked())
        return Range::Within;
    return Range::None;
}

void TimeCondition::setActive(bool on)
{
    active_ = on;
    update();
}

void TimeCondition::update()
{
    for (QRadioButton* r : {after_, before_, within_})
        r->setEnabled(active_);
    const Range r = range();
    bool pair[2] = {false, false};
    if (active_) {
        pair[afterPair_] |= r == Range::After;
        pair[beforePair_] |= r == Range::Before;
        pair[First] |= r == Range::Within;
        pair[Second] |= r == Range::Within;
    }
    for (int p : {First, Second}) {
        dates_[p]->setEnabled(pair[p]);
        times_[p]->setEnabled(pair[p]);
    }
}

void TimeCondition::setMoment(Pair p, const QDateTime& at)
{
    dates_[p]->setDate(at.date());
    times_[p]->setTime(at.time());
}

QString TimeCondition::moment(Pair p) const
{
    return dates_[p]->date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           times_[p]->time().toString(QStringLiteral("HH:mm:ss"));
}

bool TimeCondition::append(Conditions& where, const char* table, const char* after, const char* before,
                           const char* within) const
{
    switch (range()) {
        case Range::After:
            where.add(after, table, afterMoment());
            return true;
        case Range::Before:
            where.add(before, table, beforeMoment());
            return true;
        case Range::Within:
            where.add(within, table, moment(First), table, moment(Second));
            return true;
        case Range::None:
            break;
    }
    return false;
}
