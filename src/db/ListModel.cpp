#include "db/ListModel.h"

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::addColumn(const QString& caption, int width)
{
    const int index = columns();
    beginInsertColumns(QModelIndex(), index, index);
    columns_.append(Column{caption, width, false});
    for (QStringList& r : rows_)
        r.append(QString());
    endInsertColumns();
    return index;
}

void ListModel::addColumns(const QVector<Column>& columns)
{
    if (columns.isEmpty())
        return;
    const int first = this->columns();
    beginInsertColumns(QModelIndex(), first, first + static_cast<int>(columns.size()) - 1);
    columns_.append(columns);
    for (QStringList& r : rows_)
        r.resize(columns_.size());
    endInsertColumns();
}

int ListModel::findColumn(const QString& caption) const
{
    for (int i = 0; i < columns(); ++i)
        if (columns_[i].caption == caption)
            return i;
    return -1;
}

void ListModel::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columns())
        return;
    columns_[column].width = width;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void ListModel::setColumnEditable(int column, bool editable)
{
    if (column < 0 || column >= columns())
        return;
    columns_[column].editable = editable;
}

void ListModel::removeAllColumns()
{
    beginResetModel();
    columns_.clear();
    rows_.clear();
    endResetModel();
}

QStringList ListModel::normalised(const QStringList& cells) const
{
    QStringList r = cells.mid(0, columns());
    while (r.size() < columns())
        r.append(QString());
    return r;
}

int ListModel::insertRow(int position, const QStringList& cells)
{
    const int at = std::clamp(position, 0, rows());
    beginInsertRows(QModelIndex(), at, at);
    rows_.insert(at, normalised(cells));
    endInsertRows();
    return at;
}

int ListModel::appendRow(const QStringList& cells)
{
    return insertRow(rows(), cells);
}

void ListModel::appendRows(const QVector<QStringList>& rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows(QModelIndex(), this->rows(), this->rows() + static_cast<int>(rows.size()) - 1);
    for (const QStringList& r : rows)
        rows_.append(normalised(r));
    endInsertRows();
}

void ListModel::setCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rows() || column < 0 || column >= columns())
        return;
    rows_[row][column] = text;
    const QModelIndex i = index(row, column);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

QString ListModel::cell(int row, int column) const
{
    if (row < 0 || row >= rows() || column < 0 || column >= columns())
        return QString();
    return rows_[row][column];
}

QString ListModel::cell(int row, const QString& caption) const
{
    return cell(row, findColumn(caption));
}

QStringList ListModel::rowCells(int row) const
{
    return (row < 0 || row >= rows()) ? QStringList() : rows_[row];
}

void ListModel::removeRow(int row)
{
    if (row < 0 || row >= rows())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.removeAt(row);
    endRemoveRows();
}

void ListModel::clearRows()
{
    if (rows_.isEmpty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ListModel::swapRows(int a, int b)
{
    if (a == b || a < 0 || b < 0 || a >= rows() || b >= rows())
        return;
    rows_.swapItemsAt(a, b);
    if (columns() > 0)
        Q_EMIT dataChanged(index(std::min(a, b), 0), index(std::max(a, b), columns() - 1));
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole))
        return QVariant();
    return cell(index.row(), index.column());
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rows() || index.column() >= columns())
        return false;
    setCell(index.row(), index.column(), value.toString());
    return true;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return columns_[section].caption;
    return QVariant();
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (columns_[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}
