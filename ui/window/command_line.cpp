#include "ui/window/command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>

namespace quorel {

namespace {

constexpr const char* kHelp =
    "Usage : quorel [options]\n"
    "\n"
    "Gestion Quorel fait sonner les sorties d'un module relais USB (USB-RLY02) aux heures d'un\n"
    "horaire hebdomadaire : sonneries d'école, sirènes, éclairage.\n"
    "\n"
    "Options :\n"
    "  -h, --help     affiche cette aide\n"
    "  -v, --version  affiche la version\n"
    "\n"
    "Les horaires (Quorel.0 à Quorel.6), les jours sans sonnerie (Quorel.conges) et le port "
    "choisi\n"
    "(Quorel.ini) sont dans le dossier du programme s'il est modifiable, sinon dans\n"
    "~/.local/share/quorel/. Voir quorel(1).\n";

void printError(const QString& what) {
    std::fprintf(stderr, "quorel : %s\nEssayez « quorel --help » pour en savoir plus.\n",
                 what.toLocal8Bit().constData());
}

// The option name as the user typed it, with its dashes.
QString asTyped(const QString& name, const QStringList& arguments) {
    for (const QString& argument : arguments) {
        const QString option = argument.section('=', 0, 0);
        if (option == "-" + name || option == "--" + name) {
            return option;
        }
    }
    return name;
}

} // namespace

std::optional<int> handleCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    // Qt's own options ("-platform xcb", "-style fusion") are written with one dash.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOptions({help, version});
    for (const char* qtOption : {"platform", "style", "stylesheet", "display", "geometry"}) {
        parser.addOption(QCommandLineOption(qtOption, {}, "value"));
    }
    parser.addOption(QCommandLineOption("reverse"));
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        printError(
            unknown.isEmpty()
                ? parser.errorText()
                : QString("option inconnue « %1 »").arg(asTyped(unknown.first(), arguments)));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        printError(QString("argument inattendu « %1 »").arg(parser.positionalArguments().first()));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("quorel %s\n", QUOREL_VERSION);
        return 0;
    }
    return std::nullopt;
}

} // namespace quorel
