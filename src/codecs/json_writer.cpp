// json_writer.cpp - the compact and pretty JSON writers, two ValueVisitors over RapidJSON's writers.
#include "codecs/json_writer.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <cstdint>
#include <span>
#include <string>

#include "binding/base64.h"
#include "binding/static_type.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "codecs/value_visitor.h"

namespace Brix::Json {

namespace {

// TextOutput is the RapidJSON output stream that appends to a string and writes lineBreak for every
// line feed. RapidJSON escapes line feeds inside strings, so only the pretty writer's own line ends
// are replaced.
class TextOutput {
public:
    using Ch = char;

    TextOutput(std::string& target, std::string_view lineEnd)
        : text(&target), lineBreak(lineEnd), replaceLineFeeds(!lineEnd.empty() && lineEnd != "\n") {}

    void Put(char c) {
        if (c == '\n' && replaceLineFeeds) {
            text->append(lineBreak);
        } else {
            text->push_back(c);
        }
    }
    void Flush() {}

private:
    std::string* text;
    std::string_view lineBreak;
    bool replaceLineFeeds;
};

// EnumeratorName is the name registry knows for number in the enum type, or null.
const std::string* EnumeratorName(const TypeRegistry* registry, int32_t number,
                                  const StaticTypeDescriptor* type) {
    if (registry == nullptr || type == nullptr) {
        return nullptr;
    }
    const TypeRecord* record = registry->FindById(type->id);
    const EnumeratorRecord* enumerator = record != nullptr ? record->FindEnumeratorByNumber(number) : nullptr;
    return enumerator != nullptr ? &enumerator->name : nullptr;
}

// RapidJsonVisitor writes the visited value through a RapidJSON writer: rapidjson::Writer makes the
// compact writer, rapidjson::PrettyWriter the pretty one. The RapidJSON writer places commas, colons
// and indentation itself, so BetweenElements has nothing to add.
template <class Writer>
class RapidJsonVisitor final : public ValueVisitor {
public:
    RapidJsonVisitor(TextOutput& output, const TypeRegistry* types) : writer(output), registry(types) {}

    void VisitEmpty() override { writer.Null(); }
    void VisitBool(bool value) override { writer.Bool(value); }
    void VisitSigned(int64_t value) override { writer.Int64(value); }
    void VisitUnsigned(uint64_t value) override { writer.Uint64(value); }
    void VisitFloat(double value) override {
        // RapidJSON refuses NaN and infinities after it has already written the separator, which
        // would leave broken text; JSON has no such numbers, so they are written as null.
        if (std::isfinite(value)) {
            writer.Double(value);
        } else {
            writer.Null();
        }
    }
    void VisitString(std::string_view text) override { WriteString(text); }
    void VisitBlob(std::span<const uint8_t> bytes) override { WriteString(Base64Encode(bytes)); }
    void VisitEnum(int32_t number, const StaticTypeDescriptor* type) override {
        if (const std::string* name = EnumeratorName(registry, number, type)) {
            WriteString(*name);
        } else {
            writer.Int64(number);
        }
    }

    void StartCollection(std::size_t /*elementCount*/) override { writer.StartArray(); }
    void BetweenElements() override {}
    void EndCollection() override { writer.EndArray(); }

    void StartStructure(std::size_t /*memberCount*/) override { writer.StartObject(); }
    void MemberName(std::string_view name) override {
        writer.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
    }
    void EndStructure() override { writer.EndObject(); }

private:
    void WriteString(std::string_view text) {
        writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    }

    Writer writer;
    const TypeRegistry* registry;
};

using CompactWriter = RapidJsonVisitor<rapidjson::Writer<TextOutput>>;
using PrettyWriter = RapidJsonVisitor<rapidjson::PrettyWriter<TextOutput>>;

}  // namespace

std::string Write(const BindingProperty& value, const TypeRegistry* registry, std::string_view lineBreak) {
    std::string text;
    if (value.IsEmpty()) {
        return text;
    }
    TextOutput output(text, lineBreak);
    if (lineBreak.empty()) {
        CompactWriter writer(output, registry);
        WalkValue(value, writer);
    } else {
        PrettyWriter writer(output, registry);
        WalkValue(value, writer);
    }
    return text;
}

}  // namespace Brix::Json
