#pragma once

#include <QGroupBox>
#include <QStringList>

class QCheckBox;
class Rows;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The washing method of the order form: technologies by category, the chosen ones in
// processing order, the method text, and the activation box with the submit button.
class MethodPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit MethodPanel(QWidget* parent = nullptr);

    // The categories, from the answer of their choices' read.
    void fillCategories(const Rows& categories);
    // The chosen technologies, top to bottom.
    QStringList sequence() const;
    void clearSequence();
    QString method() const;
    // Puts a composed method into the field unless the user edits it by hand.
    void compose(const QString& method);
    void setMethod(const QString& method);
    void lock();
    void reset();

    QCheckBox* activateBox() const { return activate_; }
    QPushButton* submitButton() const { return submit_; }
    QLineEdit* methodField() const { return method_; }

Q_SIGNALS:
    // A technology was added to or removed from the sequence.
    void sequenceChanged();

private:
    void categoryChanged(const QString& category);
    void add();
    void remove();

    QComboBox* category_;
    QListWidget* technologies_;
    QListWidget* sequence_;
    QCheckBox* editMethod_;
    QLineEdit* method_;
    QCheckBox* activate_;
    QPushButton* submit_;
};
