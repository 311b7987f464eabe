// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/XmlNode.h"

#include "utils/FilePack.h"

#include <cstdio>
#include <cstring>

namespace Xml {

namespace {

bool isVisible(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b > 32 && b < 127;
}

bool isNameChar(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_';
}

[[noreturn]] void fail(const char* message)
{
    throw CXmlException(message);
}

} // namespace

// Reads one element at a time, recursively; positions are byte offsets.
class XmlParser {
public:
    XmlParser(const char* buffer, std::size_t size) : m_buffer(buffer), m_size(size) {}

    void parseElement(XmlNode& node, int depth)
    {
        if (depth > XmlNode::kMaxDepth)
            fail("Unexpected error");
        skipProlog();
        ++m_pos; // the "<"
        skipSpace();
        requireMore();
        node.m_name = readName();
        readAttributes(node);
        requireMore();
        if (startsWith("/>")) {
            m_pos += 2;
            return;
        }
        if (m_buffer[m_pos] != '>')
            fail("Unexpected char");
        ++m_pos;
        readContent(node, depth);
    }

private:
    void readContent(XmlNode& node, int depth)
    {
        for (;;) {
            readText(node);
            requireMore();
            skipCommentAndInstruction();
            skipSpace();
            requireMore();
            if (startsWith("</")) {
                readClosingTag(node);
                return;
            }
            if (m_buffer[m_pos] != '<')
                fail("Unexpected error");
            auto child = std::make_unique<XmlNode>();
            parseElement(*child, depth + 1);
            node.m_children.push_back(std::move(child));
        }
    }

    void readClosingTag(const XmlNode& node)
    {
        m_pos += 2;
        skipSpace();
        requireMore();
        if (readName() != node.m_name)
            fail("Open and close tags didn't match");
        requireMore();
        ++m_pos; // the ">"
    }

    void readText(XmlNode& node)
    {
        const std::size_t start = m_pos;
        while (m_pos < m_size && m_buffer[m_pos] != '<')
            ++m_pos;
        node.m_text.append(m_buffer + start, m_pos - start);
        bool visible = false;
        for (char c : node.m_text)
            visible = visible || isVisible(c);
        if (!visible)
            node.m_text.clear();
    }

    void readAttributes(XmlNode& node)
    {
        for (;;) {
            skipSpace();
            requireMore();
            std::string name = readName();
            if (name.empty())
                return;
            skipSpace();
            expect('=', "Expected =");
            skipSpace();
            expect('"', "Expected \"");
            const std::size_t start = m_pos;
            while (m_pos < m_size && m_buffer[m_pos] != '"')
                ++m_pos;
            requireMore();
            node.m_attributes[std::move(name)] = std::string(m_buffer + start, m_pos - start);
            ++m_pos;
        }
    }

    void skipProlog()
    {
        for (;;) {
            skipSpace();
            if (m_pos >= m_size || m_buffer[m_pos] != '<')
                fail("Expected <");
            if (!skipCommentAndInstruction())
                return;
        }
    }

    bool skipCommentAndInstruction()
    {
        if (m_pos >= m_size || m_buffer[m_pos] != '<')
            fail("Expected <");
        bool skipped = false;
        if (m_size - m_pos > 4 && startsWith("<!--"))
            skipped = skipUntil(4, '-', "-->");
        if (m_size - m_pos > 2 && startsWith("<?"))
            skipped = skipUntil(2, '?', "?>") || skipped;
        return skipped;
    }

    // Steps over an opening marker of `openLength` bytes and on past `endMarker`.
    bool skipUntil(std::size_t openLength, char candidate, const char* endMarker)
    {
        const std::size_t markerLength = std::strlen(endMarker);
        m_pos += openLength;
        while (m_pos < m_size) {
            if (m_buffer[m_pos] == candidate) {
                if (m_size - m_pos < markerLength)
                    fail("Ends of comment not found");
                if (startsWith(endMarker)) {
                    m_pos += markerLength;
                    return true;
                }
            }
            ++m_pos;
        }
        return true;
    }

    std::string readName()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_size && isNameChar(m_buffer[m_pos]))
            ++m_pos;
        return std::string(m_buffer + start, m_pos - start);
    }

    void expect(char c, const char* message)
    {
        requireMore();
        if (m_buffer[m_pos] != c)
            fail(message);
        ++m_pos;
    }

    void skipSpace()
    {
        while (m_pos < m_size && !isVisible(m_buffer[m_pos]))
            ++m_pos;
    }

    void requireMore() const
    {
        if (m_pos >= m_size)
            fail("Unexpected end of file");
    }

    bool startsWith(const char* text) const
    {
        const std::size_t length = std::strlen(text);
        return m_size - m_pos >= length && std::memcmp(m_buffer + m_pos, text, length) == 0;
    }

    const char* m_buffer;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void XmlNode::clear()
{
    m_name.clear();
    m_text.clear();
    m_attributes.clear();
    m_children.clear();
}

void XmlNode::parse(const char* buffer, std::size_t size)
{
    clear();
    if (size == 0) {
        std::FILE* file = std::fopen(buffer, "rb");
        if (file == nullptr)
            fail("Can't open file");
        std::string bytes;
        char chunk[65536];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.append(chunk, got);
        std::fclose(file);
        XmlParser(bytes.data(), bytes.size()).parseElement(*this, 0);
        return;
    }
    XmlParser(buffer, size).parseElement(*this, 0);
}

void XmlNode::loadFromPack(const std::string& fileName)
{
    PackEntry entry =
        packExists("main") ? getPack("main").getFile(fileName) : FilePack().getFile(fileName);
    if (entry.data.empty())
        fail("Unexpected end of file");
    parse(entry.chars(), entry.data.size());
}

std::vector<XmlNode*> XmlNode::children() const
{
    std::vector<XmlNode*> list;
    for (const auto& child : m_children)
        list.push_back(child.get());
    return list;
}

const XmlNode* XmlNode::findChild(const std::string& name) const
{
    for (const auto& child : m_children)
        if (child->m_name == name)
            return child.get();
    return nullptr;
}

std::string XmlNode::attribute(const std::string& name, const std::string& defaultValue) const
{
    const auto it = m_attributes.find(name);
    return it == m_attributes.end() ? defaultValue : it->second;
}

int XmlNode::intAttribute(const std::string& name, int defaultValue) const
{
    const auto it = m_attributes.find(name);
    int value = 0;
    if (it == m_attributes.end() || std::sscanf(it->second.c_str(), "%d", &value) != 1)
        return defaultValue;
    return value;
}

float XmlNode::floatAttribute(const std::string& name, float defaultValue) const
{
    const auto it = m_attributes.find(name);
    float value = 0;
    if (it == m_attributes.end() || std::sscanf(it->second.c_str(), "%f", &value) != 1)
        return defaultValue;
    return value;
}

} // namespace Xml
