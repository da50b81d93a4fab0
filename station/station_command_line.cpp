#include "station/station_command_line.h"

namespace quorel {

namespace {

// Where the station works without --data-folder: stationDataFolder's choice, or on Windows
// the folder that the Windows main chooses.
#ifdef _WIN32
#define QUOREL_DEFAULT_FOLDER "%ProgramData%\\Quorel"
#define QUOREL_DEFAULT_CHANNEL "\\\\.\\pipe\\Quorel"
#else
#define QUOREL_DEFAULT_FOLDER "$STATE_DIRECTORY, sinon /var/lib/quorel"
#define QUOREL_DEFAULT_CHANNEL "$RUNTIME_DIRECTORY/quorel.sock, sinon /run/quorel/quorel.sock"
#endif

constexpr const char* kHelp =
    "Usage : quorel-station [options]\n"
    "\n"
    "Fait sonner les sorties d'un module relais USB (USB-RLY02) aux heures des horaires de\n"
    "Quorel, sans fenêtre ni session ouverte.\n"
    "\n"
    "Options :\n"
    "  --data-folder DOSSIER  dossier des horaires, de Quorel.ini, de VornAlmare.ini et du\n"
    "                         journal (par défaut " QUOREL_DEFAULT_FOLDER ")\n"
    "  --channel ADRESSE      adresse du canal local des consoles (par défaut\n"
    "                         " QUOREL_DEFAULT_CHANNEL ")\n"
    "  --status               affiche l'état de la station en marche (objet JSON) ; statut 3\n"
    "                         sans station, 4 si l'accès est refusé\n"
    "  --signal NOM           déclenche le signal NOM de Quorel.signaux sur la station en marche\n"
    "  --stop-signal          arrête le signal en cours\n"
    "  --suspend              suspend les sonneries des horaires (les signaux sonnent encore)\n"
    "  --resume               reprend les sonneries des horaires\n"
    "                         (statut 5 si la station refuse la commande)\n"
#ifdef _WIN32
    "  --service              tourne comme le service « Quorel » (lancé par le gestionnaire\n"
    "                         de services)\n"
    "  --prepare-service      prépare le dossier, le groupe « Opérateurs Quorel » et la reprise\n"
    "                         du service après une panne (lancé par le programme d'installation)\n"
#endif
    "  -h, --help             affiche cette aide\n"
    "  -v, --version          affiche la version\n";

int refuse(std::ostream& err, const std::string& what) {
    err << "quorel-station : " << what
        << "\nEssayez « quorel-station --help » pour en savoir plus.\n";
    return 2;
}

} // namespace

std::optional<int> readStationCommandLine(const std::vector<std::string>& arguments,
                                          StationOptions& options, std::ostream& out,
                                          std::ostream& err) {
    bool help = false;
    bool version = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            return refuse(err, "argument inattendu « " + argument + " »");
        }
        const size_t equals = argument.find('=');
        const std::string typed = argument.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        if (typed == "--data-folder" || typed == "--channel" || typed == "--signal") {
            std::string value;
            if (hasValue) {
                value = argument.substr(equals + 1);
            } else if (++i < arguments.size()) {
                value = arguments[i];
            } else {
                return refuse(err, "valeur manquante après « " + typed + " »");
            }
            if (typed == "--signal") {
                options.command = StationCommand::StartSignal;
                options.signal = value;
            } else {
                (typed == "--channel" ? options.channel : options.dataFolder) = value;
            }
        } else if ((typed == "--stop-signal" || typed == "--suspend" || typed == "--resume") &&
                   !hasValue) {
            options.command = typed == "--stop-signal" ? StationCommand::StopSignal
                              : typed == "--suspend"   ? StationCommand::Suspend
                                                       : StationCommand::Resume;
        } else if (typed == "--status" && !hasValue) {
            options.status = true;
#ifdef _WIN32
        } else if (typed == "--service" && !hasValue) {
            options.service = true;
        } else if (typed == "--prepare-service" && !hasValue) {
            options.prepareService = true;
#endif
        } else if ((typed == "-h" || typed == "--help") && !hasValue) {
            help = true;
        } else if ((typed == "-v" || typed == "--version") && !hasValue) {
            version = true;
        } else {
            return refuse(err, "option inconnue « " + typed + " »");
        }
    }
    if (help) {
        out << kHelp;
        return 0;
    }
    if (version) {
        out << "quorel-station " << QUOREL_VERSION << "\n";
        return 0;
    }
    return std::nullopt;
}

std::string
stationDataFolder(const StationOptions& options,
                  const std::function<std::optional<std::string>(const char*)>& environment) {
    if (!options.dataFolder.empty()) {
        return options.dataFolder;
    }
    // systemd may list several folders, separated by colons: the first is the station's.
    if (const std::optional<std::string> state = environment("STATE_DIRECTORY");
        state && !state->empty()) {
        return state->substr(0, state->find(':'));
    }
    return kStationDataFolder;
}

} // namespace quorel
