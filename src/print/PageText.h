#pragma once

#include <QString>

// A page of fixed-width text under composition. Widths and blanks count GBK bytes: an
// ASCII character takes one, any other character two.
class PageText {
public:
    void pad(int n);
    void newLine(int count = 1);
    // Appends the value in a column of `width` bytes (rounded up to even), filled with
    // blanks. A longer value is cut at cutPoint() and the cut part padded to the column,
    // so the columns after it keep their place; the remainder goes to `rest` when given,
    // otherwise it is dropped.
    void put(const QString& value, int width, QString* rest = nullptr);

    const QString& text() const { return text_; }
    void clear() { text_.clear(); }

    // Where a value longer than `width` bytes is cut, in bytes; never inside a character.
    // Among mixed text it prefers to break before an ASCII character near the column's end.
    static int cutPoint(const QString& value, int width);

private:
    QString text_;
};
