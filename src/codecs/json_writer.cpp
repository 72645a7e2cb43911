// json_writer.cpp - the compact and pretty JSON writers: a ValueVisitor writing through a text buffer.
#include "codecs/json_writer.h"

#include <rapidjson/internal/dtoa.h>
#include <rapidjson/internal/itoa.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <utility>

#include "binding/base64.h"
#include "binding/static_type.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "codecs/value_visitor.h"

namespace Brix::Json {

namespace {

// kMaxNumberText is room for the longest number text: RapidJSON's shortest double form (at most 24
// characters) and a 64-bit integer with its sign (at most 20).
constexpr std::size_t kMaxNumberText = 25;
// kMaxDecimalPlaces is RapidJSON's default, which leaves the shortest round-trip text unrounded.
constexpr int kMaxDecimalPlaces = 324;
// kIndentWidth is the number of spaces per nesting level of the pretty form.
constexpr std::size_t kIndentWidth = 4;
// kFirstCapacity is the size of the buffer's first block.
constexpr std::size_t kFirstCapacity = 256;

// kEscapes gives, for every byte of a string, the letter that follows the backslash of its escape,
// or 0 when the byte is written as it is: RapidJSON's rules without encoding checks (control
// characters, the quote and the backslash are escaped; bytes from 0x7F up are copied).
constexpr std::array<char, 256> kEscapes = [] {
    std::array<char, 256> table{};
    for (std::size_t c = 0; c < 0x20; ++c) {
        table[c] = 'u';
    }
    table['\b'] = 'b';
    table['\t'] = 't';
    table['\n'] = 'n';
    table['\f'] = 'f';
    table['\r'] = 'r';
    table['"'] = '"';
    table['\\'] = '\\';
    return table;
}();

constexpr std::array<char, 16> kHexDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                          '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};

// TextBuffer is the growing output of a writer: a string written through a cursor, so that texts are
// copied in runs; bytes between the cursor and the end of the string are not text yet. Take trims the
// string to the text and hands it over without a copy.
class TextBuffer {
public:
    void Put(char c) {
        if (cursor == limit) {
            Grow(1);
        }
        *cursor++ = c;
    }

    void Append(const char* bytes, std::size_t count) {
        if (static_cast<std::size_t>(limit - cursor) < count) {
            Grow(count);
        }
        std::memcpy(cursor, bytes, count);
        cursor += count;
    }
    void Append(std::string_view bytes) { Append(bytes.data(), bytes.size()); }

    void AppendRepeated(char c, std::size_t count) {
        if (static_cast<std::size_t>(limit - cursor) < count) {
            Grow(count);
        }
        std::memset(cursor, c, count);
        cursor += count;
    }

    // Reserve makes room for count more bytes and gives where they go; Advance then moves the cursor
    // to the end of what was written there.
    char* Reserve(std::size_t count) {
        if (static_cast<std::size_t>(limit - cursor) < count) {
            Grow(count);
        }
        return cursor;
    }
    void Advance(char* end) { cursor = end; }

    std::string Take() {
        text.resize(Length());
        cursor = limit = nullptr;
        return std::move(text);
    }

private:
    std::size_t Length() const {
        return cursor == nullptr ? 0 : static_cast<std::size_t>(cursor - text.data());
    }

    // Grow at least doubles the string so that count more bytes fit after the cursor.
    void Grow(std::size_t count) {
        const std::size_t length = Length();
        text.resize(std::max({length + count, text.size() * 2, kFirstCapacity}));
        cursor = text.data() + length;
        limit = text.data() + text.size();
    }

    std::string text;
    char* cursor = nullptr;
    char* limit = nullptr;
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

// JsonVisitor writes the visited value as JSON text. The compact form has no white space at all;
// the pretty form (kPretty) puts every member and element on a line of its own, indented by
// kIndentWidth spaces per level, with lineBreak ending the lines, and ": " after member names.
//
// justOpened tells that the last thing written is the bracket or brace of a container that has had
// no item yet: the first member then gets no comma before it, the first element of a pretty array
// gets its line break and an empty container closes on the same line.
template <bool kPretty>
class JsonVisitor final : public ValueVisitor {
public:
    JsonVisitor(const TypeRegistry* types, std::string_view lineEnd) : registry(types), lineBreak(lineEnd) {}

