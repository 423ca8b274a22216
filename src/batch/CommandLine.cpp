#include "batch/CommandLine.h"

namespace {

// Qt's own options that take a value, and those that do not; Qt reads them with one dash or two.
const QStringList kQtWithValue{QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowtitle"), QStringLiteral("qwindowicon"), QStringLiteral("style"),
    QStringLiteral("stylesheet"), QStringLiteral("session"), QStringLiteral("display"), QStringLiteral("geometry")};
const QStringList kQtFlags{QStringLiteral("reverse"), QStringLiteral("widgetcount")};

QString optionName(const QString& arg)
{
    if (arg.startsWith(QLatin1String("--")))
        return arg.mid(2);
    if (arg.startsWith(QLatin1Char('-')))
        return arg.mid(1);
    return {};
}

} // namespace

CommandLine CommandLine::parse(const QStringList& args)
{
    CommandLine line;
    auto refuse = [&line](const QString& why) {
        line.action = Action::Refused;
        line.error = why;
        return line;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.action = Action::Help;
            return line;
        }
        if (arg == QLatin1String("--version")) {
            line.action = Action::Version;
            return line;
        }
        if (arg == QLatin1String("--submit")) {
            if (!hasValue)
                return refuse(QStringLiteral("--submit needs a program name."));
            line.action = Action::Submit;
            line.program = args[++i];
        } else if (arg == QLatin1String("--import-pad")) {
            if (!hasValue || args[i + 1].isEmpty())
                return refuse(QStringLiteral("--import-pad needs a PAD file or its address."));
            line.action = Action::ImportPad;
            line.padSource = args[++i];
        } else if (arg == QLatin1String("--export-pad")) {
            if (i + 2 >= args.size() || args[i + 1].isEmpty() || args[i + 2].isEmpty())
                return refuse(QStringLiteral("--export-pad needs a program name and a file."));
            line.action = Action::ExportPad;
            line.program = args[++i];
            line.padFile = args[++i];
        } else if (arg == QLatin1String("--check")) {
            if (!hasValue)
                return refuse(QStringLiteral("--check needs a program name."));
            line.action = Action::Check;
            line.program = args[++i];
        } else if (arg == QLatin1String("--check-endpoints")) {
            line.action = Action::CheckEndpoints;
            // The program is optional: without it every configured endpoint is tried.
            if (hasValue && !args[i + 1].startsWith(QLatin1Char('-')))
                line.program = args[++i];
        } else if (arg == QLatin1String("--force")) {
            line.force = true;
        } else if (arg == QLatin1String("--quiet")) {
            line.quiet = true;
        } else if (arg == QLatin1String("--report")) {
            if (!hasValue || args[i + 1].isEmpty())
                return refuse(QStringLiteral("--report needs a file."));
            line.report = args[++i];
        } else if (arg == QLatin1String("--retry-failed")) {
            if (!hasValue || args[i + 1].isEmpty())
                return refuse(QStringLiteral("--retry-failed needs a report file."));
            line.retryFailed = args[++i];
        } else if (arg == QLatin1String("--dry-run")) {
            if (!hasValue || args[i + 1].isEmpty())
                return refuse(QStringLiteral("--dry-run needs a folder."));
            line.dryRun = args[++i];
        } else if (arg == QLatin1String("--timeout") || arg == QLatin1String("--site-limit")) {
            const bool timeout = arg == QLatin1String("--timeout");
            bool ok = false;
            const int seconds = hasValue ? args[i + 1].toInt(&ok) : 0;
            if (!ok || seconds < 0)
                return refuse(timeout ? QStringLiteral("--timeout needs a number of seconds (0: no time-out).")
                                      : QStringLiteral("--site-limit needs a number of seconds (0: no limit)."));
            (timeout ? line.timeout : line.siteLimit) = seconds;
            ++i;
        } else if (arg == QLatin1String("--setup")) {
            line.action = Action::SetUp;
        } else if (arg == QLatin1String("--base")) {
            if (!hasValue || args[i + 1].isEmpty())
                return refuse(QStringLiteral("--base needs a folder."));
            line.base = args[++i];
        } else if (const QString name = optionName(arg); kQtWithValue.contains(name) && hasValue) {
            ++i;
        } else if (!kQtFlags.contains(name)) {
            return refuse((arg.startsWith(QLatin1Char('-')) ? QStringLiteral("Unknown option: %1")
                                                            : QStringLiteral("Unexpected argument: %1"))
                              .arg(arg));
        }
    }
    // Options of a submission given without one would be silently ignored (or open the window).
    const bool submitting = line.action == Action::Submit;
    const std::pair<bool, const char*> submitOnly[] = {{!line.report.isEmpty(), "--report"},
        {line.timeout >= 0 && line.action != Action::CheckEndpoints, "--timeout"},
        {line.siteLimit >= 0, "--site-limit"}, {!line.dryRun.isEmpty(), "--dry-run"},
        {!line.retryFailed.isEmpty(), "--retry-failed"}, {line.quiet, "--quiet"},
        {line.force && line.action != Action::ImportPad, "--force"}};
    for (const auto& [given, option] : submitOnly) {
        if (given && !submitting) {
            const QString other = qstrcmp(option, "--force") == 0 ? QStringLiteral(" or --import-pad")
                : qstrcmp(option, "--timeout") == 0               ? QStringLiteral(" or --check-endpoints")
                                                                  : QString();
            return refuse(QStringLiteral("%1 goes with --submit%2.").arg(QLatin1String(option), other));
        }
    }
    return line;
}
