// route.cpp - template compilation, route matching and selection.
#include "rest/route.h"

#include "logging/logger.h"
#include "rest/url_text.h"

namespace Brix::Rest {

namespace {

bool NeedsEscape(char c) noexcept {
    switch (c) {
        case '^':
        case '$':
        case '.':
        case '*':
        case '+':
        case '?':
        case '(':
        case ')':
        case '[':
        case ']':
        case '|':
        case '\\':
            return true;
        default:
            return false;
    }
}

std::string_view GroupExpression(ParameterMode mode) noexcept {
    switch (mode) {
        case ParameterMode::Segment:
            return "([^/]*)";
        case ParameterMode::Rest:
            return "(.*)";
        case ParameterMode::Fragment:
            return "#(.*)";
        case ParameterMode::None:
            break;
    }
    return {};
}

bool AcceptsMethod(const Route& route, const RequestTarget& target) noexcept {
    if (route.method == MethodCode::None) {
        return true;
    }
    return route.method == target.method && route.functionName == target.functionName;
}

std::size_t DecodedLength(const PathParameterMap& parameters) noexcept {
    std::size_t total = 0;
    for (const auto& [name, value] : parameters) {
        total += value.size();
    }
    return total;
}

}  // namespace

std::string TemplateExpression(std::string_view pathTemplate, std::vector<PathParameter>& parameters) {
    std::string expression;
    expression.reserve(pathTemplate.size() + 16);
    ParameterMode mode = ParameterMode::None;
    std::string name;
    for (char c : pathTemplate) {
        if (c == '{') {
            mode = ParameterMode::Segment;
            name.clear();
        } else if (c == '}') {
            expression += GroupExpression(mode);
            parameters.push_back({mode, std::move(name)});
            name.clear();
            mode = ParameterMode::None;
        } else if (mode != ParameterMode::None) {
            if (mode == ParameterMode::Segment && name.empty() && c == '+') {
                mode = ParameterMode::Rest;
            } else if (mode == ParameterMode::Segment && name.empty() && c == '#') {
                mode = ParameterMode::Fragment;
            } else {
                name += c;
            }
        } else {
            if (NeedsEscape(c)) {
                expression += '\\';
            }
            expression += c;
        }
    }
    return expression;
}

Route CompileRoute(MethodCode method, std::string_view functionName, std::string_view pathTemplate,
                   const Endpoint* endpoint) {
    Route route;
    route.method = method;
    route.functionName = std::string(functionName);
    route.endpoint = endpoint;
    route.pathTemplate = std::string(pathTemplate);
    if (pathTemplate.find('{') == std::string_view::npos) {
        route.literalPath = route.pathTemplate;
        return route;
    }
    const std::string expression = TemplateExpression(pathTemplate, route.parameters);
    try {
        route.expression.emplace(expression, std::regex::ECMAScript);
    } catch (const std::regex_error& error) {
        // Escaping leaves only literal characters and the three group forms, so this is not expected;
        // a route without an expression matches nothing.
        Log(LogLevel::Error, kPluginLogGroup, "Route %s could not be compiled: %s",
            route.pathTemplate.c_str(), error.what());
    }
    return route;
}

bool MatchRoute(const Route& route, std::string_view path, PathParameterMap& parameters) {
    if (!route.expression.has_value()) {
        return route.parameters.empty() && path == route.literalPath;
    }
    if (path.size() > kMaxTemplatedPathLength) {
        Log(LogLevel::Warn, kPluginLogGroup, "A path of %zu bytes is too long to match route %s", path.size(),
            route.pathTemplate.c_str());
        return false;
    }
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_match(path.begin(), path.end(), match, *route.expression)) {
        return false;
    }
    for (std::size_t i = 0; i < route.parameters.size(); ++i) {
        const auto& group = match[i + 1];
        if (!group.matched) {
            return false;
        }
        const auto offset = static_cast<std::size_t>(group.first - path.begin());
        parameters.insert_or_assign(
            route.parameters[i].name,
            PercentDecode(path.substr(offset, static_cast<std::size_t>(group.length()))));
    }
    return true;
}

bool SelectRoute(RequestTarget& target, std::span<const Route* const> routes, bool ignoreMethods) {
    bool taken = false;
    std::size_t takenLength = 0;
    for (const Route* route : routes) {
        PathParameterMap parameters;
        if (!MatchRoute(*route, target.path, parameters)) {
            continue;
        }
        if (!ignoreMethods && !AcceptsMethod(*route, target)) {
            continue;
        }
        const std::size_t length = DecodedLength(parameters);
        if (taken && length >= takenLength) {
            continue;
        }
        taken = true;
        takenLength = length;
        target.route = route;
        target.routeMethod = route->method;
        target.pathTemplate = route->pathTemplate;
        target.parameters = std::move(parameters);
        if (route->parameters.empty()) {
            break;
        }
    }
    return taken;
}

}  // namespace Brix::Rest
