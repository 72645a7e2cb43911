// argument_binding_test.cpp - binding one argument: names, locations, empty texts, element paths and
// decoding by content type. Whole requests are bound in endpoint_entry_test.cpp.
#include "rest/argument_binding.h"

#include <gtest/gtest.h>

#include <string>

#include "codecs/json_reader.h"
#include "codecs/msgpack_reader.h"
#include "codecs/yaml_reader.h"

namespace {

using Brix::ArgumentLocation;
using Brix::ArgumentRecord;
using Brix::BindingKind;
using Brix::BindingProperty;
using Brix::ConversionStatus;
using Brix::FunctionRecord;
using Brix::TypeCode;
using Brix::Rest::Arguments;

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
    // Bind answers the failure message, or "" when the binding succeeded.
    std::string Bind(std::string_view name, std::string_view text,
                     ArgumentLocation location = ArgumentLocation::Query, std::string_view contentType = {}) {
        ConversionStatus status;
        Brix::Rest::BindArgument(status, TestFunction(), arguments, name, text, contentType, location);
        return std::string(status.Message());
    }
    const BindingProperty& Value(std::size_t index) const { return arguments[index]; }

private:
    Arguments arguments = Arguments(TestFunction().arguments.size());
};

enum Position : std::size_t { kFlag, kCount, kList, kFilter, kItem, kTable, kText, kId, kToken };

TEST(BindArgument, RefusesUnknownNamesAndNamesGivenInTheWrongPlace) {
    Binder binder;
    EXPECT_EQ(binder.Bind("nope", "1"), "Unknown argument 'nope' for 'TestFunction'.");
    EXPECT_EQ(binder.Bind("nope.a.1", "1"), "Unknown argument 'nope' for 'TestFunction'.");
    EXPECT_EQ(binder.Bind("", ""), "Unknown argument '' for 'TestFunction'.");

    EXPECT_EQ(binder.Bind("id", "1", ArgumentLocation::Query),
              "Argument 'id' for 'TestFunction' was specified in an invalid location.");
    EXPECT_EQ(binder.Bind("flag.x", "1", ArgumentLocation::Path),
              "Argument 'flag' for 'TestFunction' was specified in an invalid location.");
    EXPECT_EQ(binder.Bind("token", "t", ArgumentLocation::Header), "");
    EXPECT_EQ(binder.Bind("id", "7", ArgumentLocation::Path), "");

    // An argument of location any takes every location.
    for (ArgumentLocation location : {ArgumentLocation::Query, ArgumentLocation::Path,
                                      ArgumentLocation::Header, ArgumentLocation::Body}) {
        EXPECT_EQ(binder.Bind("count", "5", location), "");
    }
}

TEST(BindArgument, AnEmptyTextIsTrueForABoolAnEmptyContainerForStructuredTypesAndMissingOtherwise) {
    Binder binder;
    EXPECT_EQ(binder.Bind("flag", ""), "");
    EXPECT_TRUE(binder.Value(kFlag).AsBool());
    EXPECT_EQ(binder.Bind("list", ""), "");
    EXPECT_EQ(binder.Value(kList).Kind(), BindingKind::Collection);
    for (std::size_t structured : {kFilter, kItem, kTable}) {
        const std::string name = TestFunction().arguments[structured].name;
        EXPECT_EQ(binder.Bind(name, ""), "") << name;
        EXPECT_EQ(binder.Value(structured).Kind(), BindingKind::Structure) << name;
        EXPECT_EQ(binder.Value(structured).MemberCount(), 0u) << name;
    }
    EXPECT_EQ(binder.Bind("count", ""), "Expected value for argument 'count'.");
    EXPECT_EQ(Binder().Bind("text", ""), "Expected value for argument 'text'.");

    // A text is kept as text: the argument's converter judges it later.
    EXPECT_EQ(binder.Bind("flag", "0"), "");
    EXPECT_EQ(binder.Value(kFlag).AsString(), "0");
}

TEST(BindArgument, ElementPathsCreateMembersAndElementsAndStoreTheTextAtTheEnd) {
    Binder binder;
    EXPECT_EQ(binder.Bind("filter.range.low", "1"), "");
    EXPECT_EQ(binder.Bind("filter.range.high", "[9]"), "");  // never decoded as structured
    EXPECT_EQ(binder.Bind("filter.names.2", "c"), "");
    EXPECT_EQ(binder.Bind("filter.names.0x1", "b"), "");
    EXPECT_EQ(binder.Bind("filter.names.00", "a"), "");
    EXPECT_EQ(binder.Bind("filter.names.3.first", "d"), "");
    EXPECT_EQ(binder.Bind("filter..x", "e"), "");  // an empty segment is a member name like any other

    const BindingProperty& filter = binder.Value(kFilter);
    EXPECT_EQ(filter.Member("range").Member("low").AsString(), "1");
    EXPECT_EQ(filter.Member("range").Member("high").AsString(), "[9]");
    const BindingProperty& names = filter.Member("names");
    ASSERT_EQ(names.ElementCount(), 4u);
    EXPECT_EQ(names.Element(0).AsString(), "a");
    EXPECT_EQ(names.Element(1).AsString(), "b");
    EXPECT_EQ(names.Element(2).AsString(), "c");
    EXPECT_EQ(names.Element(3).Member("first").AsString(), "d");
    EXPECT_EQ(filter.Member("").Member("x").AsString(), "e");

    // Octal: 010 is element 8.
    EXPECT_EQ(binder.Bind("list.010", "8"), "");
    ASSERT_EQ(binder.Value(kList).ElementCount(), 9u);
    EXPECT_TRUE(binder.Value(kList).Element(7).IsEmpty());
    EXPECT_EQ(binder.Value(kList).Element(8).AsString(), "8");
}

