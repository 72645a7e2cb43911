// route_test.cpp - template compilation, route matching and selection with its tie-break.
#include "rest/route.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Brix::MethodCode;
using Brix::Rest::CompileRoute;
using Brix::Rest::ParameterMode;
using Brix::Rest::PathParameter;
using Brix::Rest::PathParameterMap;
using Brix::Rest::RequestTarget;
using Brix::Rest::Route;

// Matches answers the decoded parameters of a match, or "no match".
std::string Matches(const Route& route, std::string_view path) {
    PathParameterMap parameters;
    if (!Brix::Rest::MatchRoute(route, path, parameters)) {
        return "no match";
    }
    std::string text;
    for (const auto& [name, value] : parameters) {
        text += name + "=" + value + ";";
    }
    return text;
}

TEST(RouteTemplate, EscapesTheTwelveCharactersAndTranslatesTheThreeGroupForms) {
    std::vector<PathParameter> parameters;
    EXPECT_EQ(Brix::Rest::TemplateExpression("/^$.*+?()[]|\\-/{a}/{+b}{#c}", parameters),
              "/\\^\\$\\.\\*\\+\\?\\(\\)\\[\\]\\|\\\\-/([^/]*)/(.*)#(.*)");
    EXPECT_EQ(parameters, (std::vector<PathParameter>{{ParameterMode::Segment, "a"},
                                                      {ParameterMode::Rest, "b"},
                                                      {ParameterMode::Fragment, "c"}}));

    // "+" and "#" switch the mode only as the first character of a group.
    parameters.clear();
    EXPECT_EQ(Brix::Rest::TemplateExpression("{a+b}{+#c}", parameters), "([^/]*)(.*)");
    EXPECT_EQ(parameters,
              (std::vector<PathParameter>{{ParameterMode::Segment, "a+b"}, {ParameterMode::Rest, "#c"}}));
}

TEST(RouteMatch, SegmentRestAndFragmentGroups) {
    const Route segment = CompileRoute(MethodCode::Get, "", "/a/{id}");
    EXPECT_EQ(Matches(segment, "/a/42"), "id=42;");
    EXPECT_EQ(Matches(segment, "/a/4/2"), "no match");
    EXPECT_EQ(Matches(segment, "/a/"), "id=;");
    EXPECT_EQ(Matches(segment, "/a/42/"), "no match");

    const Route rest = CompileRoute(MethodCode::Get, "", "/a/{+rest}");
    EXPECT_EQ(Matches(rest, "/a/4/2"), "rest=4/2;");

    const Route fragment = CompileRoute(MethodCode::Get, "", "/a{#frag}");
    EXPECT_EQ(Matches(fragment, "/a#x/y"), "frag=x/y;");
    EXPECT_EQ(Matches(fragment, "/ax"), "no match");

    // Captures are percent-decoded; the match itself is made on the path as given.
    const Route two = CompileRoute(MethodCode::Get, "", "/g/{gameTypeConfigId}/map/{mapId}");
    EXPECT_EQ(Matches(two, "/g/1%2F2/map/a+b"), "gameTypeConfigId=1/2;mapId=a b;");
}

TEST(RouteMatch, LiteralCharactersOfTheTemplateMatchOnlyThemselves) {
    const Route dotted = CompileRoute(MethodCode::Get, "", "/a.b/{x}");
    EXPECT_EQ(Matches(dotted, "/a.b/1"), "x=1;");
    EXPECT_EQ(Matches(dotted, "/aXb/1"), "no match");

    const Route literal = CompileRoute(MethodCode::Get, "", "/a.b");
    EXPECT_FALSE(literal.expression.has_value());
    EXPECT_EQ(Matches(literal, "/a.b"), "");
    EXPECT_EQ(Matches(literal, "/aXb"), "no match");
    EXPECT_EQ(Matches(literal, "/a.b/"), "no match");
}

TEST(RouteMatch, ARouteWithAGroupThatCapturesNothingNeverMatches) {
    // A "}" outside any group adds a parameter without an expression.
    const Route broken = CompileRoute(MethodCode::Get, "", "/a/{x}/b}");
    ASSERT_EQ(broken.parameters.size(), 2u);
    EXPECT_EQ(Matches(broken, "/a/1/b"), "no match");
}

