#pragma once

#include "db/Outcome.h"

#include <QString>

struct FillResult;
class Rows;

// Every message box goes through here, so that tests can script the answers.
class Prompt {
public:
    virtual ~Prompt() = default;
    // A plain box with OK. An empty caption shows the application's name.
    virtual void message(const QString& text, const QString& caption) = 0;
    // OK and Cancel; true for OK.
    virtual bool confirm(const QString& text, const QString& caption) = 0;

    // Shows an outcome that is not done (nor cancelled) with its caption; true when it was done.
    bool report(const Outcome& outcome);
    // The same with the caption a screen gives all its failures (some say "错误" where others
    // say "Error").
    bool report(const Outcome& outcome, const QString& caption);
    // Shows the message of a failed fill; true when the fill went through.
    bool report(const FillResult& fill);
    // Shows the server's text of a failed read (caption "Error"); true when the read went through.
    bool report(const Rows& read);
};

// The prompt in use; message boxes unless a test installed another one.
Prompt& prompt();
// Installs a prompt (not owned); nullptr goes back to message boxes.
void setPrompt(Prompt* p);
