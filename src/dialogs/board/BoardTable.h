#pragma once

#include <QColor>
#include <QTableWidget>
#include <QVector>

// A table of the floor board: large type, read from across the room, colours per cell; no
// selection, no editing, no scrolling. Rows beyond what it has room for are not drawn.
class BoardTable : public QTableWidget {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        QColor color;  // invalid: the table's text colour
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    };
    using Line = QVector<Cell>;

    // Columns by caption with their share of the width.
    BoardTable(const char* name, const QString& caption, const QList<QPair<QString, int>>& columns,
               QWidget* parent = nullptr);

    // The lines, each row's background (invalid: none), in the colours given.
    void setLines(const QVector<Line>& lines, const QVector<QColor>& backgrounds, const QColor& text,
                  const QColor& header);
    // Type size in pixels; rows are 1.4 times as high.
    void setTextPixels(int pixels);
    // The text of a cell, empty when there is none.
    QString cellText(int row, int column) const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void spreadColumns();
    QList<int> shares_;
};
