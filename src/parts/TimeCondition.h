#pragma once

#include "db/TimeText.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QRadioButton;
class QTimeEdit;

// The captions of a time condition's radio buttons.
struct TimeCaptions {
    QString after = QStringLiteral("时间之后");
    QString before = QStringLiteral("时间之前");
    QString within = QStringLiteral("时间之内");
};

// A time condition of an inquiry: its switch, three radio buttons (after, before, within)
// and two pairs of a date and a time picker. "After" compares with one pair and enables it,
// "before" with the other; "within" enables both and lies strictly between the first pair
// (lower bound) and the second (upper bound). Which pair after and before use is the
// screen's. The switch unticked disables the radios and the pickers. Moments are always
// written YYYY-MM-DD hh:mm:ss (YYYY-MM-DD with dates only), whatever the desktop's format.
// It formats no SQL: the screen puts its moments into a filter.
class TimeCondition : public QWidget {
    Q_OBJECT
public:
    enum class Range { None, After, Before, Within };
    enum Pair { First = 0, Second = 1 };

    // `name` prefixes the objectNames of the controls; an empty switch caption leaves the
    // switch out (the screen drives the condition itself).
    TimeCondition(const QString& switchCaption, const QString& name, Pair afterPair, Pair beforePair,
                  QWidget* parent = nullptr, const TimeCaptions& captions = TimeCaptions());

    QCheckBox* switchBox() const { return switch_; }
    QRadioButton* radio(Range r) const;
    QDateEdit* date(Pair p) const { return dates_[p]; }
    QTimeEdit* time(Pair p) const { return times_[p]; }

    // Ticked (always, for a condition without a switch) and the range chosen.
    bool ticked() const;
    Range range() const;
    // Enables or disables the whole condition, as its switch does.
    void setActive(bool on);
    void setMoment(Pair p, const QDateTime& at);
    // "YYYY-MM-DD hh:mm:ss" of a pair ("YYYY-MM-DD" with dates only).
    QString moment(Pair p) const;
    // Unchecks the range, as when the screen opened.
    void clearRange();
    // Hides the time pickers: the moments are days.
    void setDatesOnly();

    // The moments of the range chosen: after, before, or within the first and the second
    // pair; none when no range is chosen.
    Moments moments() const;

private:
    void update();
    QCheckBox* switch_ = nullptr;
    QRadioButton* after_;
    QRadioButton* before_;
    QRadioButton* within_;
    QDateEdit* dates_[2];
    QTimeEdit* times_[2];
    Pair afterPair_;
    Pair beforePair_;
    bool active_ = false;
    bool datesOnly_ = false;
};
