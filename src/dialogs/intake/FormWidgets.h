#pragma once

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Controls.h"

// Small builders of the intake form's controls: stable object names, captions as
// accessible names, no default buttons.
namespace intakeui {

// A field with its caption at (row, column) of a two-column form grid.
template <typename W>
W* field(const QString& caption, const char* name, QGridLayout* grid, int row, int column, QWidget* parent)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setAccessibleName(caption);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(w);
    grid->addWidget(label, row, column * 2);
    grid->addWidget(w, row, column * 2 + 1);
    return w;
}

// A field that its check box unlocks.
inline QLineEdit* lockedField(QCheckBox* box, const QString& caption, const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(caption);
    QObject::connect(box, &QCheckBox::toggled, e, [e](bool on) { e->setReadOnly(!on); });
    return e;
}

}  // namespace intakeui
