#pragma once

#include "db/Rows.h"
#include "db/Statement.h"

#include <QWidget>
#include <functional>

class KvGrid;
class QLabel;
class QPushButton;
class mySQLTool;

// The paged result list of the inquiries and the shipping desk: a list of at most one page
// (kListCap rows), a status label with the total and the rows shown, and 上一页/下一页. The
// total comes from a count statement and each page from the statement with a LIMIT, so no
// whole history is fetched to count or page it.
class PagedList : public QWidget {
    Q_OBJECT
public:
    // The statement of one page, from the first row `offset` on, at most `count` rows.
    using PageStatement = std::function<Statement(quint64 offset, int count)>;

    // `name` prefixes the objectNames of the list, its label and buttons.
    PagedList(mySQLTool& db, const QString& name, QWidget* parent = nullptr);

    KvGrid* list() const { return list_; }
    QLabel* label() const { return label_; }
    QPushButton* previousButton() const { return previous_; }
    QPushButton* nextButton() const { return next_; }
    int page() const { return page_; }
    quint64 total() const { return total_; }
    // The row the count statement returned: the total first, then whatever else it reads
    // over all matching rows in the same pass (the sums of a totals row). All NULL before a run.
    const Row& counted() const { return counted_; }
    bool hasStatement() const { return bool(page_statement_); }

    // Counts and shows the first page of a statement without a LIMIT (it is kept for paging),
    // or of pages the caller makes. False after a failure was shown; the list is then empty.
    bool run(const Statement& saved, const Statement& count);
    bool run(PageStatement page, const Statement& count);
    // The same for a statement whose rows the caller counted already (with its totals, in
    // one pass); a reload keeps that count.
    bool run(const Statement& saved, quint64 total);
    // Counts again and shows the page on display (the last one when it went away); the row
    // selected before stays selected when it is still there (found by its first cell).
    bool reload();
    // Forgets the statement and empties the list and the label.
    void clear();

    // The first cell of the selected row; empty when none is selected.
    QString selectedKey() const;
    // Selects the row whose first cell is `key`; false when it is not on this page.
    bool selectKey(const QString& key);

Q_SIGNALS:
    void rowClicked(int row);

private:
    bool count();
    bool fetch();
    void turn(int delta);

    mySQLTool& db_;
    KvGrid* list_;
    QLabel* label_;
    QPushButton* previous_;
    QPushButton* next_;
    PageStatement page_statement_;
    Statement count_;
    int page_ = 0;
    quint64 total_ = 0;
    Row counted_;
};
