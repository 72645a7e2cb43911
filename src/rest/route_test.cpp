// route_test.cpp - template compilation, route matching and selection with its tie-break.
#include "rest/route.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Brix::MethodCode;
using Brix::Rest::CompileRoute;
using Brix::Rest::PathParameterMap;
using Brix::Rest::Route;

// Matches answers the decoded parameters of a match, or "no match".
std::string Matches(const Route& route, std::string_view path) {
    PathParameterMap parameters;
    if (!Brix::Rest::MatchRoute(route, path, parameters)) {
        return "no match";
    }
    std::string text;
    for (const auto& [name, value] : parameters) {
        text.append(name).append("=").append(value).append(";");
    }
    return text;
}

TEST(RouteMatch, GroupsCaptureDecodedValuesAndLiteralPartsMatchOnlyThemselves) {
    struct Case {
        std::string_view pathTemplate;
        std::string_view path;
        std::string_view expected;
    };
    const std::vector<Case> cases = {
        // The twelve characters of expressions stand for themselves in a template.
        {"/^$.*+?()[]|\\-/{a}", "/^$.*+?()[]|\\-/7", "a=7;"},
        {"/a.b/{id}", "/a.b/42", "id=42;"},
        {"/a.b/{id}", "/aXb/42", "no match"},
        {"/a/{+rest}", "/a/4/2", "rest=4/2;"},
        {"/a{#frag}", "/a#x/y", "frag=x/y;"},
        {"/a{#frag}", "/ax/y", "no match"},
        {"/a/{d+#}", "/a/5", "d+#=5;"},  // only a leading "+" or "#" picks the form
        // The match is made on the path as given, then each capture is decoded.
        {"/g/{config}/map/{map}", "/g/1%2F2/map/a+b", "config=1/2;map=a b;"},
        {"/a.b", "/a.b", ""},
        {"/a.b", "/a.b/", "no match"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Matches(CompileRoute(MethodCode::Get, "", test.pathTemplate), test.path), test.expected)
            << test.pathTemplate << " " << test.path;
    }
}

TEST(RouteMatch, APathBeyondTheBoundMatchesNoTemplatedRoute) {
    const Route rest = CompileRoute(MethodCode::Get, "", "/a/{+rest}");
    const std::string atBound = "/a/" + std::string(Brix::Rest::kMaxTemplatedPathLength - 3, 'x');
    EXPECT_EQ(Matches(rest, atBound), "rest=" + atBound.substr(3) + ";");
    // Far longer than the bound: would overflow the stack inside the matcher if it were tried.
    EXPECT_EQ(Matches(rest, atBound + std::string(200000, 'x')), "no match");
    const std::string longLiteral(5000, 'l');
    EXPECT_EQ(Matches(CompileRoute(MethodCode::Get, "", longLiteral), longLiteral), "");
}

// Select answers the route chosen for method and path, or null.
const Route* Select(const std::vector<const Route*>& routes, MethodCode method, std::string path,
                    std::string functionName = {}, bool ignoreMethods = false) {
    Brix::Rest::RequestTarget target;
    target.method = method;
    target.path = std::move(path);
    target.functionName = std::move(functionName);
    return Brix::Rest::SelectRoute(target, routes, ignoreMethods) ? target.route : nullptr;
}

TEST(RouteSelect, PrefersTheShortestDecodedParametersAndKeepsTheEarlierOnATie) {
    const Route byId = CompileRoute(MethodCode::Get, "", "/q/{id}");
    const Route all = CompileRoute(MethodCode::Get, "", "/q/all");
    const Route byRest = CompileRoute(MethodCode::Get, "", "/q/{+rest}");
    EXPECT_EQ(Select({&all, &byId}, MethodCode::Get, "/q/all"), &all);
    EXPECT_EQ(Select({&byId, &byRest}, MethodCode::Get, "/q/7"), &byId);
    EXPECT_EQ(Select({&byRest, &byId}, MethodCode::Get, "/q/7"), &byRest);
    // Lengths count decoded text: "%41" is one byte, so "a{rest}" (1) beats "{id}" (2).
    const Route prefixed = CompileRoute(MethodCode::Get, "", "/q/a{rest}");
    EXPECT_EQ(Select({&byId, &prefixed}, MethodCode::Get, "/q/a%41"), &prefixed);
}

TEST(RouteSelect, MethodsAndFunctionNamesMustAgreeUnlessIgnored) {
    const Route get = CompileRoute(MethodCode::Get, "", "/r");
    const Route any = CompileRoute(MethodCode::None, "", "/r");
    const Route call = CompileRoute(MethodCode::Function, "doIt", "/r");
    EXPECT_EQ(Select({&get}, MethodCode::Get, "/r"), &get);
    EXPECT_EQ(Select({&get}, MethodCode::Post, "/r"), nullptr);
    EXPECT_EQ(Select({&get}, MethodCode::Post, "/r", "", true), &get);
    for (MethodCode method : {MethodCode::Delete, MethodCode::Get, MethodCode::Put, MethodCode::Function}) {
        EXPECT_EQ(Select({&any}, method, "/r"), &any);
    }
    EXPECT_EQ(Select({&call}, MethodCode::Function, "/r", "doIt"), &call);
    EXPECT_EQ(Select({&call}, MethodCode::Function, "/r", "other"), nullptr);
}

}  // namespace
