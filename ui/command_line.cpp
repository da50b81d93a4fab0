#include "ui/command_line.h"

#include <algorithm>

namespace quorel {

namespace {

constexpr const char* kHelp =
    "Usage : quorel [options]\n"
    "\n"
    "Gestion Quorel fait sonner les sorties d'un module relais USB (USB-RLY02) aux heures d'un\n"
    "horaire hebdomadaire : sonneries d'école, sirènes, éclairage.\n"
    "\n"
    "Options :\n"
    "  --station ADRESSE  canal de la station (service) dont la fenêtre est la console\n"
    "  --signal NOM       déclenche le signal NOM sur la station en marche, sans fenêtre\n"
    "  --stop-signal      arrête le signal en cours\n"
    "  --suspend          suspend les sonneries des horaires (les signaux sonnent encore)\n"
    "  --resume           reprend les sonneries des horaires\n"
    "  -h, --help         affiche cette aide\n"
    "  -v, --version      affiche la version\n"
    "\n"
    "Les horaires (Quorel.0 à Quorel.6), les jours sans sonnerie (Quorel.conges) et le port "
    "choisi\n"
    "(Quorel.ini) sont dans le dossier du programme s'il est modifiable, sinon dans\n"
    "~/.local/share/quorel/. Quand la station de Quorel tourne comme service, la fenêtre en\n"
    "est la console. Voir quorel(1).\n";

bool among(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

int refuse(std::ostream& err, const std::string& what) {
    err << "quorel : " << what << "\nEssayez « quorel --help » pour en savoir plus.\n";
    return 2;
}

} // namespace

std::optional<int> handleCommandLine(const std::vector<std::string>& arguments,
                                     const ToolkitOptions& toolkit, std::ostream& out,
                                     std::ostream& err, std::string* station,
                                     StationCommand* command, std::string* signal) {
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "--" ends the options; a lone "-" is an argument.
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            return refuse(err, "argument inattendu « " + argument + " »");
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // The toolkit's own options are written with one dash, so one dash or two name an option.
        const size_t dashes = argument[1] == '-' ? 2 : 1;
        const size_t equals = argument.find('=');
        const std::string typed = argument.substr(0, equals);
        const std::string name = typed.substr(dashes);
        const bool hasValue = equals != std::string::npos;
        if (name == "station" && station != nullptr) {
            if (hasValue) {
                *station = argument.substr(equals + 1);
            } else if (++i < arguments.size()) {
                *station = arguments[i];
            } else {
                return refuse(err, "valeur manquante après « " + typed + " »");
            }
        } else if (name == "signal" && command != nullptr && signal != nullptr) {
            if (hasValue) {
                *signal = argument.substr(equals + 1);
            } else if (++i < arguments.size()) {
                *signal = arguments[i];
            } else {
                return refuse(err, "valeur manquante après « " + typed + " »");
            }
            *command = StationCommand::StartSignal;
        } else if ((name == "stop-signal" || name == "suspend" || name == "resume") &&
                   command != nullptr && !hasValue) {
            *command = name == "stop-signal" ? StationCommand::StopSignal
                       : name == "suspend"   ? StationCommand::Suspend
                                             : StationCommand::Resume;
        } else if (among(toolkit.withValue, name)) {
            if (!hasValue && ++i == arguments.size()) {
                return refuse(err, "valeur manquante après « " + typed + " »");
            }
        } else if ((name == "h" || name == "help") && !hasValue) {
            help = true;
        } else if ((name == "v" || name == "version") && !hasValue) {
            version = true;
        } else if (hasValue && (among(toolkit.alone, name) || name == "h" || name == "help" ||
                                name == "v" || name == "version")) {
            return refuse(err, "l'option « " + typed + " » ne prend pas de valeur");
        } else if (!among(toolkit.alone, name)) {
            return refuse(err, "option inconnue « " + typed + " »");
        }
    }
    if (help) {
        out << kHelp;
        return 0;
    }
    if (version) {
        out << "quorel " << QUOREL_VERSION << "\n";
        return 0;
    }
    return std::nullopt;
}

} // namespace quorel
