#pragma once

#include <QCheckBox>
#include <QWidget>
#include <initializer_list>

// A condition switch: its inputs are enabled while it is ticked, and only then.
inline void bindSwitch(QCheckBox* box, std::initializer_list<QWidget*> inputs)
{
    const QList<QWidget*> targets(inputs);
    const auto apply = [targets](bool on) {
        for (QWidget* w : targets)
            w->setEnabled(on);
    };
    QObject::connect(box, &QCheckBox::toggled, box, apply);
    apply(box->isChecked());
}
