// The report as JSON: objects keep the report's member order, texts are
// UTF-8 with the characters JSON requires escaped, two-space indentation.

#include <cstdio>

#include "tools/inspect/Printers.h"

namespace skedlin::inspect {

namespace {

void appendString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void appendValue(std::string& out, const Node& node, std::size_t indent) {
    switch (node.kind()) {
    case Node::Kind::Text: appendString(out, node.textValue()); return;
    case Node::Kind::Number: out += std::to_string(node.numberValue()); return;
    case Node::Kind::Flag: out += node.flagValue() ? "true" : "false"; return;
    case Node::Kind::Object: {
        if (node.members().empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        bool first = true;
        for (const auto& [name, value] : node.members()) {
            if (!first) out += ",\n";
            first = false;
            out.append(indent + 2, ' ');
            appendString(out, name);
            out += ": ";
            appendValue(out, value, indent + 2);
        }
        out += '\n';
        out.append(indent, ' ');
        out += '}';
        return;
    }
    case Node::Kind::List: {
        if (node.items().empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        bool first = true;
        for (const Node& item : node.items()) {
            if (!first) out += ",\n";
            first = false;
            out.append(indent + 2, ' ');
            appendValue(out, item, indent + 2);
        }
        out += '\n';
        out.append(indent, ' ');
        out += ']';
        return;
    }
    }
}

}  // namespace

std::string printJson(const Node& report) {
    std::string out;
    appendValue(out, report, 0);
    out += '\n';
    return out;
}

}  // namespace skedlin::inspect
