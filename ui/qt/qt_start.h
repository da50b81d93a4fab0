#pragma once

#include <QApplication>
#include <memory>

namespace quorel {

// Makes the program's QApplication. Without a display to open a window on (started at log-on
// before the session is ready, or from a text console), the toolkit would abort with an English
// message of its own: instead the program notes "Démarrage impossible : pas d'affichage" in the
// journal, says so in French on the error output, and ends with exit status 1.
std::unique_ptr<QApplication> startQtApplication(int& argc, char** argv);

} // namespace quorel
