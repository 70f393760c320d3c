#include "parts/TimeCondition.h"

#include "db/TimeText.h"
#include "ui/Controls.h"

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
        switch_ = makeCheckBox(switchCaption, (name + QStringLiteral("Switch")).toLatin1().constData(), this);
        grid->addWidget(switch_, 0, 0, 1, 3);
    }
    const auto radio = [&](const QString& caption, const char* suffix) {
        return makeRadio(caption, (name + QLatin1String(suffix)).toLatin1().constData(), this);
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
        const QString which = name + (p == First ? QStringLiteral("First") : QStringLiteral("Second"));
        dates_[p] = makeDate(p == First ? QStringLiteral("起始日期") : QStringLiteral("截止日期"),
                             (which + QStringLiteral("Date")).toLatin1().constData(), this, now.date());
        times_[p] = new QTimeEdit(now.time(), this);
        times_[p]->setObjectName(which + QStringLiteral("Time"));
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
    const QString day = dates_[p]->date().toString(QStringLiteral("yyyy-MM-dd"));
    return datesOnly_ ? day : day + QLatin1Char(' ') + times_[p]->time().toString(QStringLiteral("HH:mm:ss"));
}

void TimeCondition::clearRange()
{
    QButtonGroup* group = after_->group();
    group->setExclusive(false);
    for (QRadioButton* r : {after_, before_, within_})
        r->setChecked(false);
    group->setExclusive(true);
}

void TimeCondition::setDatesOnly()
{
    datesOnly_ = true;
    for (QTimeEdit* t : times_)
        t->hide();
}

Moments TimeCondition::moments() const
{
    switch (range()) {
        case Range::After:
            return {moment(afterPair_), std::nullopt};
        case Range::Before:
            return {std::nullopt, moment(beforePair_)};
        case Range::Within:
            return {moment(First), moment(Second)};
        case Range::None:
            break;
    }
    return {};
}
