#pragma once

#include "dialogs/quality/QualityQueries.h"
#include "dialogs/quality/ops/LossRecords.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

class KvGrid;
class Rows;
class QLabel;
class mySQLTool;

// The loss records in two lists at one place, one shown at a time: the read-only list of
// entry mode and the list of edit mode, whose cells are edited in place. Both hold the same
// rows, at most one list's worth, under a caption that says how many were found. What was
// loaded is kept, so that the edits are the rows that differ from it.
class RecordLists : public QWidget {
    Q_OBJECT
public:
    explicit RecordLists(QWidget* parent = nullptr);

    // The choices of the edit list's "记录人".
    void setRecorders(const QStringList& names);

    // Counts and lists the records the filter finds; false after a failure was shown, with
    // both lists empty.
    bool load(mySQLTool& db, const qualityq::Filter& filter);
    // The count and the list of a load, read together (also with others), and the lists
    // shown from their answers.
    static QList<Statement> reads(mySQLTool& db, const qualityq::Filter& filter);
    bool show(const Rows& counted, const Rows& records);

    void setEditMode(bool on);
    bool editMode() const { return editMode_; }
    // The list the actions work on.
    KvGrid* shown() const;
    KvGrid* entryList() const { return entry_; }
    KvGrid* editList() const { return edit_; }

    // Rows of the edit list whose cells differ from what was loaded.
    QVector<int> changedRows() const;
    bool pending() const { return !changedRows().isEmpty(); }
    quality::Edit edit(int row) const;
    // 序列号 of every row loaded.
    QList<quint64> serials() const;
    // How many records the last load found, also those not listed.
    quint64 found() const { return found_; }

private:
    KvGrid* makeList(const char* name);

    QLabel* caption_;
    KvGrid* entry_;
    KvGrid* edit_;
    QVector<QStringList> loaded_;
    bool editMode_ = false;
    quint64 found_ = 0;
};
