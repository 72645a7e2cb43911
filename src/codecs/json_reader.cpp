// json_reader.cpp - JSON text to a generic value through RapidJSON's SAX reader.
#include "codecs/json_reader.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "codecs/json_number.h"
#include "codecs/nesting_limit.h"
#include "codecs/utf8_validity.h"
#include "logging/message_formatter.h"

namespace Brix::Json {

namespace {

// kParseFlags: RapidJSON's strict defaults, with strings checked to be valid UTF-8 and numbers handed
// over as their text. A document found well-formed UTF-8 as a whole beforehand (almost every one) is
// parsed with kWellFormedFlags, without the check, which would cost a third of the read. RapidJSON's
// tokenizer still checks the number grammar and refuses the numbers its own rules find too big; ReadNumber
// then reads each one exactly. (RapidJSON's own conversions misread some numbers: its default path rounds
// "123e90" to 1.2299999999999999e92, and its full-precision path reads "0e-23" as a non-zero number and reads
// out of bounds on long mantissas with tiny exponents.)
constexpr unsigned kParseFlags = rapidjson::kParseDefaultFlags | rapidjson::kParseValidateEncodingFlag |
                                 rapidjson::kParseNumbersAsStringsFlag;
constexpr std::size_t kScanPadding = 16;
constexpr unsigned kWellFormedFlags = rapidjson::kParseDefaultFlags | rapidjson::kParseNumbersAsStringsFlag;

std::string ErrorText(std::string_view reason, std::size_t offset) {
    return FormatMessage("Error: %1 at offset %2.", reason, offset);
}

// HasEncodedSurrogate tells whether the UTF-8 bytes of a string encode a code point between U+D800 and
// U+DFFF. With the encoding checked, the only way one gets there is an escaped low surrogate without a
// high surrogate before it: RapidJSON refuses a lone high surrogate, but writes a lone low one as is.
bool HasEncodedSurrogate(std::string_view bytes) noexcept {
    for (std::size_t at = bytes.find('\xED'); at != std::string_view::npos; at = bytes.find('\xED', at + 1)) {
        if (at + 1 < bytes.size() && (static_cast<unsigned char>(bytes[at + 1]) & 0xE0U) == 0xA0U) {
            return true;
        }
    }
    return false;
}

unsigned HexValue(std::string_view hex) noexcept {
    unsigned value = 0;
    for (const char c : hex) {
        const unsigned digit =
            c <= '9' ? static_cast<unsigned>(c - '0') : static_cast<unsigned>((c | 0x20) - 'a' + 10);
        value = value * 16 + digit;
    }
    return value;
}

// LoneLowSurrogateOffset is the offset of the escape of the first lone low surrogate in the string
// whose closing quote ends just before end in text, a string that RapidJSON has already accepted.
// The opening quote is the last quote before end that no backslash escapes: inside a string every
// quote is escaped, and outside one no backslash can stand.
std::size_t LoneLowSurrogateOffset(std::string_view text, std::size_t end) noexcept {
    std::size_t open = end - 1;
    do {
        open = text.rfind('"', open - 1);
    } while (open > 0 && text[open - 1] == '\\');
    for (std::size_t at = open + 1; at + 1 < end; ++at) {
        if (text[at] != '\\') {
            continue;
        }
        if (text[at + 1] != 'u') {
            ++at;
            continue;
        }
        const unsigned unit = HexValue(text.substr(at + 2, 4));
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return at;
        }
        // A high surrogate is always followed by the escape of its low one, which is skipped with it.
        at += unit >= 0xD800 && unit <= 0xDBFF ? 11 : 5;
    }
    return end;
}

// ValueBuilder is the RapidJSON handler that builds the value. It keeps the open arrays and objects
// on a stack; the target of the next event is the root, a new element appended to the innermost open
// collection, or the member of the innermost open structure named by the last key. Only the
// innermost container ever grows, so the addresses kept on the stack stay valid.
class ValueBuilder {
public:
    // Surrogates are looked for only in a document with \u escapes: a surrogate can get into a string
    // only through one, once the encoding is checked.
    ValueBuilder(BindingProperty& target, std::string_view document)
        : root(&target), text(document), checkSurrogates(document.find("\\u") != std::string_view::npos) {}

