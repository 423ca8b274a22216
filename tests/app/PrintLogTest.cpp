#include "PdfWords.h"
#include "app/LogPrinter.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every character is 10 pixels wide, the font 12 pixels high: printed lines advance by 14.
LogPrinter::Metrics fixedMetrics()
{
    LogPrinter::Metrics m;
    m.width = [](const QString& text) { return int(text.size()) * 10; };
    m.height = 12;
    m.averageCharWidth = 10;
    return m;
}

using Run = LogPrinter::Run;

} // namespace

// Readable failure output for runs.
void PrintTo(const LogPrinter::Run& run, std::ostream* os)
{
    *os << "{" << run.x << ", \"" << run.text.toStdString() << "\"}";
}

namespace {

struct BreakCase
{
    const char* name;
    QString line;
    int pageWidth;
    QList<QList<Run>> expected; // the printed lines' runs
};

class LogLayoutBreaking : public ::testing::TestWithParam<BreakCase>
{
};

TEST_P(LogLayoutBreaking, BreaksAndTabsAsExpected)
{
    const BreakCase& c = GetParam();
    const auto pages = LogPrinter::layout({c.line}, fixedMetrics(), c.pageWidth, 10000);
    ASSERT_EQ(pages.size(), 1);
    ASSERT_EQ(pages[0].size(), c.expected.size());
    for (qsizetype i = 0; i < c.expected.size(); ++i) {
        EXPECT_EQ(pages[0][i].y, 14 * i);
        EXPECT_EQ(pages[0][i].runs, c.expected[i]) << "printed line " << i;
    }
}

const QString S = QStringLiteral("");

INSTANTIATE_TEST_SUITE_P(Cases, LogLayoutBreaking,
    ::testing::Values(
        BreakCase{"plain", QStringLiteral("Tucows: Completed"), 1000, {{{0, QStringLiteral("Tucows: Completed")}}}},
        BreakCase{"empty", S, 1000, {{}}},
        BreakCase{"exactFit", QStringLiteral("abcde"), 50, {{{0, QStringLiteral("abcde")}}}},
        BreakCase{
            "oneOver", QStringLiteral("abcdef"), 50, {{{0, QStringLiteral("abcde")}}, {{0, QStringLiteral("f")}}}},
        BreakCase{"threePieces", QStringLiteral("abcdefghijklm"), 55,
            {{{0, QStringLiteral("abcde")}}, {{0, QStringLiteral("fghij")}}, {{0, QStringLiteral("klm")}}}},
        BreakCase{
            "charWiderThanPage", QStringLiteral("ab"), 5, {{{0, QStringLiteral("a")}}, {{0, QStringLiteral("b")}}}},
        BreakCase{
            "tabToFirstStop", QStringLiteral("a\tb"), 1000, {{{0, QStringLiteral("a")}, {80, QStringLiteral("b")}}}},
        BreakCase{"leadingTab", QStringLiteral("\tb"), 1000, {{{80, QStringLiteral("b")}}}},
        BreakCase{"tabAtStopGoesToNext", QStringLiteral("abcdefgh\tx"), 1000,
            {{{0, QStringLiteral("abcdefgh")}, {160, QStringLiteral("x")}}}},
        BreakCase{"twoTabs", QStringLiteral("a\t\tb"), 1000, {{{0, QStringLiteral("a")}, {160, QStringLiteral("b")}}}},
        BreakCase{"tabPastEdgeStartsNextLine", QStringLiteral("abcdefghi\tz"), 100,
            {{{0, QStringLiteral("abcdefghi")}}, {{80, QStringLiteral("z")}}}},
        BreakCase{"textAfterTabBreaks", QStringLiteral("a\tbcdef"), 120,
            {{{0, QStringLiteral("a")}, {80, QStringLiteral("bcde")}}, {{0, QStringLiteral("f")}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogLayout, LinesAdvanceByHeightPlusTwoAndEmptyLinesByCharHeight)
{
    const auto pages = LogPrinter::layout(
        {QStringLiteral("a"), S, QStringLiteral("b"), QStringLiteral("c")}, fixedMetrics(), 1000, 10000);
    ASSERT_EQ(pages.size(), 1);
    QList<int> ys;
    for (const auto& line : pages[0])
        ys.append(line.y);
    EXPECT_EQ(ys, (QList<int>{0, 14, 26, 40}));
}

TEST(LogLayout, NewPageWhenPositionPassesPageHeightLessTwoLines)
{
    // Page 100 high, lines of 14: after six lines the position is 84 > 100 - 28, so line 7 starts a page.
    QStringList lines;
    for (int i = 0; i < 13; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    const auto pages = LogPrinter::layout(lines, fixedMetrics(), 1000, 100);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].size(), 6);
    EXPECT_EQ(pages[1].size(), 6);
    EXPECT_EQ(pages[2].size(), 1);
    for (const auto& page : pages)
        EXPECT_EQ(page.first().y, 0);
    EXPECT_EQ(pages[1].first().runs.first().text, QStringLiteral("line 6"));
}

TEST(LogLayout, NoBlankPageAfterTheLastLine)
{
    const QStringList lines(6, QStringLiteral("x"));
    const auto pages = LogPrinter::layout(lines, fixedMetrics(), 1000, 100);
    EXPECT_EQ(pages.size(), 1);
    EXPECT_TRUE(LogPrinter::layout({}, fixedMetrics(), 1000, 100).isEmpty());
}

// Whatever mix of empty, short, tabbed and over-wide lines: every printed line lies inside its page,
// and the text comes out complete and in order.
TEST(LogLayout, EveryLineFitsItsPageAndNothingIsLost)
{
    const QStringList pattern{QStringLiteral("short"), S, S, QStringLiteral("a much longer line that wraps around"),
        QStringLiteral("tab\there"), S};
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.append(pattern[i % pattern.size()] + (pattern[i % pattern.size()].isEmpty() ? S : QString::number(i)));
    for (int pageHeight : {40, 41, 53, 60, 97, 100, 143}) {
        const auto pages = LogPrinter::layout(lines, fixedMetrics(), 120, pageHeight);
        QString printed;
        for (const auto& page : pages) {
            ASSERT_FALSE(page.isEmpty());
            EXPECT_EQ(page.first().y, 0);
            for (const auto& line : page) {
                EXPECT_LE(line.y + 14, pageHeight) << "page height " << pageHeight;
                for (const LogPrinter::Run& run : line.runs) {
                    EXPECT_LE(run.x + run.text.size() * 10, 120);
                    printed += run.text;
                }
            }
        }
        QString expected = lines.join(S);
        expected.remove(QLatin1Char('\t'));
        EXPECT_EQ(printed, expected) << "page height " << pageHeight;
    }
}

// Prints through Qt's PDF engine and reads the result back with poppler.
class PrintedPdf : public ::testing::Test
{
protected:
    QList<PdfPage> print(const QStringList& lines)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("log.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        EXPECT_TRUE(LogPrinter::print(printer, lines, font(), QStringLiteral("NoteStack")));
        QString error;
        const auto pages = readPdfWords(printer.outputFileName(), &error);
        if (qEnvironmentVariableIsSet("KEEP_PDF"))
            QFile::copy(printer.outputFileName(), QString::fromLocal8Bit(qgetenv("KEEP_PDF")));
        EXPECT_FALSE(pages.isEmpty()) << error.toStdString();
        return pages;
    }
    static QFont font() { return QFont(QStringLiteral("MS Sans Serif"), 8); }

    QTemporaryDir m_dir;
};

// Every page: within the margins, headed by the program, the date and its number, the log after.
TEST_F(PrintedPdf, TwoHundredLinesFillSeveralPagesEachHeadedAndWithinTheMargins)
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(QStringLiteral("L%1 Tucows: Completed HTTP Post").arg(i, 3, 10, QLatin1Char('0')));
    const auto pages = print(lines);
    ASSERT_GE(pages.size(), 2);

    const double margin = LogPrinter::MarginMillimetres * 72.0 / 25.4;
    QStringList readBack;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const PdfPage& page = pages[p];
        const auto pageLines = pdfLines(page);
        ASSERT_GE(pageLines.size(), 2);
        const QString header = pageLines.first().text();
        EXPECT_TRUE(header.startsWith(QStringLiteral("NoteStack "))) << header.toStdString();
        EXPECT_TRUE(header.endsWith(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size())))
            << header.toStdString();
        EXPECT_NEAR(pageLines.first().yMin, margin, 12.0);
        // The log starts at the same place on every page, below the header.
        EXPECT_GT(pageLines[1].yMin, pageLines.first().yMin + 10.0);
        EXPECT_NEAR(pageLines[1].yMin, pdfLines(pages.first())[1].yMin, 0.5);
        for (const PdfLine& line : pageLines) {
            EXPECT_GE(line.words.first().xMin, margin - 1.0);
            EXPECT_LE(line.words.last().xMax, page.width - margin + 1.0);
            EXPECT_LE(line.words.last().yMax, page.height - margin + 1.0);
        }
        for (qsizetype i = 1; i < pageLines.size(); ++i)
            readBack.append(pageLines[i].text());
    }
    EXPECT_EQ(readBack, lines);
}

TEST_F(PrintedPdf, TabsAlignAtEightAverageCharactersAndWideLinesWrap)
{
    QString wide;
    for (int i = 0; i < 60; ++i)
        wide += QStringLiteral("%1").arg(i % 10) + QStringLiteral("abcdefghi");
    const QStringList lines{QStringLiteral("A\tB\tC"), wide, QStringLiteral("after")};
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    const QFontMetrics fm(QFont(font(), &probe));
    const double tabPoints = 8.0 * fm.averageCharWidth() * 72.0 / probe.resolution();

    const auto pages = print(lines);
    ASSERT_EQ(pages.size(), 1);
    auto printed = pdfLines(pages[0]);
    ASSERT_GE(printed.size(), 5);
    printed.removeFirst(); // the header

    const auto& tabs = printed[0].words;
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_NEAR(tabs[1].xMin - tabs[0].xMin, tabPoints, 1.0);
    EXPECT_NEAR(tabs[2].xMin - tabs[0].xMin, 2 * tabPoints, 1.0);

    QString joined;
    for (qsizetype i = 1; i + 1 < printed.size(); ++i) {
        ASSERT_EQ(printed[i].words.size(), 1);
        EXPECT_LE(printed[i].words[0].xMax, pages[0].width + 0.5);
        joined += printed[i].words[0].text;
    }
    EXPECT_GE(printed.size() - 2, 3) << "the wide line should take several printed lines";
    EXPECT_EQ(joined, wide);
    EXPECT_EQ(printed.last().text(), QStringLiteral("after"));
}

TEST_F(PrintedPdf, PrinterThatCannotStartIsReported)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath(QStringLiteral("missing/folder/log.pdf")));
    EXPECT_FALSE(LogPrinter::print(printer, {QStringLiteral("line")}, font()));
}

} // namespace
