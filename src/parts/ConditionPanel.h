#pragma once

#include "db/TimeText.h"
#include "grid/KvGrid.h"
#include "parts/TimeCondition.h"
#include "ui/Controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <functional>
#include <optional>
#include <type_traits>

// Shows the message of a condition that stops the reading (caption "错误").
void refuseCondition(const QString& message);

// The conditions of an inquiry as a table: each row a switch, its input, the message for a
// switch ticked without input, and the setter that puts the input into the screen's filter.
// The switch unlocks its input. Reading visits the rows in the order they were added: the
// first ticked row without input (or whose setter refuses the input, returning a message)
// shows its message and no filter is read. A row with no message is optional: without
// input it adds nothing. The panel formats no SQL; the filter goes to the queries file.
//
// Setters take (Filter&, value) and return nothing, or a refusal message (empty to accept).
template <typename Filter>
class ConditionPanel {
public:
    // A list: the first cell of its selected row.
    template <typename Set>
    ConditionPanel& list(QAbstractButton* box, KvGrid* input, const char* missing, Set set)
    {
        bindSwitch(box, {input});
        return add(
            checked(box), [input] { return input->GetSelectedRow() >= 0; }, missing,
            [input, set](Filter& f) { return call(set, f, input->GetItemText(input->GetSelectedRow(), 0)); });
    }
    // A drop-down: the text of the entry chosen; an entry without text is no choice.
    template <typename Set>
    ConditionPanel& combo(QAbstractButton* box, QComboBox* input, const char* missing, Set set)
    {
        bindSwitch(box, {input});
        return add(
            checked(box), [input] { return input->currentIndex() >= 0 && !input->currentText().isEmpty(); },
            missing, [input, set](Filter& f) { return call(set, f, input->currentText()); });
    }
    // An edit: its text.
    template <typename Set>
    ConditionPanel& edit(QAbstractButton* box, QLineEdit* input, const char* missing, Set set)
    {
        bindSwitch(box, {input});
        return add(
            checked(box), [input] { return !input->text().isEmpty(); }, missing,
            [input, set](Filter& f) { return call(set, f, input->text()); });
    }
    // Radio buttons, counted while `box` is ticked: the id of the one checked (see bindChoices).
    template <typename Set>
    ConditionPanel& choice(QAbstractButton* box, QButtonGroup* input, const char* missing, Set set)
    {
        return add(
            checked(box), [input] { return input->checkedId() >= 0; }, missing,
            [input, set](Filter& f) { return call(set, f, input->checkedId()); });
    }
    // A time condition, counted while it is ticked: its moments.
    template <typename Set>
    ConditionPanel& time(TimeCondition* input, const char* missing, Set set)
    {
        return add([input] { return input->ticked(); },
                   [input] { return input->range() != TimeCondition::Range::None; }, missing,
                   [input, set](Filter& f) { return call(set, f, input->moments()); });
    }
    // A box that is a condition by itself, ticked or not ("包括已结讫货单").
    template <typename Set>
    ConditionPanel& flag(QAbstractButton* box, Set set)
    {
        return add([] { return true; }, [] { return true; }, "",
                   [box, set](Filter& f) { return call(set, f, box->isChecked()); });
    }
    // The row added last counts only while `gate` holds (a condition of one mode of a screen).
    ConditionPanel& onlyWhile(std::function<bool()> gate)
    {
        Row& r = rows_.last();
        r.counts = [counts = r.counts, gate] { return gate() && counts(); };
        return *this;
    }

    // The filter of the ticked rows, added to `start`; none after a message was shown.
    std::optional<Filter> read(Filter start = Filter()) const
    {
        for (const Row& r : rows_) {
            if (!r.counts())
                continue;
            if (!r.present()) {
                if (r.missing.isEmpty())
                    continue;
                refuseCondition(r.missing);
                return std::nullopt;
            }
            if (const QString refused = r.take(start); !refused.isEmpty()) {
                refuseCondition(refused);
                return std::nullopt;
            }
        }
        return start;
    }

private:
    struct Row {
        std::function<bool()> counts;
        std::function<bool()> present;
        QString missing;
        std::function<QString(Filter&)> take;
    };

    static std::function<bool()> checked(QAbstractButton* box)
    {
        return [box] { return box->isChecked(); };
    }
    template <typename Set, typename Value>
    static QString call(const Set& set, Filter& f, const Value& value)
    {
        if constexpr (std::is_void_v<std::invoke_result_t<const Set&, Filter&, const Value&>>) {
            set(f, value);
            return QString();
        } else {
            return set(f, value);
        }
    }
    ConditionPanel& add(std::function<bool()> counts, std::function<bool()> present, const char* missing,
                        std::function<QString(Filter&)> take)
    {
        rows_.append(Row{std::move(counts), std::move(present), QString::fromUtf8(missing), std::move(take)});
        return *this;
    }

    QList<Row> rows_;
};