    void VisitEmpty() override {
        BeforeValue();
        output.Append("null", 4);
    }
    void VisitBool(bool value) override {
        BeforeValue();
        if (value) {
            output.Append("true", 4);
        } else {
            output.Append("false", 5);
        }
    }
    void VisitSigned(int64_t value) override {
        BeforeValue();
        WriteSigned(value);
    }
    void VisitUnsigned(uint64_t value) override {
        BeforeValue();
        char* start = output.Reserve(kMaxNumberText);
        output.Advance(rapidjson::internal::u64toa(value, start));
    }
    void VisitFloat(double value) override {
        BeforeValue();
        // JSON has no NaN or infinities; they are written as null.
        if (!std::isfinite(value)) {
            output.Append("null", 4);
            return;
        }
        char* start = output.Reserve(kMaxNumberText);
        output.Advance(rapidjson::internal::dtoa(value, start, kMaxDecimalPlaces));
    }
    void VisitString(std::string_view text) override {
        BeforeValue();
        WriteString(text);
    }
    void VisitBlob(std::span<const uint8_t> bytes) override {
        BeforeValue();
        // Base64 text needs no escapes.
        output.Put('"');
        output.Append(Base64Encode(bytes));
        output.Put('"');
    }
    void VisitEnum(int32_t number, const StaticTypeDescriptor* type) override {
        BeforeValue();
        if (const std::string* name = EnumeratorName(registry, number, type)) {
            WriteString(*name);
        } else {
            WriteSigned(number);
        }
    }

    void StartCollection(std::size_t /*elementCount*/) override { Open('['); }
    void BetweenElements() override {
        output.Put(',');
        if constexpr (kPretty) {
            NewLine();
        }
    }
    void EndCollection() override { Close(']'); }

    void StartStructure(std::size_t /*memberCount*/) override { Open('{'); }
    void MemberName(std::string_view name) override {
        if (!justOpened) {
            output.Put(',');
        }
        justOpened = false;
        if constexpr (kPretty) {
            NewLine();
        }
        WriteString(name);
        if constexpr (kPretty) {
            output.Append(": ", 2);
        } else {
            output.Put(':');
        }
    }
    void EndStructure() override { Close('}'); }

    std::string Take() { return output.Take(); }

private:
    // BeforeValue starts the line of a pretty array's first element.
    void BeforeValue() {
        if (justOpened) {
            justOpened = false;
            if constexpr (kPretty) {
                NewLine();
            }
        }
    }

    void Open(char bracket) {
        BeforeValue();
        output.Put(bracket);
        justOpened = true;
        ++depth;
    }

    void Close(char bracket) {
        --depth;
        if (justOpened) {
            justOpened = false;
        } else if constexpr (kPretty) {
            NewLine();
        }
        output.Put(bracket);
    }

    void NewLine() {
        output.Append(lineBreak);
        output.AppendRepeated(' ', depth * kIndentWidth);
    }

    void WriteSigned(int64_t value) {
        char* start = output.Reserve(kMaxNumberText);
        output.Advance(rapidjson::internal::i64toa(value, start));
    }

    // WriteString writes text quoted, copying the runs between escapes at once.
    void WriteString(std::string_view text) {
        output.Put('"');
        const char* next = text.data();
        const char* const end = next + text.size();
        while (next != end) {
            const char* run = next;
            while (next != end && kEscapes[static_cast<unsigned char>(*next)] == 0) {
                ++next;
            }
            output.Append(run, static_cast<std::size_t>(next - run));
            if (next == end) {
                break;
            }
            WriteEscape(static_cast<unsigned char>(*next++));
        }
        output.Put('"');
    }

    void WriteEscape(unsigned char c) {
        const char letter = kEscapes[c];
        if (letter == 'u') {
            const std::array<char, 6> escape{'\\', 'u', '0', '0', kHexDigits[c >> 4], kHexDigits[c & 0xF]};
            output.Append(escape.data(), escape.size());
        } else {
            const std::array<char, 2> escape{'\\', letter};
            output.Append(escape.data(), escape.size());
        }
    }

    TextBuffer output;
    const TypeRegistry* registry;
    std::string_view lineBreak;
    std::size_t depth = 0;
    bool justOpened = false;
};

}  // namespace

std::string Write(const BindingProperty& value, const TypeRegistry* registry, std::string_view lineBreak) {
    if (value.IsEmpty()) {
        return {};
    }
    if (lineBreak.empty()) {
        JsonVisitor<false> writer(registry, lineBreak);
        WalkValue(value, writer);
        return writer.Take();
    }
    JsonVisitor<true> writer(registry, lineBreak);
    WalkValue(value, writer);
    return writer.Take();
}

}  // namespace Brix::Json
