#include "ui/Controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename W>
W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

template <typename W>
W* captioned(const QString& caption, const char* name, QWidget* parent)
{
    W* w = named(new W(parent), name);
    w->setAccessibleName(caption);
    return w;
}

}  // namespace

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* makeCheckBox(const QString& caption, const char* name, QWidget* parent)
{
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton* makeRadio(const QString& caption, const char* name, QWidget* parent)
{
    return named(new QRadioButton(caption, parent), name);
}

QLineEdit* makeEdit(const QString& caption, const char* name, QWidget* parent)
{
    return captioned<QLineEdit>(caption, name, parent);
}

QComboBox* makeCombo(const QString& caption, const char* name, QWidget* parent)
{
    return captioned<QComboBox>(caption, name, parent);
}

QDateEdit* makeDate(const QString& caption, const char* name, QWidget* parent, const QDate& date)
{
    auto* d = captioned<QDateEdit>(caption, name, parent);
    d->setDate(date);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}

QLabel* makeCaption(const QString& text, QWidget* buddy, QWidget* parent, const char* name)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    if (!text.isEmpty())
        buddy->setAccessibleName(text);
    return l;
}

void placeField(QGridLayout* grid, int row, int column, QWidget* field)
{
    grid->addWidget(makeCaption(field->accessibleName(), field, field->parentWidget()), row, column * 2);
    grid->addWidget(field, row, column * 2 + 1);
}

void bindSwitch(QAbstractButton* box, std::initializer_list<QWidget*> inputs)
{
    const QList<QWidget*> targets(inputs);
    const auto apply = [targets](bool on) {
        for (QWidget* w : targets)
            w->setEnabled(on);
    };
    QObject::connect(box, &QAbstractButton::toggled, box, apply);
    apply(box->isChecked());
}

void bindChoices(QAbstractButton* box, QButtonGroup* group)
{
    const auto apply = [group](bool on) {
        if (!on) {
            group->setExclusive(false);
            for (QAbstractButton* b : group->buttons())
                b->setChecked(false);
            group->setExclusive(true);
        }
        for (QAbstractButton* b : group->buttons())
            b->setEnabled(on);
    };
    QObject::connect(box, &QAbstractButton::toggled, group, apply);
    apply(box->isChecked());
}

void bindLock(QAbstractButton* box, QLineEdit* edit)
{
    QObject::connect(box, &QAbstractButton::toggled, edit, [edit](bool on) { edit->setReadOnly(!on); });
}