    // Refused tells whether the builder refused the document while RapidJSON accepted it so far.
    bool Refused() const noexcept { return refusal != Refusal::None; }
    // Error is the message of the refusal, given the offset where RapidJSON stopped: right after the
    // number, string or bracket refused. (While it reads a string or number, RapidJSON works on a
    // copy of the stream, so the place is known only once it has stopped.)
    std::string Error(std::size_t stop) const {
        switch (refusal) {
            case Refusal::NumberTooBig:
                return ErrorText(rapidjson::GetParseError_En(rapidjson::kParseErrorNumberTooBig),
                                 stop - refusedLength);
            case Refusal::TooDeep:
                // The stream has just passed the bracket that opens the level too many.
                return ErrorText(NestingTooDeepText(), stop - 1);
            case Refusal::Surrogate:
                // As RapidJSON refuses a lone high surrogate: with its message, at the escape.
                return ErrorText(
                    rapidjson::GetParseError_En(rapidjson::kParseErrorStringUnicodeSurrogateInvalid),
                    LoneLowSurrogateOffset(text, stop));
            case Refusal::None:
                break;
        }
        return {};
    }

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
    // RawNumber receives every number as its text, which the reader has just passed.
    bool RawNumber(const char* digits, rapidjson::SizeType length, bool /*copy*/) {
        const Number number = ReadNumber(std::string_view(digits, length));
        switch (number.kind) {
            case NumberKind::Unsigned:
                Target().SetUnsigned(number.unsignedValue);
                return true;
            case NumberKind::Signed:
                Target().SetSigned(number.signedValue);
                return true;
            case NumberKind::Float:
                Target().SetFloat(number.floatValue);
                return true;
            case NumberKind::TooBig:
                break;
        }
        refusedLength = length;
        return Refuse(Refusal::NumberTooBig);
    }
    bool String(const char* bytes, rapidjson::SizeType length, bool /*copy*/) {
        const std::string_view string(bytes, length);
        if (checkSurrogates && HasEncodedSurrogate(string)) {
            return Refuse(Refusal::Surrogate);
        }
        Target().SetString(string);
        return true;
    }

    bool StartObject() { return Open(BindingKind::Structure); }
    bool Key(const char* bytes, rapidjson::SizeType length, bool /*copy*/) {
        const std::string_view name(bytes, length);
        if (checkSurrogates && HasEncodedSurrogate(name)) {
            return Refuse(Refusal::Surrogate);
        }
        member = &open.back()->MemberForWriting(name);
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
            return Refuse(Refusal::TooDeep);
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

    enum class Refusal { None, NumberTooBig, TooDeep, Surrogate };

    bool Refuse(Refusal why) {
        refusal = why;
        return false;
    }

    BindingProperty* root;
    std::string_view text;
    bool checkSurrogates;
    BindingProperty* member = nullptr;
    std::vector<BindingProperty*> open;
    Refusal refusal = Refusal::None;
    std::size_t refusedLength = 0;
};

}  // namespace

ConversionStatus Read(std::string_view text) {
    ConversionStatus status;
    if (text.find_first_not_of(" \t\n\r") == std::string_view::npos) {
        return status;
    }

    // RapidJSON scans strings and white space sixteen bytes at a time only in a NUL-terminated text,
    // so the text is read from a copy that ends with NULs, enough for the last scan to stay inside it.
    // A NUL inside the text ends RapidJSON's input as the end of the copy does.
    std::string terminated;
    try {
        terminated.reserve(text.size() + kScanPadding);
        terminated.assign(text);
        terminated.append(kScanPadding, '\0');
    } catch (const std::bad_alloc&) {
        status.Fail(ErrorText("Not enough memory to hold the document.", 0));
        return status;
    }
    rapidjson::StringStream stream(terminated.c_str());
    try {
        ValueBuilder builder(status.Value(), text);
        rapidjson::Reader reader;
        const rapidjson::ParseResult result = IsWellFormedUtf8(text)
                                                  ? reader.Parse<kWellFormedFlags>(stream, builder)
                                                  : reader.Parse<kParseFlags>(stream, builder);
        if (builder.Refused()) {
            status.Fail(builder.Error(stream.Tell()));
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
