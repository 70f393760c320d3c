#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

// Builders of the controls every screen uses: a stable object name, the caption as the
// accessible name, and no default button, so that Enter does only what a screen says.
inline QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

inline QCheckBox* makeCheckBox(const QString& text, const char* name, QWidget* parent)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

// A caption that names its control for the keyboard (buddy) and for assistive technology.
inline QLabel* makeCaption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return l;
}
