// operation_name.cpp - operation names from method and path.
#include "rest/operation_name.h"

namespace Brix {

namespace {

char ToUpper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSeparator(char c) noexcept {
    return c == '!' || c == '+' || c == '-' || c == '.' || c == '/' || c == '_';
}

}  // namespace

std::string OperationName(MethodCode method, std::string_view path) {
    std::string source;
    const std::string_view methodName = MethodName(method);
    if (!methodName.empty()) {
        source += methodName.front();
        for (char c : methodName.substr(1)) {
            source += ToLower(c);
        }
        source += '/';
    }
    source += path;

    std::string name;
    name.reserve(source.size() + 8);
    bool capitalise = true;
    for (char c : source) {
        if (IsSeparator(c)) {
            capitalise = true;
        } else if (c == '{') {
            name += "By";
            capitalise = true;
        } else if (c == '}') {
            // dropped; the flag stays as it is
        } else if (capitalise) {
            name += ToUpper(c);
            capitalise = false;
        } else {
            name += c;
        }
    }
    return name;
}

}  // namespace Brix
