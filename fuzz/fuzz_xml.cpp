// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the XML reader; only its own exception may come out.
#include "utils/XmlNode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0; // size 0 means "read this file name"
    Xml::XmlNode node;
    try {
        node.parse(reinterpret_cast<const char*>(data), size);
    } catch (const Xml::CXmlException&) {
    }
    for (const Xml::XmlNode* child : node.children())
        child->intAttribute("x", 0);
    return 0;
}
