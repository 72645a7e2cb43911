// json_reader.cpp - JSON text to a generic value through RapidJSON's SAX reader.
#include "codecs/json_reader.h"

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "codecs/nesting_limit.h"
#include "logging/message_formatter.h"

namespace Brix::Json {

namespace {

// kParseFlags: RapidJSON's strict defaults, with numbers read to full precision: the default fast path
// misreads some floats ("123e90" as 1.2299999999999999e92), so a written document would not read back
// the same. They do not check that strings are valid UTF-8: string bytes are kept as they are.
constexpr unsigned kParseFlags = rapidjson::kParseDefaultFlags | rapidjson::kParseFullPrecisionFlag;

// ValueBuilder is the RapidJSON handler that builds the value. It keeps the open arrays and objects
// on a stack; the target of the next event is the root, a new element appended to the innermost open
// collection, or the member of the innermost open structure named by the last key. Only the
// innermost container ever grows, so the addresses kept on the stack stay valid.
class ValueBuilder {
public:
    explicit ValueBuilder(BindingProperty& target) : root(&target) {}

    // TooDeep tells that the parse stopped because a container would have exceeded the limit.
    bool TooDeep() const noexcept { return tooDeep; }

    bool Null() {
        Target().Clear();
        return true;
    }
    bool Bool(bool value) {
        Target().SetBool(value);
        return true;
    }
    bool Int(int value) {
        Target().SetSigned(int64_t{value});
        return true;
    }
    bool Uint(unsigned value) {
        Target().SetUnsigned(uint64_t{value});
        return true;
    }
    bool Int64(int64_t value) {
        Target().SetSigned(value);
        return true;
    }
    bool Uint64(uint64_t value) {
        Target().SetUnsigned(value);
        return true;
    }
    bool Double(double value) {
        Target().SetFloat(value);
        return true;
    }
    // RawNumber is only called when numbers are parsed as strings, which this reader never asks for.
    bool RawNumber(const char* /*text*/, rapidjson::SizeType /*length*/, bool /*copy*/) { return false; }
    bool String(const char* text, rapidjson::SizeType length, bool /*copy*/) {
        Target().SetString(std::string_view(text, length));
        return true;
    }

    bool StartObject() { return Open(BindingKind::Structure); }
    bool Key(const char* text, rapidjson::SizeType length, bool /*copy*/) {
        member = &open.back()->MemberForWriting(std::string_view(text, length));
        return true;
    }
    bool EndObject(rapidjson::SizeType /*memberCount*/) {
        open.pop_back();
        return true;
    }

    bool StartArray() { return Open(BindingKind::Collection); }
    bool EndArray(rapidjson::SizeType /*elementCount*/) {
        open.pop_back();
        return true;
    }

private:
    BindingProperty& Target() {
        if (open.empty()) {
            return *root;
        }
        BindingProperty& container = *open.back();
        return container.Kind() == BindingKind::Collection ? container.AppendElement() : *member;
    }

    // Open turns the target into a collection or structure (keeping one already there, so that a
    // repeated member name appends or merges) and makes it the innermost open container.
    bool Open(BindingKind kind) {
        if (open.size() == kMaxNestingDepth) {
            tooDeep = true;
            return false;
        }
        BindingProperty& target = Target();
        if (kind == BindingKind::Collection) {
            target.MakeCollection();
        } else {
            target.MakeStructure();
        }
        open.push_back(&target);
        return true;
    }

    BindingProperty* root;
    BindingProperty* member = nullptr;
    std::vector<BindingProperty*> open;
    bool tooDeep = false;
};

std::string ErrorText(std::string_view reason, std::size_t offset) {
    return FormatMessage("Error: %1 at offset %2.", reason, offset);
}

}  // namespace

ConversionStatus Read(std::string_view text) {
    ConversionStatus status;
    if (text.find_first_not_of(" \t\n\r") == std::string_view::npos) {
        return status;
    }

    // The stream is bounded by the text's length, so the text need not end with a NUL; RapidJSON
    // reads past its end as a NUL.
    rapidjson::MemoryStream stream(text.data(), text.size());
    try {
        ValueBuilder builder(status.Value());
        rapidjson::Reader reader;
        const rapidjson::ParseResult result = reader.Parse<kParseFlags>(stream, builder);
        if (builder.TooDeep()) {
            // The reader reports the offset just after the bracket that opened the level too many.
            status.Fail(ErrorText(NestingTooDeepText(), result.Offset() - 1));
        } else if (result.IsError()) {
            status.Fail(ErrorText(rapidjson::GetParseError_En(result.Code()), result.Offset()));
        } else if (stream.Tell() != text.size()) {
            // RapidJSON takes a NUL byte for the end of its input and would accept "[1]" followed by a
            // NUL byte and anything else; a NUL after the root is trailing content like any other.
            status.Fail(ErrorText(rapidjson::GetParseError_En(rapidjson::kParseErrorDocumentRootNotSingular),
                                  stream.Tell()));
        }
    } catch (const std::bad_alloc&) {
        status.Fail(ErrorText("Not enough memory to hold the document.", stream.Tell()));
    }
    return status;
}

}  // namespace Brix::Json
