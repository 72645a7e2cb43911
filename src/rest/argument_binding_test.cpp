// argument_binding_test.cpp - binding one argument: names, locations, empty texts, element paths and
// decoding by content type. Whole requests are bound by the end-to-end tests.
#include "rest/argument_binding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "codecs/msgpack_reader.h"
#include "codecs/yaml_reader.h"

namespace {

using Brix::ArgumentLocation;
using Brix::ArgumentRecord;
using Brix::BindingProperty;
using Brix::ConversionStatus;
using Brix::FunctionRecord;
using Brix::TypeCode;

ArgumentRecord Argument(std::string name, TypeCode code, ArgumentLocation location) {
    ArgumentRecord argument;
    argument.name = std::move(name);
    argument.type.code = code;
    argument.location = location;
    return argument;
}

// One argument of each kind of type code the binding rules tell apart, in every location.
const FunctionRecord& TestFunction() {
    static const FunctionRecord function = [] {
        FunctionRecord record;
        record.name = "TestFunction";
        record.arguments = {
            Argument("flag", TypeCode::Bool, ArgumentLocation::Query),
            Argument("count", TypeCode::Int32, ArgumentLocation::Any),
            Argument("list", TypeCode::Vector, ArgumentLocation::Any),
            Argument("filter", TypeCode::Object, ArgumentLocation::Any),
            Argument("item", TypeCode::Struct, ArgumentLocation::Any),
            Argument("table", TypeCode::Map, ArgumentLocation::Any),
            Argument("text", TypeCode::String, ArgumentLocation::Any),
            Argument("id", TypeCode::Int32, ArgumentLocation::Path),
            Argument("token", TypeCode::String, ArgumentLocation::Header),
        };
        return record;
    }();
    return function;
}

// Binder binds names one after the other into one set of arguments, as a request does.
class Binder {
public:
    // Bind answers the failure message, or the JSON text of the whole argument the name designates.
    std::string Bind(std::string_view name, std::string_view text,
                     ArgumentLocation location = ArgumentLocation::Query) {
        ConversionStatus status;
        Brix::Rest::BindArgument(status, TestFunction(), arguments, name, text, {}, location);
        if (!status.Ok()) {
            return std::string(status.Message());
        }
        const std::string_view base = name.substr(0, name.find('.'));
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (TestFunction().arguments[i].name == base) {
                return Brix::Json::Write(arguments[i]);
            }
        }
        return "(no argument)";
    }

private:
    Brix::Rest::Arguments arguments = Brix::Rest::Arguments(TestFunction().arguments.size());
};

struct BindCase {
    std::string_view name;
    std::string_view text;
    ArgumentLocation location;
    std::string_view expected;
};

TEST(BindArgument, NamesLocationsAndEmptyTexts) {
    using enum ArgumentLocation;
    const std::vector<BindCase> cases = {
        {"nope", "1", Query, "Unknown argument 'nope' for 'TestFunction'."},
        {"", "", Query, "Unknown argument '' for 'TestFunction'."},
        {"id", "1", Query, "Argument 'id' for 'TestFunction' was specified in an invalid location."},
        {"flag.x", "1", Path, "Argument 'flag' for 'TestFunction' was specified in an invalid location."},
        {"token", "t", Header, R"("t")"},
        {"id", "7", Path, R"("7")"},  // kept as text: the argument's converter judges it later
        // An argument of location any takes every location.
        {"count", "5", Query, R"("5")"},
        {"count", "7", Header, R"("7")"},
        // An empty text is true for a bool, an empty container for structured types, missing otherwise.
        {"flag", "", Query, "true"},
        {"list", "", Query, "[]"},
        {"filter", "", Query, "{}"},
        {"item", "", Query, "{}"},
        {"count", "", Query, "Expected value for argument 'count'."},
        {"text", "", Query, "Expected value for argument 'text'."},
    };
    for (const BindCase& test : cases) {
        EXPECT_EQ(Binder().Bind(test.name, test.text, test.location), test.expected) << test.name;
    }
}

