#pragma once

#include <QString>

// What an operation reports back to its screen: done, refused (a rule stood in the way),
// taken (another desk changed the rows first; the screen refreshes) - both shown with the
// caption "错误" - or failed (the server refused a statement; its text is shown with the
// caption "Error") - or cancelled (the user stopped it, or there was nothing to do; nothing
// is shown). Screens react to the kind, never to the text.
class Outcome {
public:
    enum class Kind { Done, Refused, Taken, Failed, Cancelled };

    static Outcome done() { return Outcome(Kind::Done, QString()); }
    static Outcome refused(const QString& text) { return Outcome(Kind::Refused, text); }
    static Outcome taken(const QString& text) { return Outcome(Kind::Taken, text); }
    static Outcome failed(const QString& text) { return Outcome(Kind::Failed, text); }
    static Outcome cancelled() { return Outcome(Kind::Cancelled, QString()); }

    bool ok() const { return kind_ == Kind::Done; }
    explicit operator bool() const { return ok(); }
    Kind kind() const { return kind_; }
    bool isTaken() const { return kind_ == Kind::Taken; }
    const QString& text() const { return text_; }
    // The caption of the message box that shows this outcome.
    QString caption() const
    {
        return kind_ == Kind::Failed ? QStringLiteral("Error") : QStringLiteral("错误");
    }

private:
    Outcome(Kind kind, const QString& text) : kind_(kind), text_(text) {}
    Kind kind_;
    QString text_;
};
