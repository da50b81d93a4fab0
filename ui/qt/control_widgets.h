#pragma once

#include "core/form.h"

#include <QString>

class QWidget;

namespace quorel {

using FormControl = ControlDescription<int, int>;

// "<name>", or "<name>_<index>" for an element of a control array.
QString objectNameOf(const char* name, int index);

// The Qt widget of a described control: QLabel, QPushButton, QRadioButton, QCheckBox, QLineEdit,
// QFrame (colour box), QGroupBox, QTreeWidget (report list), QListWidget, QComboBox (editable for
// a combo field), QDateEdit or QPlainTextEdit (lines view). It has its name, caption, tool tip,
// type and first state, and lies at its place, widened to fit its caption where placeFitting
// says.
QWidget* buildControl(const FormControl& control, QWidget* parent);

// What a control shows as built, before its form sets anything.
ControlValue describedValue(const FormControl& control);

// Shows on a control made by buildControl what differs from was in now (values as shownValue
// gives them).
void showValue(QWidget* widget, const FormControl& control, const ControlValue& was,
               const ControlValue& now);

} // namespace quorel
