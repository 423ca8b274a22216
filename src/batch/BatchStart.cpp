#include "batch/BatchStart.h"

#include "batch/BaseFolder.h"
#include "batch/BatchPrint.h"
#include "batch/CommandLine.h"
#include "core/Errors.h"

#include <QDir>

QString BatchMode::helpText()
{
    return QStringLiteral(
        "Usage: quillet [--base DIR] [--setup | --submit \"Program Name\" | --check NAME | --check-endpoints [NAME]\n"
        "               | --import-pad FILE|URL | --export-pad NAME FILE] [--force] [--version] [--help]\n"
        "\n"
        "Without options Quillet opens its window on the base folder, which holds the data, cat,\n"
        "files and responses folders. The base folder is the current folder; started from the home\n"
        "folder, which holds no such folders, it is ~/Quillet.\n"
        "\n"
        "  --base DIR      Use DIR as the base folder.\n"
        "  --setup         Set the base folder up for Quillet: create its cat, data, files and\n"
        "                  responses folders and put the site category lists into cat. Files that\n"
        "                  are there already are kept; a base folder that does not exist is made.\n"
        "                  The window offers the same on its first start.\n"
        "  --submit NAME   Submit the program NAME, as listed in data/apps.dat, without showing\n"
        "                  the window (no display needed): its record is loaded as picking it under\n"
        "                  \"Application Name\" would, then \"Save/Submit\" is pressed. Every line of\n"
        "                  the run log is printed to standard output as it is added, every message\n"
        "                  to standard error. Sites are reached as cat/catalogue.dat says (see\n"
        "                  tools/sandbox for local stand-ins).\n"
        "                  Every run writes a report of what became of each ticked site to\n"
        "                  reports/NAME yyyy-mm-dd hh-mm-ss.json (see the README) and ends with a\n"
        "                  one-line summary on standard error.\n"
        "  --report FILE   With --submit: write the run's report to FILE instead.\n"
        "  --retry-failed REPORT\n"
        "                  With --submit: send only to the sites that REPORT lists as failed,\n"
        "                  skipped, not reached or not set up, with the tick boxes they had then.\n"
        "  --timeout SECONDS\n"
        "                  With --submit: end a network wait that sees no progress for SECONDS as\n"
        "                  Skip would (0: never). Without it, the Check / Options setting counts.\n"
        "                  With --check-endpoints: the most each endpoint may take (0: 120).\n"
        "  --site-limit SECONDS\n"
        "                  With --submit: end a site that takes longer than SECONDS in all as the\n"
        "                  time-out would (0: never). Without it, ten times the time-out.\n"
        "  --force         With --submit: send even when the listing check finds errors. With\n"
        "                  --import-pad: update the fields of an existing record.\n"
        "  --check NAME    Check the listing of NAME without sending anything: every field's rule,\n"
        "                  the program file, the settings and the needs of each ticked site. Prints\n"
        "                  the findings; exit status 0 (none), 4 (warnings only) or 5 (errors).\n"
        "                  --submit runs the same check first and stops on errors (status 5).\n"
        "  --check-endpoints [NAME]\n"
        "                  Try the endpoints without sending anything: name look-up, connect, the\n"
        "                  TLS handshake with its certificate check where the endpoint asks for TLS,\n"
        "                  and the FTP and SMTP greeting (then QUIT). Without NAME every configured\n"
        "                  endpoint (the sites' web and FTP hosts in cat/catalogue.dat and\n"
        "                  cat/sites/*.site, the mail server); with NAME those its ticked sites would\n"
        "                  use, and any of them still\n"
        "                  not set up. Up to 16 at a time, each bounded by the time-out (--timeout\n"
        "                  SECONDS, else the Check / Options setting). Prints site, endpoint and\n"
        "                  result; exit status 0 (all reachable) or 3.\n"
        "  --import-pad FILE|URL\n"
        "                  Create (or with --force update) a program record and its company from a\n"
        "                  PAD file, read from disk or fetched by http or https. Ends with what was\n"
        "                  filled and what was left out and why; a damaged file changes nothing.\n"
        "  --export-pad NAME FILE\n"
        "                  Write the record of NAME and its company as a PAD 4.0 file.\n"
        "  --dry-run DIR   With --submit: walk the run as it would go, but write what each site\n"
        "                  would receive into DIR (http/NNNN.req, mail/NNNN.eml,\n"
        "                  ftp/HOST/FOLDER/FILE) instead of sending it. The record is left as it was.\n"
        "  --quiet         With --submit: no \"[n/N] Site\" line on standard error as each site starts.\n"
        "  --version       Show the version.\n"
        "  --help          Show this text.\n"
        "\n"
        "Exit status of --submit:\n"
        "  0  every ticked site was sent\n"
        "  1  the run ended early (Cancel, an error, a failed check) or did not start\n"
        "  2  NAME is not a listed program here, or the base folder is not set up\n"
        "  3  the run completed with one or more sites failed, skipped, refused or not set up\n"
        "  5  the listing check found errors; nothing was sent\n"
        "\n"
        "A wrong command line is refused with exit status 2.\n");
}

CommandLine BatchMode::parse(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return CommandLine::parse(args);
}

std::optional<int> BatchMode::prepare(const CommandLine& line)
{
    switch (line.action) {
    case CommandLine::Action::Help:
        printLine(stdout, helpText());
        return Completed;
    case CommandLine::Action::Version:
        printLine(stdout, QStringLiteral("Quillet 1.20b"));
        return Completed;
    case CommandLine::Action::Refused:
        printLine(stderr,
            line.error + (line.error.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."))
                + QStringLiteral(" See quillet --help."));
        return Usage;
    default:
        break;
    }
    // Setting a base folder up begins by making it.
    if (line.action == CommandLine::Action::SetUp && !line.base.isEmpty())
        QDir().mkpath(line.base);
    if (!line.base.isEmpty() && !QDir::setCurrent(line.base)) {
        printLine(stderr, QStringLiteral("Cannot use %1 as the base folder: there is no such folder.").arg(line.base));
        return Usage;
    }
    if (line.base.isEmpty()) {
        // A desktop launcher starts programs in the home folder, which is no place for the data.
        const QString chosen = BaseFolder::forStartIn(QDir::currentPath(), QDir::homePath());
        if (chosen != QDir::currentPath() && (line.action != CommandLine::Action::Submit || QDir(chosen).exists())) {
            QDir().mkpath(chosen);
            QDir::setCurrent(chosen);
        }
    }
    const QString base = QDir::currentPath();
    if (line.action == CommandLine::Action::SetUp) {
        try {
            BaseFolder::setUp(base);
        } catch (const QuilletError& e) {
            printLine(stderr, e.message());
            return NotCompleted;
        }
        printLine(stdout, QStringLiteral("Set up %1 for Quillet.").arg(base));
        return Completed;
    }
    if (!isBatch(line))
        return std::nullopt;
    if (!BaseFolder::isSetUp(base)) {
        printLine(stderr,
            QStringLiteral("%1 holds no Quillet data (no cat or data folder). Set it up with: quillet --base \"%1\" "
                           "--setup")
                .arg(base));
        return Usage;
    }
    // Standard error is the run's: Qt's notes about the desktop session (no runtime folder, no
    // display) mean nothing here. Its errors still show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    });
    return std::nullopt;
}

bool BatchMode::isBatch(const CommandLine& line)
{
    return line.action == CommandLine::Action::Submit || line.action == CommandLine::Action::ImportPad
        || line.action == CommandLine::Action::ExportPad || line.action == CommandLine::Action::Check
        || line.action == CommandLine::Action::CheckEndpoints;
}
