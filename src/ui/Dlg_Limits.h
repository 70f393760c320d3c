#pragma once

#include <QDialog>

class QLineEdit;

// The privileged-password prompt: created hidden as a child of the screen that guards
// an action, shown when the password is needed. It only collects the text: "确定" puts it
// into g_limitPassword and posts KvMessage(9558, 1) to the owner, which does the check.
class Dlg_Limits : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPasswordTyped = 9558;

    explicit Dlg_Limits(QWidget* owner);

    // Shows the prompt centred over its owner with the focus in the box.
    void ask();

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    // However the prompt goes (确定, 取消, Escape, the close box), it forgets what was typed,
    // so that the next prompt never opens filled in.
    void hideEvent(QHideEvent* e) override;

private:
    QLineEdit* password_;
};
