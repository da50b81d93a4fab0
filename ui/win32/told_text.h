#pragma once

#include <string>

namespace quorel {

// Gives a text of the command line ("--help", "--version", an error) to the user of a program
// without a console of its own: to its standard output or error when it has one (redirected, or
// inherited from a console), else to the console of the process that started it, else in a box.
void tellUser(const std::string& text, bool isError);

} // namespace quorel