TEST(BindArgument, ElementPathsCreateMembersAndElementsAndStoreTheTextAtTheEnd) {
    Binder binder;
    const std::vector<std::pair<std::string_view, std::string_view>> binds = {
        {"filter.range.low", "1"},
        {"filter.names.2", "c"},
        {"filter.names.0x1", "b"},
        {"filter.names.00", "a"},
        {"filter.names.3.first", "d"},
        {"filter..x", "e"},  // an empty segment is a member name like any other
    };
    for (const auto& [name, text] : binds) {
        binder.Bind(name, text);
    }
    EXPECT_EQ(binder.Bind("filter.range.high", "[9]"),  // never decoded as structured
              R"({"":{"x":"e"},"names":["a","b","c",{"first":"d"}],"range":{"high":"[9]","low":"1"}})");
    // Octal: 010 is element 8.
    EXPECT_EQ(binder.Bind("list.010", "8"), R"([null,null,null,null,null,null,null,null,"8"])");
}

TEST(BindArgument, RefusesMalformedIndexesAndIndexesThatWouldGrowTooFar) {
    constexpr std::size_t kBound = Brix::Rest::kMaxElementIndexGrowth;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"list.1a", "Index 1a is in an incorrect format"},
        {"list.08", "Index 08 is in an incorrect format"},
        {"list.0xg", "Index 0xg is in an incorrect format"},
        {"list.2147483648", "Index 2147483648 is out of range"},
        {"list.99999999999999999999999", "Index 99999999999999999999999 is out of range"},
        // Leftover characters are judged before the size of the number.
        {"list.99999999999999999999999x", "Index 99999999999999999999999x is in an incorrect format"},
        // Below 2^31 but far past the end: refused rather than allocated.
        {"list.2147483647", "Index 2147483647 is out of range"},
        {"filter.a.0.b.1025", "Index 1025 is out of range"},
        {"list." + std::to_string(kBound), "Index " + std::to_string(kBound) + " is out of range"},
    };
    Binder binder;
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(binder.Bind(name, "x"), expected);
    }
    EXPECT_EQ(binder.Bind("list.0", "z"), R"(["z"])");  // nothing was grown by a refused index

    // Up to the bound of new elements per index is fine, and growth in steps is never refused.
    const auto elements = [](const std::string& json) {
        return static_cast<std::size_t>(std::count(json.begin(), json.end(), ',')) + 1;
    };
    EXPECT_EQ(elements(binder.Bind("list." + std::to_string(kBound), "x")), kBound + 1);
    EXPECT_EQ(elements(binder.Bind("list." + std::to_string(2 * kBound), "y")), 2 * kBound + 1);
}

// Decoded answers the JSON text of what DecodeParameter makes of text, or its failure message.
std::string Decoded(std::string_view text, std::string_view contentType, bool structured) {
    BindingProperty value;
    ConversionStatus status;
    Brix::Rest::DecodeParameter(status, value, text, contentType, structured, "filter", "TestFunction");
    return status.Ok() ? Brix::Json::Write(value) : std::string(status.Message());
}

TEST(DecodeParameter, AContentTypeDecidesElseStructuredTextsAreRecognisedByTheirFirstCharacters) {
    struct Case {
        std::string_view text;
        std::string_view contentType;
        bool structured;
        std::string expected;
    };
    const std::string prefix = "value for parameter 'filter' of 'TestFunction': ";
    const std::vector<Case> cases = {
        {"[1,2]", {}, true, "[1,2]"},
        {" \r\n\t{\"a\":1}", {}, true, R"({"a":1})"},
        {"[1,2]", {}, false, R"("[1,2]")"},  // not structured: stays a text
        // A MessagePack array or map header, or a YAML document marker, picks those readers.
        {"\x92\x01\x02", {}, true, "[1,2]"},
        {"\x81\xA1p\x01", {}, true, R"({"p":1})"},
        {"\n---\nname: x\n", {}, true, R"({"name":"x"})"},
        {"5", "Application/JSON; charset=utf-8", false, "5"},
        {"\x05", "application/x-msgpack-ext", false, "5"},
        {"[a, b]", "text/x-yaml", false, R"(["a","b"])"},
        {std::string_view("a\0[", 3), "application/octet-stream", true, R"("YQBb")"},
        // Each reader's failure names the format, the argument and the function.
        {"[1,",
         {},
         true,
         "Couldn't deserialize JSON " + prefix + std::string(Brix::Json::Read("[1,").Message())},
        {"\xDC\x00",
         {},
         true,
         "Couldn't deserialize MessagePack " + prefix +
             std::string(Brix::MsgPack::Read("\xDC\x00").Message())},
        {"--- [",
         {},
         true,
         "Couldn't deserialize YAML " + prefix + std::string(Brix::Yaml::Read("--- [").Message())},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Decoded(test.text, test.contentType, test.structured), test.expected) << test.text;
    }
}

}  // namespace
