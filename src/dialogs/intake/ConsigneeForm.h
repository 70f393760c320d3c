#pragma once

#include "db/Batch.h"
#include "db/Statement.h"
#include "dialogs/intake/ops/OrderCheck.h"

#include <QWidget>

class KvGrid;
class QCheckBox;
class QComboBox;
class QLineEdit;
class MethodPanel;
class QPushButton;
class Row;
class mySQLTool;

// The order form of the intake desk: customers, the order's attributes and counts, the
// prices and the washing method composed from the technologies.
class ConsigneeForm : public QWidget {
    Q_OBJECT
public:
    explicit ConsigneeForm(QWidget* parent = nullptr);

    bool fillClients();
    // The reads the form opens with (customers, drop-downs, the loss unit price), sent with the
    // screen's others; fillOpening() takes their answers from `at` on.
    QList<Statement> openingReads() const;
    void fillOpening(const Batch& read, int at);
    void lockFields();
    // "编辑新客户" is for those who maintain the master data.
    void allowNewClients(bool allowed);

    // Empties the form for another order; the loss unit price stays.
    void reset();
    // Loads an order read with every column; `fields` names the row's columns.
    void loadOrder(const QStringList& fields, const Row& order);

    intake::OrderForm values() const;
    bool activate() const;
    bool newClient() const;
    QString clientName() const;
    QString priority() const;
    quint64 selectedClient() const { return client_; }
    // Takes a customer as the order's customer and shows it in the list when listed.
    void chooseClient(quint64 client);
    void setActivate(bool on);

    // True when Enter typed in `w` must not close the screen.
    bool keepsEnter(const QWidget* w) const;
    QPushButton* submitButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildClients();
    QWidget* buildOrder();
    void clientClicked(int row);
    void showRelated(const QString& nature);
    void natureChosen(const QString& nature);
    void compose();
    void lookUpRelated();

    KvGrid* clients_;
    QCheckBox* newClient_;
    QLineEdit* clientName_;
    QComboBox* receiver_;
    QComboBox* nature_;
    QComboBox* type_;
    QComboBox* kind_;
    QComboBox* sex_;
    QComboBox* priority_;
    QLineEdit* goods_;
    QLineEdit* original_;
    QLineEdit* washed_;
    QLineEdit* style_;
    QCheckBox* editPrice_;
    QLineEdit* price_;
    QCheckBox* editLossPrice_;
    QLineEdit* lossPrice_;
    QLineEdit* related_;
    QPushButton* queryRelated_;
    MethodPanel* method_;

    quint64 client_ = 0;
    bool reworkHinted_ = false;
    bool activateHinted_ = false;
};
