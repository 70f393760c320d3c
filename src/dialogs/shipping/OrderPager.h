#pragma once

#include <QWidget>

class KvGrid;
class QLabel;
class QPushButton;

// One order list of the shipping desk with its label and its paging buttons: the rows are
// counted with a count statement and fetched a page of kListCap at a time.
class OrderPager : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Unshipped, Shipped };

    // `name` prefixes the objectNames of the list, its label and buttons.
    OrderPager(Kind kind, const QString& caption, const QString& name, QWidget* parent = nullptr);

    KvGrid* list() const { return list_; }
    QLabel* label() const { return label_; }
    int page() const { return page_; }
    quint64 total() const { return total_; }

    // Counts the orders and shows the first page.
    bool firstPage();
    // Counts again and shows the page on display (the last one if it went away), so that
    // the rows and the label never disagree.
    bool reload();

    // 货单号 of the selected row; 0 when no row is selected (`selected` tells which).
    quint64 selectedOrder(bool* selected = nullptr) const;

Q_SIGNALS:
    void rowClicked(int row);

private:
    void turn(int delta);
    bool count();
    bool fetch();
    Kind kind_;
    KvGrid* list_;
    QLabel* label_;
    QPushButton* previous_;
    QPushButton* next_;
    int page_ = 0;
    quint64 total_ = 0;
};
