#pragma once

#include "db/Outcome.h"

#include <QStringList>
#include <QVector>

// One row of a result as plain values; NULL cells are told apart from empty text.
class Row {
public:
    Row() = default;
    Row(QStringList cells, QVector<bool> nulls) : cells_(std::move(cells)), nulls_(std::move(nulls)) {}

    int size() const { return static_cast<int>(cells_.size()); }
    // A missing column reads as NULL.
    bool isNull(int column) const { return column < 0 || column >= size() || nulls_.at(column); }
    QString text(int column) const { return isNull(column) ? QString() : cells_.at(column); }
    int toInt(int column) const;        // a count or flag; not a number = 0
    qint64 toInt64(int column) const;   // a sum of counts
    quint64 toId(int column) const;     // an id; not a number = 0
    double toDouble(int column) const;  // money, a rate or a quantity; not a number = 0
    // The cells, NULL ones empty.
    const QStringList& cells() const { return cells_; }

private:
    QStringList cells_;
    QVector<bool> nulls_;
};

// The rows a read returned, or why it failed. Nothing stays open on the session.
class Rows {
public:
    static Rows failure(const QString& error) { return Rows(error); }
    Rows(QStringList fields, QVector<Row> rows, quint64 total)
        : fields_(std::move(fields)), rows_(std::move(rows)), total_(total)
    {
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const QString& error() const { return error_; }
    // The failure as an operation reports it.
    Outcome failed() const { return Outcome::failed(error_); }

    int size() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.isEmpty(); }
    const Row& at(int i) const { return rows_.at(i); }
    // The first row, or an all-NULL row when there is none.
    const Row& first() const;
    QVector<Row>::const_iterator begin() const { return rows_.begin(); }
    QVector<Row>::const_iterator end() const { return rows_.end(); }

    // The result's column names, and the index of one (-1 when none).
    const QStringList& fields() const { return fields_; }
    int field(const QString& name) const { return static_cast<int>(fields_.indexOf(name)); }
    // Rows the statement returned; more than size() when the read kept only the first ones.
    quint64 total() const { return total_; }

private:
    explicit Rows(const QString& error) : ok_(false), error_(error) {}
    bool ok_ = true;
    QString error_;
    QStringList fields_;
    QVector<Row> rows_;
    quint64 total_ = 0;
};
