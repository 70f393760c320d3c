#include "grid/KvGrid.h"

#include "db/Convert.h"
#include "db/KvMessage.h"
#include "db/Rows.h"
#include "db/WidthUnits.h"
#include "grid/GridDelegate.h"

#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <array>
#include <functional>
#include <map>

namespace {
constexpr int kEditCommitted = 9527;

// Widths of texts by font, kept for every list of the process (the UI thread's): each fill
// measures the same captions and mostly the same names again.
QHash<QString, int>& widthsIn(const QFont& font)
{
    // A map: the widths of one font stay where they are when another font is added.
    static std::map<QString, QHash<QString, int>> kept;
    QHash<QString, int>& widths = kept[font.key()];
    if (widths.size() >= 8192)
        widths.clear();
    return widths;
}

int advance(const QFontMetrics& metrics, QHash<QString, int>& widths, const QString& text)
{
    const auto it = widths.constFind(text);
    if (it != widths.constEnd())
        return *it;
    const int width = metrics.horizontalAdvance(text);
    widths.insert(text, width);
    return width;
}
}  // namespace

KvGrid::KvGrid(QWidget* parent)
    : QTableView(parent), delegate_(new GridDelegate(this)), fitTimer_(new QTimer(this))
{
    // Widths follow the rows once the current change is over, not at every cell.
    fitTimer_->setSingleShot(true);
    fitTimer_->setInterval(0);
    connect(fitTimer_, &QTimer::timeout, this, &KvGrid::fitColumns);
    const auto refit = [this] {
        if (fit_)
            fitTimer_->start();
    };
    connect(&model_, &QAbstractItemModel::rowsInserted, this, refit);
    connect(&model_, &QAbstractItemModel::dataChanged, this, refit);
    connect(&model_, &QAbstractItemModel::modelReset, this, refit);
    connect(&model_, &QAbstractItemModel::columnsInserted, this, refit);

    setModel(&model_);
    setItemDelegate(delegate_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(false);
    SetCellMargin(1.0);
}

int KvGrid::InsertColumn(const QString& caption, int width)
{
    const int c = model_.addColumn(caption, width);
    applyWidth(c);
    return c;
}

void KvGrid::InsertColumns(GridColumns columns)
{
    QVector<std::pair<QString, int>> named;
    named.reserve(static_cast<qsizetype>(columns.size()));
    for (const auto& [caption, width] : columns)
        named.append({QString::fromUtf8(caption), width});
    InsertColumns(named);
}

void KvGrid::InsertColumns(const QVector<std::pair<QString, int>>& columns)
{
    QVector<ListModel::Column> added;
    added.reserve(columns.size());
    for (const auto& [caption, width] : columns)
        added.append(ListModel::Column{caption, width, false});
    const int first = model_.columns();
    model_.addColumns(added);
    for (int c = first; c < model_.columns(); ++c)
        applyWidth(c);
}

void KvGrid::SetColumnWidth(int column, int width)
{
    model_.setColumnWidth(column, width);
    applyWidth(column);
}

void KvGrid::applyWidth(int column)
{
    if (column < 0 || column >= model_.columns())
        return;
    const int w = model_.column(column).width;
    setColumnHidden(column, w <= 0);
    if (w > 0)
        setColumnWidth(column, w);
    if (fit_)
        fitTimer_->start();
}

void KvGrid::SetFitToContents(bool on)
{
    fit_ = on;
    for (int c = 0; c < model_.columns(); ++c)
        applyWidth(c);
}

void KvGrid::fitColumns()
{
    if (!fit_)
        return;
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics header = horizontalHeader()->fontMetrics();
    QHash<QString, int>& cellWidths = widthsIn(font());
    QHash<QString, int>& headerWidths = widthsIn(horizontalHeader()->font());
    const int pad = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 10;
    // Measuring every cell of a full list costs more than filling it: only the few cells of each
    // column that are longest by the guess are measured.
    constexpr int kMeasured = 4;
    for (int c = 0; c < model_.columns(); ++c) {
        const int set = model_.column(c).width;
        if (set <= 0)
            continue;
        std::array<std::pair<int, int>, kMeasured> longest{};  // (units, row), longest first
        longest.fill({-1, -1});
        for (int r = 0; r < model_.rows(); ++r) {
            const int units = widthUnits(model_.cell(r, c));
            if (units <= longest.back().first)
                continue;
            longest.back() = {units, r};
            std::sort(longest.begin(), longest.end(), std::greater<>());
        }
        int needed = advance(header, headerWidths, model_.column(c).caption) + pad;
        for (const auto& [units, row] : longest)
            if (row >= 0)
                needed = std::max(needed, advance(cells, cellWidths, model_.cell(row, c)) + pad);
        setColumnWidth(c, std::max(set, std::min(needed, kMaxFitWidth)));
    }
}

int KvGrid::InsertItem(int position, const QStringList& cells)
{
    return model_.insertRow(position, cells);
}

int KvGrid::AppendItem(const QStringList& cells)
{
    return model_.appendRow(cells);
}

void KvGrid::AppendItems(const QVector<QStringList>& rows)
{
    model_.appendRows(rows);
}

void KvGrid::SetItemText(int row, int column, const QString& text)
{
    model_.setCell(row, column, text);
}

QString KvGrid::GetItemText(int row, int column) const
{
    return model_.cell(row, column);
}

QString KvGrid::GetItemText(int row, const QString& caption) const
{
    return model_.cell(row, caption);
}

void KvGrid::DeleteItem(int row)
{
    // Like a list control: removing the selected row selects no other in its place.
    const bool wasSelected = row >= 0 && row == GetSelectedRow();
    model_.removeRow(row);
    if (wasSelected) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
}

void KvGrid::DeleteAllItems()
{
    model_.clearRows();
    setCurrentIndex(QModelIndex());
}

void KvGrid::SwapRows(int a, int b)
{
    model_.swapRows(a, b);
}

int KvGrid::FindRow(int column, const QString& text) const
{
    for (int r = 0; r < model_.rows(); ++r)
        if (model_.cell(r, column) == text)
            return r;
    return -1;
}

QList<QStringList> KvGrid::CopyRows() const
{
    QList<QStringList> out;
    out.reserve(model_.rows());
    for (int r = 0; r < model_.rows(); ++r)
        out.append(model_.rowCells(r));
    return out;
}

int KvGrid::GetSelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int KvGrid::GetFocusedRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void KvGrid::SelectRow(int row)
{
    if (row < 0 || row >= model_.rows()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    int column = 0;
    while (column < model_.columns() && isColumnHidden(column))
        ++column;
    const QModelIndex i = model_.index(row, std::min(column, model_.columns() - 1));
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(i);
}

void KvGrid::SetTextEditor(int column)
{
    delegate_->setEditor(column, GridDelegate::Editor{GridDelegate::Kind::Text, {}});
    model_.setColumnEditable(column, true);
}

void KvGrid::SetComboEditor(int column, const QStringList& choices)
{
    delegate_->setEditor(column, GridDelegate::Editor{GridDelegate::Kind::Combo, choices});
    model_.setColumnEditable(column, true);
}

void KvGrid::RemoveEditor(int column)
{
    delegate_->removeEditor(column);
    model_.setColumnEditable(column, false);
}

void KvGrid::SetCellMargin(double factor)
{
    margin_ = factor;
    const int h = static_cast<int>(fontMetrics().height() * factor) + 6;
    verticalHeader()->setMinimumSectionSize(h);
    verticalHeader()->setDefaultSectionSize(h);
}

FillResult KvGrid::Fill(mySQLTool& db, const Statement& statement, bool clear, const FillMatch& match)
{
    if (clear)
        setCurrentIndex(QModelIndex());
    const FillResult r = FillList(db, model_, statement, clear, match);
    // A filled list is fitted at once: left to the timer, a list shown meanwhile is painted,
    // widened and painted again.
    if (fit_) {
        fitTimer_->stop();
        fitColumns();
    }
    return r;
}

FillResult KvGrid::Fill(const Rows& rows, bool clear, const FillMatch& match)
{
    if (clear)
        setCurrentIndex(QModelIndex());
    const FillResult r = FillList(model_, rows, clear, match);
    if (fit_) {
        fitTimer_->stop();
        fitColumns();
    }
    return r;
}

qint64 KvGrid::SumColumn(const QString& caption) const
{
    const int c = model_.findColumn(caption);
    qint64 sum = 0;
    for (int r = 0; c >= 0 && r < model_.rows(); ++r)
        sum += convert::toInt(model_.cell(r, c));
    return sum;
}

bool KvGrid::event(QEvent* e)
{
    if (e->type() == KvMessage::kType) {
        const auto* m = static_cast<KvMessage*>(e);
        if (m->code() == kEditCommitted && m->value() == 1 && !committed_.isEmpty()) {
            const QPersistentModelIndex i = committed_.takeFirst();
            if (i.isValid())
                Q_EMIT editEnded(i.row(), i.column());
        }
        return true;
    }
    return QTableView::event(e);
}

void KvGrid::mouseReleaseEvent(QMouseEvent* e)
{
    const QModelIndex i = indexAt(e->position().toPoint());
    QTableView::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    if (!i.isValid()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        Q_EMIT rowClicked(-1);
    } else {
        Q_EMIT rowClicked(i.row());
    }
}

void KvGrid::keyPressEvent(QKeyEvent* e)
{
    const int before = GetFocusedRow();
    QTableView::keyPressEvent(e);
    // Moving through the rows with the keyboard chooses a row as a click does.
    const int after = GetFocusedRow();
    if (after != before && state() != QAbstractItemView::EditingState)
        Q_EMIT rowClicked(after);
}

void KvGrid::commitData(QWidget* editor)
{
    delegate_->takeWritten();
    QTableView::commitData(editor);
    // The view may ignore a commit (an editor it no longer knows); only a written cell counts.
    const QPersistentModelIndex written = delegate_->takeWritten();
    if (!written.isValid())
        return;
    committed_.append(written);
    KvMessage::post(this, kEditCommitted, 1);
}

KvGrid* makeList(const QString& caption, const char* name, QWidget* parent, GridColumns columns)
{
    auto* list = new KvGrid(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(caption);
    list->InsertColumns(columns);
    return list;
}
