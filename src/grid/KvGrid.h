#pragma once

#include "db/FillList.h"
#include "db/ListModel.h"

#include <QStringList>
#include <QTableView>
#include <initializer_list>
#include <utility>

class mySQLTool;
class GridDelegate;
class QTimer;

// The report-style list every screen uses: a header of captions with widths in pixels
// (0 hides a column), rows of text cells, single-row selection, a notification when a
// row is clicked (-1 for a click beside the rows, which also clears the selection) and
// per-column cell editors. An edit is committed by Enter or Tab and abandoned by Escape;
// a committed edit posts KvMessage(9527, 1) to the grid, which then reports editEnded.
class KvGrid;
class QWidget;

// The column titles and widths a list is made with.
using GridColumns = std::initializer_list<std::pair<const char*, int>>;
// A list named for tests and screen readers (the caption its accessible name), with its columns:
// the builders' (caption, object name, parent) of ui/Controls.h.
KvGrid* makeList(const QString& caption, const char* name, QWidget* parent, GridColumns columns = {});

class KvGrid : public QTableView {
    Q_OBJECT
public:
    explicit KvGrid(QWidget* parent = nullptr);

    ListModel& rows() { return model_; }
    const ListModel& rows() const { return model_; }

    // Columns.
    int InsertColumn(const QString& caption, int width);
    void InsertColumns(GridColumns columns);
    void InsertColumns(const QVector<std::pair<QString, int>>& columns);
    void SetColumnWidth(int column, int width);
    int GetColumnCount() const { return model_.columns(); }
    int FindColumn(const QString& caption) const { return model_.findColumn(caption); }

    // Rows.
    int GetItemCount() const { return model_.rows(); }
    int InsertItem(int position, const QStringList& cells = {});
    int AppendItem(const QStringList& cells = {});
    // Many rows at once: the view takes them in one insertion, not one a row.
    void AppendItems(const QVector<QStringList>& rows);
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    QString GetItemText(int row, const QString& caption) const;
    void DeleteItem(int row);
    void DeleteAllItems();
    void SwapRows(int a, int b);
    // The first row whose cell in `column` is exactly `text`; -1 when none.
    int FindRow(int column, const QString& text) const;
    // Every row's cells, for a copy kept apart from the list.
    QList<QStringList> CopyRows() const;

    // Selection: the selected row and the focused row, -1 when none.
    int GetSelectedRow() const;
    int GetFocusedRow() const;
    void SelectRow(int row);  // -1 clears the selection

    // Cell editors.
    void SetTextEditor(int column);
    void SetComboEditor(int column, const QStringList& choices);
    void RemoveEditor(int column);
    // True while a cell editor is open.
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    // Row height as a factor of the text height (1.0 by default; 1.2 on the shipping desk).
    void SetCellMargin(double factor);

    // Fills the list from a statement under the list-filling contract.
    FillResult Fill(mySQLTool& db, const Statement& statement, bool clear = true,
                    const FillMatch& match = FillMatch());
    // Fills the list from rows read before.
    FillResult Fill(const Rows& rows, bool clear = true, const FillMatch& match = FillMatch());

    // Columns are widened beyond their set width so that the caption and every cell can be
    // read (up to kMaxFitWidth); they never become narrower than set. On by default.
    void SetFitToContents(bool on);
    static constexpr int kMaxFitWidth = 420;

    // Sum of a column's cells read as whole numbers (text that is not a number counts 0).
    qint64 SumColumn(const QString& caption) const;

Q_SIGNALS:
    void rowClicked(int row);
    void editEnded(int row, int column);

protected:
    bool event(QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void commitData(QWidget* editor) override;

private:
    void applyWidth(int column);
    void fitColumns();
    ListModel model_;
    GridDelegate* delegate_;
    QList<QPersistentModelIndex> committed_;
    double margin_ = 1.0;
    bool fit_ = true;
    QTimer* fitTimer_;
};
