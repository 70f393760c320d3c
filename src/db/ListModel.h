#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The rows of a report-style list: a header of captions with widths in pixels (0 hides
// a column) and rows of text cells. The grid control shows it; screens and tests fill it.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString caption;
        int width = 0;
        bool editable = false;
    };

    explicit ListModel(QObject* parent = nullptr);

    // Columns.
    int addColumn(const QString& caption, int width);
    // Several columns in one insertion: a view measures its header once, not once a column.
    void addColumns(const QVector<Column>& columns);
    int columns() const { return static_cast<int>(columns_.size()); }
    const Column& column(int index) const { return columns_.at(index); }
    int findColumn(const QString& caption) const;  // -1 when none
    void setColumnWidth(int column, int width);
    void setColumnEditable(int column, bool editable);
    void removeAllColumns();

    // Rows.
    int rows() const { return static_cast<int>(rows_.size()); }
    int insertRow(int position, const QStringList& cells = {});  // returns the new row's index
    int appendRow(const QStringList& cells = {});
    void appendRows(const QVector<QStringList>& rows);
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;  // empty outside the list
    QString cell(int row, const QString& caption) const;
    QStringList rowCells(int row) const;
    void removeRow(int row);
    void clearRows();
    void swapRows(int a, int b);

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList normalised(const QStringList& cells) const;
    QVector<Column> columns_;
    QVector<QStringList> rows_;
};
