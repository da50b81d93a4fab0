#pragma once

#include "core/form.h"

#include <string>
#include <vector>

namespace quorel {

class Program;

// The menu "Signaux": each signal of Quorel.signaux started after a question, the signal that
// runs stopped, the timetable's bells suspended and resumed after a question. The window's own
// station does it, or the station whose console the window is. Whatever cannot be done is said
// in a box.
void signalClicked(Program& program, int index);
void stopSignalClicked(Program& program);
void suspendClicked(Program& program);

// The names of the signals that can run, for the menu (read again after the dialog saved them).
std::vector<std::string> readSignalNames(Program& program);
// The signal that runs ("" for none) and whether the bells are suspended, of the station shown.
std::string runningSignal(const Program& program);
bool bellsSuspended(const Program& program);

// "Signaux…": the signals' dialog, on screen; once saved, the menu lists them as they are now.
void editSignals(Program& program, FormScreen& screen);

} // namespace quorel
