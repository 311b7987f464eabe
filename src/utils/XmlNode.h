// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Xml {

// Thrown by value with one of the reader's fixed messages.
class CXmlException {
public:
    explicit CXmlException(std::string message) : m_message(std::move(message)) {}
    const std::string& message() const { return m_message; }

private:
    std::string m_message;
};

// One element of a small XML subset; the document is its root node.
class XmlNode {
public:
    // Parses the bytes; with size 0 the buffer is a file name to read instead.
    void parse(const char* buffer, std::size_t size);
    // Fetches the file from the pack "main" (pack, then disk) and parses it.
    void loadFromPack(const std::string& fileName);

    const std::string& name() const { return m_name; }
    const std::string& text() const { return m_text; }
    std::vector<XmlNode*> children() const;
    const XmlNode* findChild(const std::string& name) const;
    std::string attribute(const std::string& name, const std::string& defaultValue) const;
    int intAttribute(const std::string& name, int defaultValue) const;
    float floatAttribute(const std::string& name, float defaultValue) const;
    const std::map<std::string, std::string>& attributes() const { return m_attributes; }

    // Elements nested deeper than this are refused, so hostile input cannot
    // exhaust the stack.
    static constexpr int kMaxDepth = 256;

private:
    friend class XmlParser;
    void clear();

    std::string m_name;
    std::string m_text;
    std::map<std::string, std::string> m_attributes;
    std::vector<std::unique_ptr<XmlNode>> m_children;
};

} // namespace Xml
