#include "EngineContract.h"
#include "XmlSettings.h"

#include <gtest/gtest.h>

namespace {
struct Fault {
    const wchar_t *xml;
    int code;
    int position;
};

void ExpectFault(const Fault &fault)
{
    XmlOutcome outcome = ParseXmlSettings(fault.xml);
    EXPECT_EQ(fault.code, outcome.code) << "for " << testing::PrintToString(std::wstring(fault.xml));
    EXPECT_EQ(fault.position, outcome.position) << "for " << testing::PrintToString(std::wstring(fault.xml));
}
} // namespace

TEST(XmlSettings, HelpTextOfTheProgramsIsAccepted)
{
    XmlOutcome outcome = ParseXmlSettings(L"<Printer_Settings> <Help> Introduction </Help> </Printer_Settings>");
    EXPECT_EQ(KEL_OK, outcome.code);
    EXPECT_EQ(0, outcome.position);
    EXPECT_EQ(L"Introduction", outcome.values.help.value_or(L""));
    EXPECT_FALSE(outcome.values.HasSettings()) << "help changes no setting";
}

TEST(XmlSettings, ValuesAreReadTrimmedAndCanonical)
{
    XmlOutcome outcome = ParseXmlSettings(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
                                          L"<!-- a job -->\n<Printer_Settings>\n"
                                          L"  <Printer>solvetric press 2</Printer>\n"
                                          L"  <Copies> 12 </Copies><Collate>no</Collate>\n"
                                          L"  <BodyPaper>A4 &#80;lain</BodyPaper><!-- between -->\n"
                                          L"  <PrintRange>2-5</PrintRange><Tab>519</Tab>\n"
                                          L"</Printer_Settings >\n");
    ASSERT_EQ(KEL_OK, outcome.code) << outcome.position;
    JobSettings settings = DefaultSettings();
    outcome.values.ApplyTo(settings);
    EXPECT_EQ(L"Solvetric Press 2", settings.printer);
    EXPECT_EQ(12, settings.copies);
    EXPECT_FALSE(settings.collate);
    EXPECT_EQ(L"A4 Plain", settings.bodyPaper);
    EXPECT_EQ((PrintRange{false, 2, 5}), settings.range);
    EXPECT_EQ(519, outcome.values.tab.value_or(0));

    EXPECT_EQ(KEL_OK, ParseXmlSettings(L"<Printer_Settings/>").code);
}

TEST(XmlSettings, ReadAndSyntaxFaultsGiveTheirPosition)
{
    const Fault faults[] = {
        {L"", KEL_XML_SYNTAX_ERROR, 0},
        {L"   ", KEL_XML_SYNTAX_ERROR, 3},                               // no root at all
        {L"<Printer_Settings>", KEL_XML_SYNTAX_ERROR, 18},               // unterminated
        {L"<Printer_Settings", KEL_XML_SYNTAX_ERROR, 17},
        {L"<Printer_Settings><Copies>2", KEL_XML_SYNTAX_ERROR, 27},
        {L"<Printer_Settings></Printer>", KEL_XML_SYNTAX_ERROR, 18},     // wrong closing tag
        {L"<Printer_Settings><Copies>2</Copie></Printer_Settings>", KEL_XML_SYNTAX_ERROR, 27},
        {L"<Printer_Settings><Copies>2</Copies</Printer_Settings>", KEL_XML_SYNTAX_ERROR, 35},
        {L"< Printer_Settings/>", KEL_XML_SYNTAX_ERROR, 1},
        {L"<Printer_Settings><!-- open", KEL_XML_SYNTAX_ERROR, 27},
        {L"<?xml version=\"1.0\"", KEL_XML_SYNTAX_ERROR, 19},
    };
    for (const Fault &fault : faults)
        ExpectFault(fault);

    XmlOutcome null = ParseXmlSettings(nullptr);
    EXPECT_EQ(KEL_XML_READ_ERROR, null.code);
    EXPECT_EQ(0, null.position);
}

TEST(XmlSettings, VocabularyValueAndOrderFaultsGiveTheirPosition)
{
    const Fault faults[] = {
        {L"<a>", KEL_XML_UNKNOWN_TAG, 0},
        {L"<Printer_Settings> <Colour>Red</Colour></Printer_Settings>", KEL_XML_UNKNOWN_TAG, 19},
        {L"<Printer_Settings><Copies>0</Copies></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 26},
        {L"<Printer_Settings><Copies>  10000</Copies></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 28},
        {L"<Printer_Settings><Copies></Copies></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 26},
        {L"<Printer_Settings><Collate>Maybe</Collate></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 27},
        {L"<Printer_Settings><PrintRange>5-2</PrintRange></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 30},
        {L"<Printer_Settings><Tab>440</Tab></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 23},
        {L"<Printer_Settings><Help>Nothing</Help></Printer_Settings>", KEL_XML_ILLEGAL_VALUE, 24},
        {L"<Printer_Settings/><Printer_Settings/>", KEL_XML_ILLEGAL_ORDER, 19},  // a second root
        {L"x<Printer_Settings/>", KEL_XML_ILLEGAL_ORDER, 0},                      // text outside the root
        {L"<Printer_Settings/> x", KEL_XML_ILLEGAL_ORDER, 20},
        {L"<Copies>2</Copies>", KEL_XML_ILLEGAL_ORDER, 0},                         // a setting as the root
        {L"<Printer_Settings>2</Printer_Settings>", KEL_XML_ILLEGAL_ORDER, 18},
        {L"<Printer_Settings><Copies><Help>x</Help></Copies></Printer_Settings>", KEL_XML_ILLEGAL_ORDER, 26},
        {L"<Printer_Settings><Printer_Settings/></Printer_Settings>", KEL_XML_ILLEGAL_ORDER, 18},
        {L"<Printer_Settings><Copies>1</Copies><Copies>2</Copies></Printer_Settings>", KEL_XML_ILLEGAL_ORDER, 36},
        {L"<Printer_Settings/><?xml version=\"1.0\"?>", KEL_XML_ILLEGAL_ORDER, 19},
        {L"<Printer_Settings a=\"1\"/>", KEL_XML_OTHER_ERROR, 18},                 // attributes
        {L"<Printer_Settings><Copies>&nbsp;</Copies></Printer_Settings>", KEL_XML_OTHER_ERROR, 26},
        {L"<Printer_Settings><![CDATA[x]]></Printer_Settings>", KEL_XML_OTHER_ERROR, 18},
        {L"<!DOCTYPE x><Printer_Settings/>", KEL_XML_OTHER_ERROR, 0},
    };
    for (const Fault &fault : faults)
        ExpectFault(fault);
}

TEST(XmlSettings, AFaultAppliesNothing)
{
    XmlOutcome outcome = ParseXmlSettings(L"<Printer_Settings><Copies>3</Copies><Collate>x</Collate></Printer_Settings>");
    EXPECT_EQ(KEL_XML_ILLEGAL_VALUE, outcome.code);
    EXPECT_FALSE(outcome.values.copies.has_value());
}
