#include "ui/Prompt.h"

#include "db/FillList.h"
#include "db/Rows.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace {

// On a platform without a screen (offscreen) nobody can answer a box: the message goes to
// the standard error output instead and a question is answered Cancel.
bool headless()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

void toStandardError(const QString& text, const QString& caption)
{
    std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stderr);
}

class BoxPrompt : public Prompt {
public:
    void message(const QString& text, const QString& caption) override
    {
        if (headless())
            return toStandardError(text, caption);
        QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? QApplication::applicationName() : caption,
                        text, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }
    bool confirm(const QString& text, const QString& caption) override
    {
        if (headless()) {
            toStandardError(text, caption);
            return false;
        }
        QMessageBox box(QMessageBox::Question, caption.isEmpty() ? QApplication::applicationName() : caption,
                        text, QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }
};

BoxPrompt g_boxes;
Prompt* g_current = &g_boxes;

}  // namespace

bool Prompt::report(const Outcome& outcome)
{
    return report(outcome, outcome.caption());
}

bool Prompt::report(const Outcome& outcome, const QString& caption)
{
    if (!outcome.ok() && outcome.kind() != Outcome::Kind::Cancelled)
        message(outcome.text(), caption);
    return outcome.ok();
}

bool Prompt::report(const FillResult& fill)
{
    if (fill.code < 0)
        message(fill.message, fill.caption);
    return fill.code >= 0;
}

bool Prompt::report(const Rows& read)
{
    return read.ok() || report(read.failed());
}

Prompt& prompt()
{
    return *g_current;
}

void setPrompt(Prompt* p)
{
    g_current = p ? p : &g_boxes;
}
