#include "support/BoxReport.h"

#include <regex>
#include <sstream>
#include <stdexcept>

namespace TestSupport {
namespace {

std::vector<int> Numbers(const std::string& json, const std::string& key)
{
    std::smatch match;
    if (!std::regex_search(json, match, std::regex("\"" + key + "\": \\[([-0-9, ]*)\\]")))
        throw std::runtime_error("no " + key + " in " + json);
    std::vector<int> numbers;
    std::stringstream list(match[1].str());
    for (std::string item; std::getline(list, item, ',');)
        numbers.push_back(std::stoi(item));
    return numbers;
}

std::string Text(const std::string& json, const std::string& key)
{
    std::smatch match;
    if (!std::regex_search(json, match, std::regex("\"" + key + "\": \"([^\"]*)\"")))
        throw std::runtime_error("no " + key + " in " + json);
    return match[1];
}

}  // namespace

int JsonNumber(const std::string& json, const std::string& key)
{
    std::smatch match;
    if (!std::regex_search(json, match, std::regex("\"" + key + "\": (-?[0-9]+)")))
        throw std::runtime_error("no " + key + " in " + json);
    return std::stoi(match[1]);
}

const ButtonReport& BoxReport::Button(const std::string& label) const
{
    for (const ButtonReport& button : buttons) {
        if (button.label == label)
            return button;
    }
    throw std::runtime_error("no button " + label + " in " + json);
}

BoxReport ParseBoxReport(const std::string& json)
{
    const auto buttonsAt = json.find("\"buttons\"");
    const std::string head = json.substr(0, buttonsAt);
    BoxReport box{json,
                  Text(head, "backend"),
                  JsonNumber(head, "xid"),
                  JsonNumber(head, "x"),
                  JsonNumber(head, "y"),
                  JsonNumber(head, "width"),
                  JsonNumber(head, "height"),
                  Numbers(head, "requested"),
                  Numbers(head, "frame"),
                  {}};
    const std::string rest = buttonsAt == std::string::npos ? std::string() : json.substr(buttonsAt);
    for (auto at = rest.find("{\"id\""); at != std::string::npos; at = rest.find("{\"id\"", at + 1)) {
        const std::string one = rest.substr(at, rest.find('}', at) - at + 1);
        box.buttons.push_back({JsonNumber(one, "id"), JsonNumber(one, "x"), JsonNumber(one, "y"),
                               JsonNumber(one, "width"), JsonNumber(one, "height"), Numbers(one, "requested"),
                               Text(one, "label"), one.find("\"focused\": true") != std::string::npos});
    }
    return box;
}

}  // namespace TestSupport
