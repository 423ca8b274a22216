#include "ProgramBase.h"

#include "support/GivenMailboxes.h"

#include "batch/RecordLayout.h"

#include <QProcess>

namespace {

QString latin(QLatin1StringView v)
{
    return QString(v);
}

} // namespace

void writeProgram(const TempBase& base, const ProgramRecord& record)
{
    QMap<QString, QString> fields = record.fields;
    if (!fields.contains(QStringLiteral("localpath"))) {
        const QString archive = QStringLiteral("files/") + record.name + QStringLiteral(".zip");
        base.write(archive, "PK\x03\x04");
        fields[QStringLiteral("localpath")] = base.file(archive);
    }
    QByteArray ini;
    auto section = [&](QLatin1StringView name, std::span<const RecordKey> keys) {
        ini += "[" + latin(name).toUtf8() + "]\r\n";
        for (const RecordKey& k : keys) {
            const QString control = latin(k.control);
            const QString value
                = control == QLatin1String("appname") ? record.name : fields.value(control, latin(k.defaultValue));
            ini += latin(k.key).toUtf8() + "=" + value.toUtf8() + "\r\n";
        }
    };
    section(RecordLayout::Company, RecordLayout::companyKeys());
    section(RecordLayout::AppInfo, RecordLayout::appInfoKeys());
    section(RecordLayout::Sites, RecordLayout::categoryKeys());
    for (QLatin1StringView box : RecordLayout::tickBoxes())
        ini += latin(box).toUtf8() + (record.ticked.contains(latin(box)) ? "=1\r\n" : "=0\r\n");

    base.write(QStringLiteral("data/apps.dat"), record.name.toUtf8() + "\r\n");
    base.write(QStringLiteral("data/") + record.name + QStringLiteral(".dat"), ini);
    QByteArray lds;
    for (const QString& line : record.longdesc)
        lds += line.toUtf8() + "\r\n";
    base.write(QStringLiteral("data/") + record.name + QStringLiteral(".lds"), lds);
    QByteArray nts;
    for (const QString& line : record.notes)
        nts += line.toUtf8() + "\r\n";
    base.write(QStringLiteral("data/") + record.name + QStringLiteral(".nts"), nts);
}

QByteArray catalogueForPeers(quint16 httpPort, quint16 ftpPort, const QMap<QString, QByteArray>& siteLines)
{
    QByteArray text = "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(httpPort) + "\r\n";
    if (ftpPort != 0)
        text += "FTPHOST=127.0.0.1:" + QByteArray::number(ftpPort) + "\r\n";
    return text + givenMailboxes(siteLines);
}

QByteArray mailSettingsFor(quint16 smtpPort, const char* email, const char* name)
{
    return "[SETTINGS]\r\nSMTP=127.0.0.1:" + QByteArray::number(smtpPort) + "\r\nEMAIL=" + email + "\r\nNAME=" + name
        + "\r\n";
}

BatchResult runQuillet(const QString& folder, const QStringList& args, const QString& program)
{
    // These runs test what the sites get from records made to test them, not whether the listing
    // check would let them through: a submission is forced past the check's errors.
    QStringList forced = args;
    if (args.contains(QStringLiteral("--submit")) && !args.contains(QStringLiteral("--force")))
        forced.append(QStringLiteral("--force"));
    return runQuilletAsTyped(folder, forced, program);
}

BatchResult runQuilletAsTyped(const QString& folder, const QStringList& args, const QString& program)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // As a script on a machine without a desktop session runs it.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program.isEmpty() ? QStringLiteral(QUILLET_BINARY_DIR "/quillet") : program, args);
    BatchResult result;
    // Only a guard against a hung run: a passing run ends long before.
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("quillet did not finish");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    result.out = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
