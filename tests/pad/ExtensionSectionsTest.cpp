// The scan that cuts a PAD file's own extension sections out before the XML reader sees it: what
// it cuts must change nothing the import reads, and what it cannot follow it must leave alone.
#include "pad/ExtensionSections.h"
#include "pad/PadDocument.h"
#include "support/Text.h"

#include <gtest/gtest.h>

namespace {

bool isListingSection(QByteArrayView name)
{
    return name == QByteArrayView("Program_Info") || name == QByteArrayView("Web_Info");
}

TEST(ExtensionSections, CutsUnknownSectionsWhateverTheyHideAndKeepsTheirLines)
{
    const struct
    {
        const char* name;
        QByteArray input;
        QByteArray expected;
    } cases[] = {
        {"between sections",
            "<XML_DIZ_INFO><Program_Info><N>a</N></Program_Info>\n<Ext a=\"1>2\">\n<X/><Y>t</Y>\n</Ext>"
            "<Web_Info>w</Web_Info></XML_DIZ_INFO>",
            "<XML_DIZ_INFO><Program_Info><N>a</N></Program_Info>\n\n\n<Web_Info>w</Web_Info></XML_DIZ_INFO>"},
        {"end tag hidden in a comment and CDATA",
            "<?xml version=\"1.0\"?><!-- c --><XML_DIZ_INFO><Ext><!-- </Ext> --><![CDATA[</Ext>]]>"
            "<Z v='a/>'/></Ext><Program_Info>p</Program_Info></XML_DIZ_INFO>",
            "<?xml version=\"1.0\"?><!-- c --><XML_DIZ_INFO><Program_Info>p</Program_Info></XML_DIZ_INFO>"},
        {"a section nested in an extension under a known name",
            "<XML_DIZ_INFO><Ext><Program_Info>x</Program_Info></Ext></XML_DIZ_INFO>", "<XML_DIZ_INFO></XML_DIZ_INFO>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withoutExtensionSections(c.input, isListingSection), c.expected) << c.name;
}

TEST(ExtensionSections, MarkupTheScanCannotFollowIsLeftToTheReader)
{
    const char* unchanged[] = {
        "<XML_DIZ_INFO><Ext><A></Ext></A></XML_DIZ_INFO>", // crossed tags
        "<XML_DIZ_INFO><Ext><A>", // truncated
        "<!DOCTYPE x [<!ENTITY e \"<Ext>\">]><XML_DIZ_INFO><Ext>&e;</Ext></XML_DIZ_INFO>",
        "<XML_DIZ_INFO><Ext></Ext></XML_DIZ_INFO><Ext></Ext>", // a second root
        "<XML_DIZ_INFO><Ext a=\"<\"></Ext></XML_DIZ_INFO>",
        "<XML_DIZ_INFO><Ext><!-- never closed </Ext></XML_DIZ_INFO>",
    };
    for (const char* input : unchanged)
        EXPECT_EQ(withoutExtensionSections(input, isListingSection), QByteArray(input)) << input;
}

// The reader's verdict is the same with and without the cut; damage after a cut section is
// reported at its own line.
TEST(ExtensionSections, TheImportReadsTheSameValuesAndLines)
{
    const QByteArray pad
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<XML_DIZ_INFO>\r\n<Extensions>\r\n"
          "<A>one &amp; two</A>\r\n<B/>\r\n</Extensions>\r\n<Program_Info><Program_Name>N</Program_Name>"
          "</Program_Info>\r\n";
    QString error;
    const auto document = PadDocument::parse(pad + "</XML_DIZ_INFO>\r\n", &error);
    ASSERT_TRUE(document) << error.toStdString();
    EXPECT_EQ(document->value(s("Program_Info/Program_Name")), s("N"));
    EXPECT_FALSE(document->values.contains(s("Extensions/A")));

    EXPECT_FALSE(PadDocument::parse(pad + "<Web_Info><X></Web_Info></XML_DIZ_INFO>\r\n", &error));
    EXPECT_TRUE(error.contains(s("line 8,"))) << error.toStdString();
}

} // namespace
