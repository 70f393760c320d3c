#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class KvGrid;
class QLineEdit;
class QPushButton;

// Personal and user settings: the signed-in user's own password, and for 管理员 and
// 董事长 the list of log-in accounts (those of 管理员 are never shown here).
class Dlg_System : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_System(QWidget* parent = nullptr);

    // True when the signed-in identity may edit the accounts.
    static bool MayEditAccounts();

    // Closing (close box, Escape) with account edits not saved asks first.
    void reject() override;

private:
    void changePassword();
    void addRow();
    void deleteRow();
    void saveAccounts();
    void loadAccounts();
    void cellEdited(int row, int column);
    bool loadedPassword(int row) const;
    void setChanged(bool changed);
    QList<QStringList> gridRows() const;

    QLineEdit* oldPassword_;
    QLineEdit* newPassword_;
    QLineEdit* repeatPassword_;
    QPushButton* savePassword_;
    KvGrid* accounts_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* saveAccounts_;
    QList<QStringList> loaded_;
    bool changed_ = false;
};
