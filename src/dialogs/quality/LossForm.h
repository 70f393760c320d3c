#pragma once

#include "db/Batch.h"
#include "db/Statement.h"

#include <QGroupBox>

class KvGrid;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The entry form of the loss registry: the customer chosen from the list, the pieces lost,
// who is responsible, who recorded it, the cause and a remark, and "录入".
class LossForm : public QGroupBox {
    Q_OBJECT
public:
    explicit LossForm(QWidget* parent = nullptr);

    // The reads of the customer list and the two drop-downs, to go with others in one
    // exchange; fill() takes their answers from `at` on, false after a failure was shown.
    static QList<Statement> reads();
    bool fill(const Batch& read, int at);
    // Entry mode: everything can be typed and chosen; edit mode locks the form.
    void setEntryMode(bool on);

    quint64 client() const { return client_; }
    QString clientName() const;
    QString count() const;
    QString responsible() const;
    QString recorder() const;
    QString reason() const;
    QString remark() const;
    QPushButton* enterButton() const { return enter_; }

private:
    void clientClicked(int row);

    KvGrid* clients_;
    QLineEdit* clientName_;
    QLineEdit* count_;
    QComboBox* responsible_;
    QComboBox* recorder_;
    QPlainTextEdit* reason_;
    QPlainTextEdit* remark_;
    QPushButton* enter_;
    quint64 client_ = 0;
};
