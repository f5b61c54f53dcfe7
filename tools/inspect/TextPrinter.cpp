// The readable report: one "Label: value" line per value, nested objects
// indented by two spaces, list items marked with "- ". A list of numbers goes
// on one line; a text of several lines continues on lines indented under
// its label.

#include <cctype>

#include "tools/inspect/Printers.h"

namespace skedlin::inspect {

namespace {

bool isScalar(const Node& node) { return node.kind() != Node::Kind::Object && node.kind() != Node::Kind::List; }

std::string scalarText(const Node& node) {
    switch (node.kind()) {
    case Node::Kind::Number: return std::to_string(node.numberValue());
    case Node::Kind::Flag: return node.flagValue() ? "yes" : "no";
    default: return node.textValue();
    }
}

void appendScalar(std::string& out, const std::string& value, std::size_t continuationIndent) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = value.find('\n', start);
        out.append(value, start, end == std::string::npos ? std::string::npos : end - start);
        out += '\n';
        if (end == std::string::npos) return;
        start = end + 1;
        out.append(continuationIndent, ' ');
    }
}

void printMembers(std::string& out, const Node& object, std::size_t indent, bool firstOnDashLine);

void printNamed(std::string& out, const std::string& label, const Node& value, std::size_t indent) {
    out += label;
    if (isScalar(value)) {
        out += ": ";
        appendScalar(out, scalarText(value), indent + 2);
        return;
    }
    if (value.kind() == Node::Kind::Object) {
        if (value.members().empty()) {
            out += ": none\n";
            return;
        }
        out += ":\n";
        printMembers(out, value, indent + 2, false);
        return;
    }
    const auto& items = value.items();
    if (items.empty()) {
        out += ": none\n";
        return;
    }
    bool allNumbers = true;
    for (const Node& item : items) allNumbers = allNumbers && item.kind() == Node::Kind::Number;
    if (allNumbers) {
        out += ": ";
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i) out += ", ";
            out += scalarText(items[i]);
        }
        out += '\n';
        return;
    }
    out += " (" + std::to_string(items.size()) + "):\n";
    for (const Node& item : items) {
        out.append(indent + 2, ' ');
        out += "- ";
        if (isScalar(item)) {
            appendScalar(out, scalarText(item), indent + 4);
        } else if (item.kind() == Node::Kind::Object && !item.members().empty()) {
            printMembers(out, item, indent + 4, true);
        } else {
            out += "none\n";
        }
    }
}

void printMembers(std::string& out, const Node& object, std::size_t indent, bool firstOnDashLine) {
    bool first = true;
    for (const auto& [name, value] : object.members()) {
        if (!(first && firstOnDashLine)) out.append(indent, ' ');
        first = false;
        printNamed(out, memberLabel(name), value, indent);
    }
}

}  // namespace

std::string memberLabel(const std::string& name) {
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i == 0) {
            label += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (std::isupper(static_cast<unsigned char>(c))) {
            label += ' ';
            label += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else {
            label += c;
        }
    }
    return label;
}

std::string printText(const Node& report) {
    std::string out;
    if (report.kind() == Node::Kind::Object)
        printMembers(out, report, 0, false);
    else
        printNamed(out, "Report", report, 0);
    return out;
}

}  // namespace skedlin::inspect
