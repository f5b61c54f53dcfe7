#include "builder/BuilderMessages.h"

namespace skedlin::builder {
namespace {

std::string lineSuffix(long line) { return line > 0 ? " (line " + std::to_string(line) + ")" : ""; }

// Replaces the first conversion ("%s", "%d", "%ld") with text.
std::string replaceConversion(std::string_view format, std::string_view text) {
    std::string out;
    out.reserve(format.size() + text.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            std::size_t length = 0;
            if (format[i + 1] == 's' || format[i + 1] == 'd') {
                length = 2;
            } else if (format.substr(i + 1, 2) == "ld") {
                length = 3;
            }
            if (length) {
                out += text;
                out += format.substr(i + length);
                return out;
            }
        }
        out += format[i];
    }
    return out;
}

}  // namespace

std::string missingElementMessage(std::string_view element, std::string_view parent, long parentLine) {
    return "Missing required element <" + std::string(element) + "> in <" + std::string(parent) + ">" +
           lineSuffix(parentLine) + ".";
}

std::string missingAttributeMessage(std::string_view attribute, std::string_view element, long elementLine) {
    return "Missing required attribute \"" + std::string(attribute) + "\" of <" + std::string(element) + ">" +
           lineSuffix(elementLine) + ".";
}

std::string outputFileMessage(std::string_view path, std::string_view reason) {
    return "Unable to write the output file: " + std::string(path) + " (" + std::string(reason) + ").";
}

std::string transparentColourMessage(std::string_view value, std::string_view bitmapName) {
    return "The transparent-color attribute \"" + std::string(value) + "\" is not a hexadecimal colour (0xRRGGBB) - " +
           std::string(bitmapName);
}

std::string outputNameCharacterMessage(std::string_view outputName, char character) {
    return "The output name \"" + std::string(outputName) + "\" holds the character '" + std::string(1, character) +
           "', which the Pocket PC installation description cannot hold; choose another name.";
}

std::string fillMessage(std::string_view format, std::string_view text) { return replaceConversion(format, text); }

std::string fillMessage(std::string_view format, long number) {
    return replaceConversion(format, std::to_string(number));
}

}  // namespace skedlin::builder