TEST(BindArgument, RefusesMalformedIndexesAndIndexesThatWouldGrowTooFar) {
    Binder binder;
    EXPECT_EQ(binder.Bind("list.1a", "x"), "Index 1a is in an incorrect format");
    EXPECT_EQ(binder.Bind("list.08", "x"), "Index 08 is in an incorrect format");
    EXPECT_EQ(binder.Bind("list.0x", "x"), "Index 0x is in an incorrect format");
    EXPECT_EQ(binder.Bind("list.0xg", "x"), "Index 0xg is in an incorrect format");
    EXPECT_EQ(binder.Bind("list.2147483648", "x"), "Index 2147483648 is out of range");
    EXPECT_EQ(binder.Bind("list.0x80000000", "x"), "Index 0x80000000 is out of range");
    EXPECT_EQ(binder.Bind("list.99999999999999999999999", "x"),
              "Index 99999999999999999999999 is out of range");
    // Leftover characters are judged before the size of the number.
    EXPECT_EQ(binder.Bind("list.99999999999999999999999x", "x"),
              "Index 99999999999999999999999x is in an incorrect format");

    // Below 2^31 but far past the end: refused rather than allocated.
    EXPECT_EQ(binder.Bind("list.2147483647", "x"), "Index 2147483647 is out of range");
    EXPECT_EQ(binder.Bind("filter.a.0.b.1025", "x"), "Index 1025 is out of range");
    EXPECT_EQ(binder.Value(kList).ElementCount(), 0u);

    // Up to the bound of new elements per index is fine, and growth in steps is never refused.
    const std::size_t bound = Brix::Rest::kMaxElementIndexGrowth;
    EXPECT_EQ(binder.Bind("list." + std::to_string(bound), "x"),
              "Index " + std::to_string(bound) + " is out of range");
    EXPECT_EQ(binder.Bind("list." + std::to_string(bound - 1), "x"), "");
    EXPECT_EQ(binder.Bind("list." + std::to_string(2 * bound - 1), "x"), "");
    EXPECT_EQ(binder.Value(kList).ElementCount(), 2 * bound);
}

// Decoded runs DecodeParameter and answers the value or the failure message.
struct Decoded {
    BindingProperty value;
    std::string failure;
};
Decoded Decode(std::string_view text, std::string_view contentType, bool structured) {
    Decoded decoded;
    ConversionStatus status;
    Brix::Rest::DecodeParameter(status, decoded.value, text, contentType, structured, "filter",
                                "TestFunction");
    decoded.failure = std::string(status.Message());
    return decoded;
}

TEST(DecodeParameter, StructuredTextsWithoutContentTypeAreRecognisedByTheirFirstCharacter) {
    const Decoded list = Decode("[1,2]", {}, true);
    ASSERT_EQ(list.value.Kind(), BindingKind::Collection);
    EXPECT_EQ(list.value.ElementCount(), 2u);
    EXPECT_EQ(Decode(" \r\n\t{\"a\":1}", {}, true).value.Member("a").AsUnsigned(), 1u);

    // The same texts for an argument that is not structured stay texts.
    EXPECT_EQ(Decode("[1,2]", {}, false).value.AsString(), "[1,2]");
    // Other texts stay texts even when structured.
    EXPECT_EQ(Decode("x[1]", {}, true).value.AsString(), "x[1]");

    // A MessagePack array or map header, or a YAML document marker, picks those readers.
    const Decoded packed = Decode("\x92\x01\x02", {}, true);
    ASSERT_EQ(packed.value.Kind(), BindingKind::Collection);
    EXPECT_EQ(packed.value.Element(1).AsSigned(), 2);
    const Decoded yaml = Decode("\n---\nname: x\n", {}, true);
    EXPECT_EQ(yaml.value.Member("name").AsString(), "x");
    EXPECT_EQ(Decode("\x92\x01\x02", {}, false).value.AsString(), "\x92\x01\x02");

    // Each reader's failure names the format, the argument and the function.
    const std::string prefix = "value for parameter 'filter' of 'TestFunction': ";
    EXPECT_EQ(Decode("[1,", {}, true).failure,
              "Couldn't deserialize JSON " + prefix + std::string(Brix::Json::Read("[1,").Message()));
    EXPECT_EQ(Decode("\xDC\x00", {}, true).failure,
              "Couldn't deserialize MessagePack " + prefix +
                  std::string(Brix::MsgPack::Read("\xDC\x00").Message()));
    EXPECT_EQ(Decode("--- [", {}, true).failure,
              "Couldn't deserialize YAML " + prefix + std::string(Brix::Yaml::Read("--- [").Message()));
}

TEST(DecodeParameter, AContentTypeDecidesWhateverTheTextLooksLike) {
    EXPECT_EQ(Decode("5", "Application/JSON; charset=utf-8", false).value.AsUnsigned(), 5u);
    EXPECT_EQ(Decode("\x05", "application/x-msgpack-ext", false).value.AsSigned(), 5);
    EXPECT_EQ(Decode("[a, b]", "text/x-yaml", false).value.ElementCount(), 2u);
    const Decoded bytes = Decode(std::string_view("a\0[", 3), "application/octet-stream", true);
    ASSERT_EQ(bytes.value.Kind(), BindingKind::Blob);
    EXPECT_EQ(bytes.value.AsBlob().size(), 3u);
    // Any other content type keeps the text, and so does a content type with a structured argument.
    EXPECT_EQ(Decode("[1]", "text/plain", true).value.AsString(), "[1]");
}

}  // namespace
