#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class Literal;

// Values an action works on (a station, a flow, an order, a month), found once per data set
// and shared by the screen's run and the literal statements.
using Values = QHash<QString, QString>;

// One measured run: the time until the event loop is idle and what changed repainted, the time
// spent waiting for the server, the statements sent and the round trips they took.
struct Sample {
    double ms = 0;
    double dbMs = 0;
    quint64 statements = 0;
    quint64 roundTrips = 0;
};

// One run of an action: untimed preparation, then measure() around what the user does.
class Run {
public:
    // `act` does what the user does and returns the window to settle and repaint.
    void measure(const std::function<QWidget*()>& act);
    // Measures a click on the button `name` of `window`.
    void measureClick(QWidget* window, const char* name);
    // The server's part when the action ran on a session of its own, not on g_sqlTool.
    void setServerPart(double dbMs, quint64 statements, quint64 roundTrips)
    {
        sample_.dbMs = dbMs;
        sample_.statements = statements;
        sample_.roundTrips = roundTrips;
    }
    bool measured() const { return measured_; }
    const Sample& sample() const { return sample_; }

private:
    Sample sample_;
    bool measured_ = false;
};

enum class Kind { Interactive, WholeHistory };
// What a person waits for, and so how long the action may take.
enum class Target {
    Click,  // a click on a row, 处理工作
    Open,   // opening a screen; a write, which refreshes the screen's lists
    Page,   // an inquiry with conditions, a page
    Whole,  // an inquiry over the whole history, the shipped-order list with its exact count
};
// Actions whose time must not grow with the years.
enum class Group { Other, Station, Shipping, Intake, Board };

struct Action {
    QString key;    // the key of its literal statements too
    QString title;  // shown in the table
    Kind kind = Kind::Interactive;
    Target target = Target::Open;
    Group group = Group::Other;
    std::function<bool(Values&)> prepare;  // untimed, once per data set; false skips the action
    std::function<void(Run&, const Values&)> run;
    bool named = false;  // run only when its key is given (too long for every benchmark run)
};

std::vector<Action>& allActions();
struct ActionRegistration {
    explicit ActionRegistration(Action a) { allActions().push_back(std::move(a)); }
};

// The literal statements of an action, by key.
using LiteralBody = std::function<void(Literal&, const Values&)>;
QHash<QString, LiteralBody>& allLiterals();

// Lets queued events run until none is left (no timer fires: they tick every minute).
void settle();

// A screen opened and shown, its first events handled.
template <typename T>
std::unique_ptr<T> openShown()
{
    std::unique_ptr<T> w(new T);
    w->show();
    settle();
    return w;
}
