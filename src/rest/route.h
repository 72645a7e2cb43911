// route.h - route records compiled from URL templates, matching a path and selecting a route.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <regex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rest/method_code.h"

namespace Brix::Rest {

class Endpoint;

// ParameterMode is how a brace group of a template matches: {name} one path segment, {+name} the
// rest of the path, "/" included, {#name} a "#" and the rest (the value excludes the "#").
enum class ParameterMode : uint8_t {
    None = 0,  // a "}" outside any group; it captures nothing, so its route never matches
    Segment = 1,
    Rest = 2,
    Fragment = 3,
};

// PathParameter is one brace group of a template, in template order.
struct PathParameter {
    ParameterMode mode = ParameterMode::None;
    std::string name;

    friend bool operator==(const PathParameter&, const PathParameter&) = default;
};

// PathParameterMap maps a path parameter's name to its percent-decoded value.
using PathParameterMap = std::map<std::string, std::string, std::less<>>;

// Route is the compiled form of one endpoint's template. A template without "{" is a literal path,
// compared byte for byte; any other is compiled once, here, to an ECMAScript expression that must
// match the whole path.
struct Route {
    MethodCode method = MethodCode::None;  // of the endpoint: None accepts every method
    std::string functionName;              // of the endpoint, for MethodCode::Function
    const Endpoint* endpoint = nullptr;    // the endpoint served, for the caller; never read here
    std::string pathTemplate;
    std::string literalPath;  // the template when it has no "{", else empty
    std::optional<std::regex> expression;
    std::vector<PathParameter> parameters;
};

// kMaxTemplatedPathLength is the longest path matched against a route's expression. The standard
// library's matcher recurses once per character of the path, a few hundred bytes of stack each, so a
// path of some thousands of bytes would overflow the stack of a host thread; a longer path matches no
// templated route (literal routes still compare it). No path of this plugin comes near the bound.
inline constexpr std::size_t kMaxTemplatedPathLength = 1024;

// TemplateExpression is the expression text of a template: "^", "$", ".", "*", "+", "?", "(", ")",
// "[", "]", "|" and "\" are escaped with a backslash, {name} becomes "([^/]*)", {+name} "(.*)" and
// {#name} "#(.*)". The groups are appended to parameters in template order.
std::string TemplateExpression(std::string_view pathTemplate, std::vector<PathParameter>& parameters);

// CompileRoute builds the route of an endpoint with the given method, function name and template.
Route CompileRoute(MethodCode method, std::string_view functionName, std::string_view pathTemplate,
                   const Endpoint* endpoint = nullptr);

// MatchRoute tells whether path matches route, and fills parameters with the percent-decoded value of
// each capture under its parameter's name. A literal route matches only its own path and fills
// nothing; a group that took no part in the match means no match. A path longer than
// kMaxTemplatedPathLength matches no templated route.
bool MatchRoute(const Route& route, std::string_view path, PathParameterMap& parameters);

// RequestTarget is what a request is matched with, and, once a route is chosen, what was chosen.
struct RequestTarget {
    MethodCode method = MethodCode::None;
    std::string functionName;  // empty unless method is MethodCode::Function
    std::string path;

    const Route* route = nullptr;  // chosen route
    MethodCode routeMethod = MethodCode::None;
    std::string pathTemplate;
    PathParameterMap parameters;
};

// SelectRoute visits routes in order and takes a route whose path matches and, unless ignoreMethods,
// whose endpoint accepts the target's method (an endpoint of method None accepts all; otherwise the
// methods and the function names must be equal). A later route replaces the taken one only when the
// total length of its decoded parameter values is smaller, so a tie keeps the earlier route; visiting
// stops as soon as the route just taken has no parameters. Answers whether a route was taken.
bool SelectRoute(RequestTarget& target, std::span<const Route* const> routes, bool ignoreMethods);

}  // namespace Brix::Rest
