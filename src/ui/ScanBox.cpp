#include "ui/ScanBox.h"

#include "ui/Controls.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// The box itself: Enter reads it and goes no further, so that a dialog's own Enter never runs.
class ScanEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        QLineEdit::keyPressEvent(e);
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
            e->accept();
    }
};

bool isEnter(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// A key a scanner types: a letter, a digit or a dash, without Ctrl or Alt. Blanks stay with
// the buttons and boxes they press.
bool isCodeKey(const QKeyEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString t = e->text();
    return t.size() == 1 && t.at(0).unicode() < 128 &&
           (t.at(0).isLetterOrNumber() || t.at(0) == QLatin1Char('-'));
}

// The line edit a key typed into `w` lands in; nullptr when `w` takes no text.
QLineEdit* textInput(QWidget* w, bool* takesText)
{
    *takesText = true;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->isReadOnly() ? (*takesText = false, nullptr) : e;
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable())
            return c->lineEdit();
        *takesText = false;
        return nullptr;
    }
    if (qobject_cast<QAbstractSpinBox*>(w))
        return nullptr;
    if (auto* p = qobject_cast<QPlainTextEdit*>(w); p && !p->isReadOnly())
        return nullptr;
    if (auto* t = qobject_cast<QTextEdit*>(w); t && !t->isReadOnly())
        return nullptr;
    *takesText = false;
    return nullptr;
}

}  // namespace

ScanBox::ScanBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("scanBox"));
    edit_ = new ScanEdit(this);
    edit_->setObjectName(QStringLiteral("scanEdit"));
    edit_->setPlaceholderText(QStringLiteral("扫描或输入流水卡号码"));
    edit_->setMinimumWidth(180);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeCaption(QStringLiteral("扫码"), edit_, this));
    layout->addWidget(edit_, 1);
    setFocusProxy(edit_);
    clock_.start();
    connect(edit_, &QLineEdit::returnPressed, this, &ScanBox::read);
    qApp->installEventFilter(this);
}

void ScanBox::takeFocus()
{
    edit_->setFocus(Qt::OtherFocusReason);
}

void ScanBox::read()
{
    const QString text = edit_->text().trimmed();
    edit_->clear();
    if (!text.isEmpty())
        Q_EMIT scanned(text);
}

bool ScanBox::ours(QObject* watched) const
{
    auto* w = qobject_cast<QWidget*>(watched);
    // Only the key as delivered to the focus, not again as it travels up to the parents.
    return w && w != edit_ && w->window() == window() && w == QApplication::focusWidget() && isEnabled();
}

void ScanBox::startBurst(QLineEdit* target, qint64 at)
{
    target_ = target;
    before_ = target ? target->text() : QString();
    cursorBefore_ = target ? target->cursorPosition() : 0;
    burst_.clear();
    last_ = at;
}

bool ScanBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !ours(watched))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* w = static_cast<QWidget*>(watched);
    // The window system's time of the key where it has one: keys a busy screen delivers late
    // keep the pace they were typed at.
    const qint64 at = key->timestamp() != 0 ? qint64(key->timestamp()) : clock_.elapsed();
    bool takesText = false;
    QLineEdit* input = textInput(w, &takesText);

    if (!takesText) {
        if (!isCodeKey(key))
            return false;
        // Typed where no text goes: the box takes it, and the rest of the code follows it there.
        edit_->setFocus(Qt::OtherFocusReason);
        edit_->insert(key->text());
        return true;
    }

    const bool fast = last_ >= 0 && at - last_ <= kBurstGapMs && target_ == input && input;
    if (isEnter(key)) {
        const bool scan = fast && burst_.size() >= kBurstLength;
        const QString code = burst_;
        const QString before = before_;
        const int cursor = cursorBefore_;
        startBurst(nullptr, -1);
        if (!scan)
            return false;
        // A scanner's burst: the input gets back what it held, the code goes to the box.
        input->setText(before);
        input->setCursorPosition(cursor);
        edit_->setText(code);
        read();
        return true;
    }
    if (!isCodeKey(key) || !input) {
        startBurst(nullptr, -1);
        return false;
    }
    if (!fast)
        startBurst(input, at);
    burst_ += key->text();
    last_ = at;
    return false;
}