TEST(RouteMatch, APathBeyondTheBoundMatchesNoTemplatedRoute) {
    const Route rest = CompileRoute(MethodCode::Get, "", "/a/{+rest}");
    const std::string atBound = "/a/" + std::string(Brix::Rest::kMaxTemplatedPathLength - 3, 'x');
    EXPECT_NE(Matches(rest, atBound), "no match");
    // Far longer than the bound: would overflow the stack inside the matcher if it were tried.
    EXPECT_EQ(Matches(rest, atBound + std::string(200000, 'x')), "no match");

    const std::string longLiteral(5000, 'l');
    EXPECT_EQ(Matches(CompileRoute(MethodCode::Get, "", longLiteral), longLiteral), "");
}

// Select picks among routes and reports the chosen one.
struct Selection {
    bool found = false;
    const Route* route = nullptr;
    PathParameterMap parameters;
};

Selection Select(const std::vector<const Route*>& routes, MethodCode method, std::string path,
                 std::string functionName = {}, bool ignoreMethods = false) {
    RequestTarget target;
    target.method = method;
    target.path = std::move(path);
    target.functionName = std::move(functionName);
    Selection selection;
    selection.found = Brix::Rest::SelectRoute(target, routes, ignoreMethods);
    selection.route = target.route;
    selection.parameters = target.parameters;
    return selection;
}

TEST(RouteSelect, PrefersTheShortestDecodedParametersAndKeepsTheEarlierOnATie) {
    const Route byId = CompileRoute(MethodCode::Get, "", "/q/{id}");
    const Route all = CompileRoute(MethodCode::Get, "", "/q/all");
    const Route byRest = CompileRoute(MethodCode::Get, "", "/q/{+rest}");

    EXPECT_EQ(Select({&all, &byId}, MethodCode::Get, "/q/all").route, &all);
    EXPECT_EQ(Select({&byId, &all}, MethodCode::Get, "/q/all").route, &all);
    // Equal lengths: the earlier route stays.
    EXPECT_EQ(Select({&byId, &byRest}, MethodCode::Get, "/q/7").route, &byId);
    EXPECT_EQ(Select({&byRest, &byId}, MethodCode::Get, "/q/7").route, &byRest);
    // Lengths count decoded text: "%41" is one byte.
    const Route prefixed = CompileRoute(MethodCode::Get, "", "/q/a{rest}");
    const Selection chosen = Select({&byId, &prefixed}, MethodCode::Get, "/q/a%41");
    EXPECT_EQ(chosen.route, &prefixed);
    EXPECT_EQ(chosen.parameters, (PathParameterMap{{"rest", "A"}}));
}

TEST(RouteSelect, StopsAtTheFirstParameterlessMatch) {
    // Two literal routes for the same path: the first is taken and the second never visited.
    const Route first = CompileRoute(MethodCode::Get, "", "/q");
    const Route second = CompileRoute(MethodCode::Get, "", "/q");
    EXPECT_EQ(Select({&first, &second}, MethodCode::Get, "/q").route, &first);
}

TEST(RouteSelect, MethodsAndFunctionNamesMustAgreeUnlessIgnored) {
    const Route get = CompileRoute(MethodCode::Get, "", "/r");
    const Route any = CompileRoute(MethodCode::None, "", "/r");
    const Route call = CompileRoute(MethodCode::Function, "doIt", "/r");

    EXPECT_EQ(Select({&get}, MethodCode::Get, "/r").route, &get);
    EXPECT_FALSE(Select({&get}, MethodCode::Post, "/r").found);
    EXPECT_TRUE(Select({&get}, MethodCode::Post, "/r", "", true).found);

    for (MethodCode method : {MethodCode::Delete, MethodCode::Get, MethodCode::Put, MethodCode::Function}) {
        EXPECT_EQ(Select({&any}, method, "/r").route, &any);
    }

    EXPECT_EQ(Select({&call}, MethodCode::Function, "/r", "doIt").route, &call);
    EXPECT_FALSE(Select({&call}, MethodCode::Function, "/r", "other").found);
    EXPECT_FALSE(Select({&get, &call}, MethodCode::Post, "/x").found);
}

}  // namespace
