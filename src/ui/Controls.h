#pragma once

#include <QString>
#include <initializer_list>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDate;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Builders of the controls every screen uses, each (caption, object name, parent): a stable
// object name, the caption as the text of buttons and boxes and as the accessible name of
// the rest, and no default button, so that Enter does only what a screen says.
QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent);
QCheckBox* makeCheckBox(const QString& caption, const char* name, QWidget* parent);
QRadioButton* makeRadio(const QString& caption, const char* name, QWidget* parent);
QLineEdit* makeEdit(const QString& caption, const char* name, QWidget* parent);
QComboBox* makeCombo(const QString& caption, const char* name, QWidget* parent);
// A date picker written YYYY-MM-DD, whatever the desktop's format, with a calendar.
QDateEdit* makeDate(const QString& caption, const char* name, QWidget* parent, const QDate& date);

// A caption that names its control for the keyboard (buddy) and for assistive technology (an
// empty caption, filled in later, leaves the control's own name). `name` names the caption
// itself where a screen changes its text.
QLabel* makeCaption(const QString& text, QWidget* buddy, QWidget* parent, const char* name = nullptr);

// Puts a control with its caption (its accessible name) at (row, column) of a form grid of
// caption and control pairs.
void placeField(QGridLayout* grid, int row, int column, QWidget* field);

// A switch: its inputs are enabled while it is checked, and only then.
void bindSwitch(QAbstractButton* box, std::initializer_list<QWidget*> inputs);
// A switch over a group of radio buttons: they are enabled while it is checked; unchecking it
// clears the choice, so that a later tick starts from none.
void bindChoices(QAbstractButton* box, QButtonGroup* group);
// A box that unlocks an edit for typing: read-only while unchecked. The edit starts as it is.
void bindLock(QAbstractButton* box, QLineEdit* edit);
