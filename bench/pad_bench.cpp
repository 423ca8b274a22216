// Imports a PAD file of about 1 MB (the listing, then a long tail of extension elements, as PAD
// editors append for affiliate programs and translations) and checks a full record with every
// site ticked, against "xmllint --noout" parsing the same file, in the same rounds. Prints the
// ratio of each round; target: at most 1.0. Fails when either side fails.
//
//   pad_bench [--rounds N] [--megabytes M]
#include "BenchSupport.h"
#include "batch/RecordLayout.h"
#include "pad/ListingCheck.h"
#include "pad/PadImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray padOfSize(int megabytes)
{
    QByteArray xml
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML_DIZ_INFO>\r\n"
          "<MASTER_PAD_VERSION_INFO><MASTER_PAD_VERSION>4.0</MASTER_PAD_VERSION></MASTER_PAD_VERSION_INFO>\r\n"
          "<Company_Info><Company_Name>Bench Software</Company_Name>"
          "<Contact_Info><Contact_First_Name>Ann</Contact_First_Name><Contact_Last_Name>Author"
          "</Contact_Last_Name><Contact_Email>ann@bench.example</Contact_Email></Contact_Info>"
          "</Company_Info>\r\n<Program_Info><Program_Name>Bench Program</Program_Name>"
          "<Program_Version>1.0</Program_Version><Program_Type>Shareware</Program_Type>"
          "<Program_OS_Support>Win95,WinXP</Program_OS_Support><File_Info><File_Size_Bytes>1500"
          "</File_Size_Bytes></File_Info></Program_Info>\r\n<Program_Descriptions><English>"
          "<Char_Desc_45>A bench program</Char_Desc_45><Char_Desc_2000>Long text &amp; more."
          "</Char_Desc_2000></English></Program_Descriptions>\r\n<Extensions>\r\n";
    for (int i = 0; xml.size() < megabytes * 1024 * 1024; ++i)
        xml += "<Extension_" + QByteArray::number(i % 50) + "><Title>Affiliate page " + QByteArray::number(i)
            + "</Title><Text>Translated description &#233; number " + QByteArray::number(i) + "</Text></Extension_"
            + QByteArray::number(i % 50) + ">\r\n";
    return xml + "</Extensions>\r\n</XML_DIZ_INFO>\r\n";
}

ListingInput fullRecord(const PadImport& imported)
{
    ListingInput input;
    input.values = imported.values;
    for (const RecordKey& key : RecordLayout::categoryKeys())
        input.values.insert(QString(key.control), QStringLiteral("Utilities"));
    input.values.insert(QStringLiteral("smtpedit"), QStringLiteral("mail.bench.example"));
    input.values.insert(QStringLiteral("emailedit"), QStringLiteral("ann@bench.example"));
    for (QLatin1StringView box : RecordLayout::tickBoxes())
        input.ticked.append(QString(box));
    input.programFile = ProgramFile{true, true, 1500};
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = int(numberOption(argc, argv, "rounds", 5));
    const int megabytes = int(numberOption(argc, argv, "megabytes", 1));
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty()) {
        std::fprintf(stderr, "pad_bench: xmllint is missing (Debian libxml2-utils)\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(padOfSize(megabytes)) < 0)
        return 1;
    file.close();

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QFile in(path);
        QString error;
        std::optional<PadDocument> pad;
        if (in.open(QIODevice::ReadOnly))
            pad = PadDocument::parse(in.readAll(), &error);
        if (!pad) {
            std::fprintf(stderr, "pad_bench: the import failed: %s\n", qPrintable(error));
            return 1;
        }
        const double parsed = seconds(timer);
        const PadImport imported = PadImport::from(*pad);
        const double mapped = seconds(timer);
        const std::vector<Finding> findings = ListingCheck::run(fullRecord(imported));
        const double checked = seconds(timer) - mapped;
        ours.push_back(seconds(timer));
        if (imported.values.value(QStringLiteral("appname")) != QLatin1String("Bench Program") || findings.empty()) {
            std::fprintf(stderr, "pad_bench: the import or the check gave the wrong result\n");
            return 1;
        }
        const double lint = secondsToRun(xmllint, {QStringLiteral("--noout"), path});
        if (lint < 0) {
            std::fprintf(stderr, "pad_bench: xmllint failed on the file\n");
            return 1;
        }
        theirs.push_back(lint);
        std::printf("round %d: read and parse %.4f s, import %.4f s, check %.4f s; xmllint %.4f s\n", round + 1, parsed,
            mapped - parsed, checked, lint);
    }
    printRatios(QStringLiteral("pad_bench: import of a %1 MB PAD file and a check of a full record").arg(megabytes),
        "Quillet", ours, "xmllint --noout", theirs);
    return 0;
}
