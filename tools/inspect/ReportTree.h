#pragma once
// What an inspection found, as an ordered tree of named values. The text
// printer and the JSON printer both walk this one tree, so the readable report
// and the one for scripts always hold the same facts. Member names are written
// in camel case ("firstEventId"); the text printer turns them into words
// ("First event id").

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace skedlin::inspect {

// The text with every byte that does not start a well-formed UTF-8 sequence
// replaced by U+FFFD, so that a damaged file cannot make the report invalid.
std::string wellFormedUtf8(const std::string& text);

class Node {
public:
    enum class Kind { Text, Number, Flag, Object, List };

    // Made well-formed UTF-8 (wellFormedUtf8).
    static Node text(std::string utf8);
    static Node number(std::int64_t value);
    static Node flag(bool value);
    static Node object();
    static Node list();

    Kind kind() const { return kind_; }
    const std::string& textValue() const { return text_; }
    std::int64_t numberValue() const { return number_; }
    bool flagValue() const { return number_ != 0; }

    // Object members in the order they were added; a name given twice is kept
    // twice (the printers show both), so callers name each member once.
    Node& add(std::string name, Node value);
    Node& add(std::string name, std::string utf8) { return add(std::move(name), text(std::move(utf8))); }
    Node& add(std::string name, const char* utf8) { return add(std::move(name), text(utf8)); }
    Node& addNumber(std::string name, std::int64_t value) { return add(std::move(name), number(value)); }
    Node& addFlag(std::string name, bool value) { return add(std::move(name), flag(value)); }
    // List items.
    Node& append(Node value);

    const std::vector<std::pair<std::string, Node>>& members() const { return members_; }
    const std::vector<Node>& items() const { return items_; }
    // The member of that name, or null.
    const Node* member(const std::string& name) const;
    Node* member(const std::string& name);

private:
    explicit Node(Kind kind) : kind_(kind) {}

    Kind kind_;
    std::string text_;
    std::int64_t number_ = 0;
    std::vector<std::pair<std::string, Node>> members_;
    std::vector<Node> items_;
};

}  // namespace skedlin::inspect
