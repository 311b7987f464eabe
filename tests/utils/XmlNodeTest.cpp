// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/XmlNode.h"

#include "utils/TempDir.h"

#include <gtest/gtest.h>

using Xml::CXmlException;
using Xml::XmlNode;

namespace {

XmlNode parsed(const std::string& text)
{
    XmlNode node;
    node.parse(text.data(), text.size());
    return node;
}

std::string errorOf(const std::string& text)
{
    try {
        parsed(text);
    } catch (const CXmlException& e) {
        return e.message();
    }
    return "no error";
}

} // namespace

TEST(XmlReader, ReadsElementsAttributesAndChildren)
{
    const XmlNode root =
        parsed("<root><item size=\"20\"/><other a = \"1\" a=\"2\"></other></root>");
    EXPECT_EQ(root.name(), "root");
    ASSERT_EQ(root.children().size(), 2u);
    const XmlNode* item = root.findChild("item");
    ASSERT_NE(item, nullptr);
    EXPECT_FLOAT_EQ(item->floatAttribute("size", 0), 20.0f);
    EXPECT_EQ(item->intAttribute("size", 0), 20);
    EXPECT_EQ(root.findChild("other")->attribute("a", ""), "2");
    EXPECT_EQ(root.findChild("Item"), nullptr); // names are case-sensitive
}

TEST(XmlReader, TextRulesAttributeFallBacksAndWhatSurroundsTheRoot)
{
    EXPECT_EQ(parsed("<p>\n   <b/>\n</p>").text(), "");
    EXPECT_EQ(parsed("<p> word <b/></p>").text(), " word ");
    EXPECT_EQ(parsed("<p>a &amp; b &#65;</p>").text(), "a &amp; b &#65;");
    const XmlNode inline_ = parsed("<p>one <b>two</b>three</p>");
    EXPECT_EQ(inline_.text(), "one three");
    EXPECT_EQ(inline_.findChild("b")->text(), "two");
    const XmlNode attributes = parsed("<n letters=\"abc\" empty=\"\" num=\"-3x\"/>");
    EXPECT_EQ(attributes.intAttribute("letters", 7), 7);
    EXPECT_EQ(attributes.intAttribute("empty", 7), 7);
    EXPECT_EQ(attributes.intAttribute("missing", 7), 7);
    EXPECT_EQ(attributes.intAttribute("num", 7), -3);
    EXPECT_EQ(attributes.attribute("missing", "def"), "def");
    const XmlNode document =
        parsed("<?xml version=\"1.0\"?>\n<!-- note -->\n<doc><!-- in --><a/></doc>"
               " trailing garbage <<<");
    EXPECT_EQ(document.name(), "doc");
    EXPECT_EQ(document.children().size(), 1u);
}

TEST(XmlReader, ReportsEachKindOfError)
{
    EXPECT_EQ(errorOf("text<a/>"), "Expected <");
    EXPECT_EQ(errorOf("  \n"), "Expected <");
    EXPECT_EQ(errorOf("<a x='1'/>"), "Expected \"");
    EXPECT_EQ(errorOf("<a x \"1\"/>"), "Expected =");
    EXPECT_EQ(errorOf("<a><b></b>"), "Unexpected end of file");
    EXPECT_EQ(errorOf("<a>"), "Unexpected end of file");
    EXPECT_EQ(errorOf("<a x=\"1"), "Unexpected end of file");
    EXPECT_EQ(errorOf("<a></b>"), "Open and close tags didn't match");
    EXPECT_EQ(errorOf("<!DOCTYPE a><a/>"), "Unexpected char");
    EXPECT_EQ(errorOf("<a x=\"1\"?>"), "Unexpected char");
    EXPECT_EQ(errorOf("<a><!-- c -->  text<b/></a>"), "Unexpected error");
    EXPECT_EQ(errorOf("<!-- never closed -"), "Ends of comment not found");
}

TEST(XmlReader, RefusesDeepNestingWithoutOverflowingTheStack)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    EXPECT_EQ(errorOf(deep), "Unexpected error");
    std::string fine;
    for (int i = 0; i < 100; ++i)
        fine += "<a>";
    for (int i = 0; i < 100; ++i)
        fine += "</a>";
    EXPECT_EQ(errorOf(fine), "no error");
}

TEST(XmlReader, ParsesFilesAndReportsMissingOnes)
{
    TempDir dir;
    TempDir::writeFile("help.xml", "<help><page title=\"Rules\">Move</page></help>");
    XmlNode node;
    node.parse("help.xml", 0);
    EXPECT_EQ(node.findChild("page")->text(), "Move");
    EXPECT_THROW(node.parse("absent.xml", 0), CXmlException);
    node.loadFromPack("HELP.xml");
    EXPECT_EQ(node.findChild("page")->attribute("title", ""), "Rules");
}
