#include "dialogs/board/BoardTable.h"

#include <QHeaderView>

BoardTable::BoardTable(const char* name, const QString& caption, const QList<QPair<QString, int>>& columns,
                       QWidget* parent)
    : QTableWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(caption);
    setColumnCount(int(columns.size()));
    QStringList captions;
    for (const auto& [text, share] : columns) {
        captions << text;
        shares_ << share;
    }
    setHorizontalHeaderLabels(captions);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setShowGrid(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
}

void BoardTable::setTextPixels(int pixels)
{
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
    QFont h = f;
    h.setPixelSize(pixels * 4 / 5);
    horizontalHeader()->setFont(h);
    verticalHeader()->setDefaultSectionSize(pixels * 7 / 5);
    horizontalHeader()->setFixedHeight(pixels * 5 / 4);
}

void BoardTable::setLines(const QVector<Line>& lines, const QVector<QColor>& backgrounds, const QColor& text,
                          const QColor& header)
{
    // A style sheet costs a restyling of the whole table: set only when the colours change.
    const QString style = QStringLiteral(
                              "QTableWidget { background: transparent; color: %1; } "
                              "QTableWidget::item { padding: 0 10px; } "
                              "QHeaderView { background: transparent; border: none; } "
                              "QHeaderView::section { background: transparent; color: %2; border: none; "
                              "border-bottom: 2px solid %2; padding: 0 10px; }")
                              .arg(text.name(), header.name());
    if (styleSheet() != style)
        setStyleSheet(style);
    setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const Cell cell = lines[r].value(c);
            auto* item = new QTableWidgetItem(cell.text);
            item->setTextAlignment(cell.align);
            item->setForeground(cell.color.isValid() ? cell.color : text);
            if (backgrounds.value(r).isValid())
                item->setBackground(backgrounds.value(r));
            setItem(r, c, item);
        }
    }
}

QString BoardTable::cellText(int row, int column) const
{
    const QTableWidgetItem* i = item(row, column);
    return i ? i->text() : QString();
}

void BoardTable::resizeEvent(QResizeEvent* e)
{
    QTableWidget::resizeEvent(e);
    spreadColumns();
}

void BoardTable::spreadColumns()
{
    int total = 0;
    for (int s : shares_)
        total += s;
    const int width = viewport()->width();
    int used = 0;
    for (int c = 0; c < shares_.size(); ++c) {
        const int w = c + 1 == shares_.size() ? width - used : width * shares_[c] / std::max(total, 1);
        setColumnWidth(c, w);
        used += w;
    }
}
