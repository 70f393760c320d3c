#pragma once

#include "ui/Prompt.h"

#include <QList>
#include <QStringList>

namespace kvtest {

// Records every box a screen shows and answers its questions from a script.
class ScriptedPrompt : public Prompt {
public:
    struct Box {
        QString text;
        QString caption;
        bool question = false;
    };

    void message(const QString& text, const QString& caption) override;
    bool confirm(const QString& text, const QString& caption) override;

    // Answers for the next questions, in order; after them every question gets `fallback`.
    void answer(std::initializer_list<bool> answers) { answers_.append(answers); }
    bool fallback = true;

    QList<Box> boxes;
    QStringList texts() const;
    bool saw(const QString& text) const { return texts().contains(text); }
    // The last box shown; an empty box when none was.
    Box last() const { return boxes.isEmpty() ? Box() : boxes.last(); }
    void clear() { boxes.clear(); }

private:
    QList<bool> answers_;
};

// Installs a scripted prompt for the life of the object.
class PromptScope {
public:
    PromptScope() { setPrompt(&prompt); }
    ~PromptScope() { setPrompt(nullptr); }
    ScriptedPrompt prompt;
};

}  // namespace kvtest
