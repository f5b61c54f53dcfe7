#include "tools/inspect/ReportTree.h"

namespace skedlin::inspect {

namespace {

// Length of the UTF-8 sequence starting at text[at], or 0 when it is not a
// well-formed one (overlong forms, surrogates and values past U+10FFFF too).
std::size_t sequenceLength(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string wellFormedUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

Node Node::text(std::string utf8) {
    Node node(Kind::Text);
    node.text_ = wellFormedUtf8(utf8);
    return node;
}

Node Node::number(std::int64_t value) {
    Node node(Kind::Number);
    node.number_ = value;
    return node;
}

Node Node::flag(bool value) {
    Node node(Kind::Flag);
    node.number_ = value ? 1 : 0;
    return node;
}

Node Node::object() { return Node(Kind::Object); }
Node Node::list() { return Node(Kind::List); }

Node& Node::add(std::string name, Node value) {
    members_.emplace_back(std::move(name), std::move(value));
    return members_.back().second;
}

Node& Node::append(Node value) {
    items_.push_back(std::move(value));
    return items_.back();
}

const Node* Node::member(const std::string& name) const {
    for (const auto& [key, value] : members_) {
        if (key == name) return &value;
    }
    return nullptr;
}

Node* Node::member(const std::string& name) {
    for (auto& [key, value] : members_) {
        if (key == name) return &value;
    }
    return nullptr;
}

}  // namespace skedlin::inspect
