#include "app/BatchMode.h"

#include "app/TForm1.h"
#include "core/Dialogs.h"
#include "core/RecordName.h"
#include "submit/SubmissionRun.h"
#include "ui/TFlatButton.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>

#include <cstdio>
#include <cstring>

namespace {

void printTo(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

QString BatchMode::helpText()
{
    return QStringLiteral(
        "Usage: quillet [--submit \"Program Name\"] [--help]\n"
        "\n"
        "Without options Quillet opens its window on the current folder, which holds the data,\n"
        "cat, files and responses folders.\n"
        "\n"
        "  --submit NAME   Submit the program NAME from the current folder without showing the\n"
        "                  window (no display needed): its record is loaded as picking it under\n"
        "                  \"Application Name\" would, then \"Save/Submit\" is pressed. Every line of\n"
        "                  the run log is printed to standard output as it is added, every message\n"
        "                  to standard error. Sites are reached as cat/catalogue.dat says (see\n"
        "                  tools/sandbox for local stand-ins).\n"
        "                  Exit status: 0 when the run reached \"Shareware Submission is complete\",\n"
        "                  1 when it ended otherwise, 2 when NAME has no record here.\n"
        "  --help          Show this text.\n");
}

std::optional<int> BatchMode::fromCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printTo(stdout, helpText());
            return 0;
        }
        if (std::strcmp(argv[i], "--submit") != 0)
            continue;
        if (i + 1 >= argc) {
            printTo(stderr, QStringLiteral("--submit needs a program name.\n\n") + helpText());
            return Usage;
        }
        // No window is shown, so no display is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString program = QString::fromLocal8Bit(argv[i + 1]);
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Quillet"));
        return submit(program);
    }
    return std::nullopt;
}

int BatchMode::submit(const QString& program)
{
    // No one to ask: every box goes to stderr and every question gets its safe answer.
    Dialogs* previous = setDialogs(nullptr);
    int code = NotCompleted;
    {
        TForm1 form;
        if (program.isEmpty() || !isSafeRecordName(program)
            || !QFileInfo(form.dataPath(program, QStringLiteral(".dat"))).isFile()) {
            printTo(stderr, QStringLiteral("No program named \"%1\" in %2/data").arg(program, form.basedir));
            setDialogs(previous);
            return Usage;
        }
        QObject::connect(form.log->model(), &QAbstractItemModel::rowsInserted, &form,
            [&form](const QModelIndex&, int first, int last) {
                for (int row = first; row <= last; ++row)
                    printTo(stdout, form.log->item(row)->text());
            });
        // What showing the window does: read the settings, so the run's own save keeps them.
        guarded([&] { form.getsettings(); });
        // Pick the program as the user would: the list is filled on entering the box.
        guarded([&] {
            form.appnameEnter();
            form.appname->setEditText(program);
            form.appnameChange();
        });
        form.submit->click();
        code = form.runOutcome == SubmissionRun::Outcome::Completed ? Completed : NotCompleted;
    }
    setDialogs(previous);
    return code;
}
