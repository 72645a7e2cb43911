// type_registry_test.cpp - registration, lookup and type references of the type registry.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "binding/type_builder.h"
#include "binding/type_registry.h"

namespace RegistryTest {

enum class Colour : int32_t { Red = 0, Green = 1 };

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct Shape {
    std::string name;
    Colour colour = Colour::Red;
    Point origin;
    std::vector<Point> corners;
    std::map<std::string, int32_t> weights;
    std::optional<uint32_t> layer;
    std::vector<std::string> labels;
};

}  // namespace RegistryTest

namespace HashedNames {
template <class T>
constexpr bool UsesHashedTypeName(T*) {
    return true;
}
struct Record {
    int32_t value = 0;
};
}  // namespace HashedNames

namespace {

using namespace Brix;
using RegistryTest::Colour;
using RegistryTest::Point;
using RegistryTest::Shape;

void RegisterShapes(TypeRegistry& registry) {
    Register<Colour>(registry, "TestColour").Value("Red", Colour::Red).Value("Green", Colour::Green);
    Register<Point>(registry, "TestPoint")
        .Field("x", &Point::x)
        .Field("y", &Point::y, "vertical", kFieldRequired);
    Register<Shape>(registry, "TestShape")
        .Field("name", &Shape::name)
        .Field("colour", &Shape::colour)
        .Field("origin", &Shape::origin)
        .Field("corners", &Shape::corners)
        .Field("weights", &Shape::weights)
        .Field("layer", &Shape::layer)
        .Field("labels", &Shape::labels);
}

TEST(TypeRegistry, FieldAddersDeriveOffsetsAndTypeReferences) {
    TypeRegistry registry;
    RegisterShapes(registry);

    const TypeRecord* shape = registry.FindByName("TestShape");
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape, registry.Find<Shape>());

    const TypeRecord* colour = registry.Find<Colour>();
    const TypeRecord* point = registry.Find<Point>();
    ASSERT_EQ(shape->fields.size(), 7u);
    const auto& f = shape->fields;
    const Shape sample;
    auto offsetOf = [&sample](const auto& member) {
        return static_cast<uint32_t>(reinterpret_cast<const char*>(&member) -
                                     reinterpret_cast<const char*>(&sample));
    };
    EXPECT_EQ(f[1].offset, offsetOf(sample.colour));
    EXPECT_EQ(f[5].offset, offsetOf(sample.layer));
    EXPECT_EQ(f[0].type, (TypeReference{TypeCode::String}));
    EXPECT_EQ(f[1].type, (TypeReference{TypeCode::Enum, TypeCode::None, colour}));
    EXPECT_EQ(f[2].type, (TypeReference{TypeCode::Struct, TypeCode::None, point}));
    EXPECT_EQ(f[3].type, (TypeReference{TypeCode::Vector, TypeCode::Struct, point}));
    EXPECT_EQ(f[4].type, (TypeReference{TypeCode::Map, TypeCode::Int32, nullptr}));
    EXPECT_EQ(f[5].type, (TypeReference{TypeCode::UInt32}));
    EXPECT_EQ(f[6].type, (TypeReference{TypeCode::Vector, TypeCode::String, nullptr}));
    EXPECT_TRUE(f[5].optional);
    EXPECT_EQ(shape->FindField("labels"), &f[6]);
    EXPECT_EQ(shape->FindField("label"), nullptr);
    EXPECT_TRUE(point->FindField("y")->IsRequired());
}

TEST(TypeRegistry, RegisteringANameTwiceKeepsTheFirstRegistration) {
    TypeRegistry registry;
    Register<Point>(registry, "P").Field("x", &Point::x).Description("first");
    Register<Point>(registry, "P").Field("y", &Point::y).Description("second");

    const TypeRecord* record = registry.FindByName("P");
    ASSERT_EQ(record->fields.size(), 1u);
    EXPECT_EQ(record->fields[0].name, "x");
    EXPECT_EQ(record->description, "first");

    // Another name for the same type is registered, but the type's id stays with the first.
    Register<Point>(registry, "Q");
    EXPECT_EQ(registry.Find<Point>(), record);
    EXPECT_EQ(registry.FindByName("Q")->nativeSize, sizeof(Point));

    // A function registered twice keeps its first registration too.
    FunctionRecord function;
    function.name = "GetThing";
    function.description = "first";
    registry.RegisterFunction(function);
    function.description = "second";
    EXPECT_EQ(registry.RegisterFunction(function).description, "first");
    EXPECT_EQ(registry.Functions().size(), 1u);
    EXPECT_EQ(registry.FindFunction("Missing"), nullptr);
}

TEST(TypeRegistry, EnumeratorsAreKeyedByNameAndLookedUpByNumber) {
    TypeRegistry registry;
    auto builder = Register<Colour>(registry, "E");
    builder.Value("A", Colour{1}, "one")
        .Value("A", Colour{2}, "two")
        .Value("C", Colour{2})
        .Value("B", Colour{7});

    const TypeRecord* record = registry.FindByName("E");
    ASSERT_TRUE(record->isEnum);
    ASSERT_EQ(record->enumerators.size(), 3u);
    EXPECT_EQ(record->FindEnumerator("A")->number, 2);
    EXPECT_EQ(record->FindEnumerator("a"), nullptr);
    // Several enumerators share 2: the first in ascending name order answers.
    EXPECT_EQ(record->FindEnumeratorByNumber(2)->name, "A");
    EXPECT_EQ(record->FindEnumeratorByNumber(7)->name, "B");
    EXPECT_EQ(record->FindEnumeratorByNumber(3), nullptr);
}

TEST(TypeRegistry, ReservedDescriptorIsReachableByNameOnly) {
    TypeRegistry registry;
    RegisterWithoutStaticType<Point>(registry, "Anonymous").Field("x", &Point::x);
    ASSERT_NE(registry.FindByName("Anonymous"), nullptr);
    EXPECT_EQ(registry.FindByName("Anonymous")->id, kReservedTypeId);
    EXPECT_EQ(registry.FindById(kReservedTypeId), nullptr);
    EXPECT_EQ(ReservedStaticType().name, "#1BE7EF8E");
}

TEST(StaticType, IdsAreDistinctAndNamesFollowTheirForm) {
    EXPECT_NE(StaticType<Point>().id, StaticType<Shape>().id);
    EXPECT_NE(StaticType<int32_t>().id, StaticType<uint32_t>().id);
    EXPECT_EQ(StaticType<Point>().name, "const char *StaticType::Name<RegistryTest::Point>(void)");

    // Types of a namespace that opts in are named by their id.
    const StaticTypeDescriptor& hashed = StaticType<HashedNames::Record>();
    char expected[16];
    std::snprintf(expected, sizeof expected, "#%08X", hashed.id);
    EXPECT_EQ(hashed.name, expected);
}

}  // namespace
