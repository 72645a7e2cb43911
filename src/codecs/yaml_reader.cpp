// yaml_reader.cpp - YAML text to a generic value through libyaml's event parser.
#include "codecs/yaml_reader.h"

#include <yaml.h>

#include <algorithm>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "binding/allocation_context.h"
#include "codecs/nesting_limit.h"
#include "codecs/yaml_scalar.h"
#include "logging/message_formatter.h"

namespace Brix::Yaml {

namespace {

std::string_view TextOf(const yaml_char_t* text) {
    return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// Parser owns a libyaml parser fed the whole text as UTF-8.
class Parser {
public:
    explicit Parser(std::string_view text) {
        ready = yaml_parser_initialize(&state) != 0;
        if (ready) {
            yaml_parser_set_encoding(&state, YAML_UTF8_ENCODING);
            yaml_parser_set_input_string(&state, reinterpret_cast<const unsigned char*>(text.data()),
                                         text.size());
        }
    }
    ~Parser() {
        if (ready) {
            yaml_parser_delete(&state);
        }
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool Ready() const noexcept { return ready; }
    yaml_parser_t& State() noexcept { return state; }

    std::string ErrorText() const {
        const char* problem = state.problem != nullptr ? state.problem : "out of memory";
        return FormatMessage("YAML parser error: %1. At line: %2 col: %3", problem, state.problem_mark.line,
                             state.problem_mark.column);
    }

private:
    yaml_parser_t state{};
    bool ready = false;
};

// Event owns one parsed event.
struct Event {
    Event() = default;
    ~Event() { yaml_event_delete(&data); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    yaml_event_t data{};
};

// ValueShape is the size of a value: how many values it holds (itself included), how many containers
// deep it goes (0 for a scalar) and how many bytes its strings, blobs and member names hold.
struct ValueShape {
    std::size_t count = 1;
    std::size_t height = 0;
    std::size_t bytes = 0;
};

// ShapeOf measures value; its depth is bounded by kMaxNestingDepth, so the recursion is too.
ValueShape ShapeOf(const BindingProperty& value) {
    ValueShape shape;
    auto add = [&shape](const BindingProperty& child) {
        const ValueShape inner = ShapeOf(child);
        shape.count += inner.count;
        shape.height = std::max(shape.height, inner.height + 1);
        shape.bytes += inner.bytes;
    };
    if (value.Kind() == BindingKind::String) {
        shape.bytes = value.AsString().size();
    } else if (value.Kind() == BindingKind::Blob) {
        shape.bytes = value.AsBlob().size();
    } else if (value.Kind() == BindingKind::Collection) {
        shape.height = 1;
        for (const BindingProperty& element : value.Elements()) {
            add(element);
        }
    } else if (value.Kind() == BindingKind::Structure) {
        shape.height = 1;
        for (auto member : value.Members()) {
            add(member.value);
            shape.bytes += member.name.size();
        }
    }
    return shape;
}

// DocumentBuilder turns events into the value. It keeps the open sequences and mappings on a stack;
// the target of the next node is the root, a new element of the innermost sequence, or the member of
// the innermost mapping named by its pending key. Only the innermost container ever grows, so the
// addresses kept on the stack stay valid.
class DocumentBuilder {
public:
    explicit DocumentBuilder(BindingProperty& target) : root(target) {}

    // Handle processes one event; false after a failure, whose message Error gives.
    bool Handle(const yaml_event_t& event) {
        mark = event.start_mark;
        switch (event.type) {
            case YAML_DOCUMENT_START_EVENT:
                if (!root.IsEmpty()) {
                    return Fail("Multi-document YAML is not supported.", false);
                }
                return true;
            case YAML_SCALAR_EVENT:
                return Scalar(event);
            case YAML_SEQUENCE_START_EVENT:
                return Open(TextOf(event.data.sequence_start.anchor), false);
            case YAML_MAPPING_START_EVENT:
                return Open(TextOf(event.data.mapping_start.anchor), true);
            case YAML_SEQUENCE_END_EVENT:
            case YAML_MAPPING_END_EVENT:
                return Close();
            case YAML_ALIAS_EVENT:
                return Alias(TextOf(event.data.alias.anchor));
            default:
                return true;
        }
    }

    const std::string& Error() const noexcept { return error; }

    // Fail records message, followed by the position of the current event unless it is one of the
    // texts that carry none.
    bool Fail(std::string_view message, bool withPosition = true) {
        error = withPosition
                    ? FormatMessage("%1 At line: %2 col: %3", message, mark.line + 1, mark.column + 1)
                    : std::string(message);
        return false;
    }

private:
    struct Frame {
        BindingProperty* value;
        bool mapping;
        bool keyPending = true;  // a mapping waits for a key
        std::string key;
        std::string anchor;  // the anchor of this node, empty when none
    };

    struct Anchor {
        BindingProperty value;
        bool open = true;  // its node has not ended yet
        ValueShape shape;
    };

    bool InKeyPosition() const noexcept {
        return !frames.empty() && frames.back().mapping && frames.back().keyPending;
    }

    // Target is where the next node goes; a mapping then waits for its next key.
    BindingProperty& Target() {
        if (frames.empty()) {
            return root;
        }
        Frame& frame = frames.back();
        if (!frame.mapping) {
            return frame.value->AppendElement();
        }
        frame.keyPending = true;
        return frame.value->MemberForWriting(frame.key);
    }

    bool Scalar(const yaml_event_t& event) {
        const auto& scalar = event.data.scalar;
        const std::string_view anchor = TextOf(scalar.anchor);
        const std::string_view tag = TextOf(scalar.tag);
        const std::string_view text(reinterpret_cast<const char*>(scalar.value), scalar.length);
        if (!anchor.empty() && anchors.contains(anchor)) {
            return DuplicateAnchor(anchor);
        }
        if (InKeyPosition()) {
            if (!tag.empty() && tag != kStringTag) {
                return Fail("Invalid mapping key. Only string scalar keys are allowed.");
            }
            Frame& frame = frames.back();
            frame.key.assign(text);
            frame.keyPending = false;
            if (!anchor.empty()) {
                BindingProperty key(root.Context());
                key.SetString(text);
                return Record(anchor, key);
            }
            return true;
        }
        const bool quoted = scalar.style == YAML_SINGLE_QUOTED_SCALAR_STYLE ||
                            scalar.style == YAML_DOUBLE_QUOTED_SCALAR_STYLE;
        BindingProperty& target = Target();
        std::string failure;
        if (!StoreScalar(target, tag, text, quoted, failure)) {
            return Fail(failure, false);
        }
        return anchor.empty() || Record(anchor, target);
    }

    bool Open(std::string_view anchor, bool mapping) {
        if (InKeyPosition()) {
            return Fail(mapping ? "Unexpected start of mapping." : "Unexpected start of sequence.");
        }
        if (frames.size() == kMaxNestingDepth) {
            return Fail(NestingTooDeepText());
        }
        if (!anchor.empty()) {
            if (anchors.contains(anchor)) {
                return DuplicateAnchor(anchor);
            }
            anchors.emplace(std::string(anchor), Anchor{BindingProperty(root.Context())});
        }
        BindingProperty& target = Target();
        if (mapping) {
            target.MakeStructure();
        } else {
            target.MakeCollection();
        }
        frames.push_back(Frame{&target, mapping, true, {}, std::string(anchor)});
        return true;
    }

    bool Close() {
        const Frame frame = std::move(frames.back());
        frames.pop_back();
        return frame.anchor.empty() || Record(frame.anchor, *frame.value);
    }

    bool Alias(std::string_view name) {
        const auto found = anchors.find(name);
        if (found == anchors.end()) {
            return Fail(FormatMessage("Undefined alias encountered: \"%1\".", name));
        }
        const Anchor& anchor = found->second;
        if (anchor.open) {
            return Fail(FormatMessage("Cannot deserialize cyclic aliases. Alias \"%1\".", name));
        }
        if (InKeyPosition()) {
            return Fail("Invalid mapping key. Only string scalar keys are allowed.");
        }
        if (frames.size() + anchor.shape.height > kMaxNestingDepth) {
            return Fail(NestingTooDeepText());
        }
        if (!Spend(anchor.shape)) {
            return false;
        }
        Target() = anchor.value;
        return true;
    }

    // Record stores a copy of the value of a node that has ended under its anchor.
    bool Record(std::string_view name, const BindingProperty& value) {
        const ValueShape shape = ShapeOf(value);
        if (!Spend(shape)) {
            return false;
        }
        Anchor& anchor =
            anchors.try_emplace(std::string(name), Anchor{BindingProperty(root.Context())}).first->second;
        anchor.value = value;
        anchor.shape = shape;
        anchor.open = false;
        return true;
    }

    // Spend counts the values and bytes about to be copied against kMaxCopiedValues and kMaxCopiedBytes.
    bool Spend(const ValueShape& shape) {
        copiedValues += shape.count;
        copiedBytes += shape.bytes;
        if (copiedValues > kMaxCopiedValues) {
            return Fail(FormatMessage("Anchors and aliases copy more than %1 values.", kMaxCopiedValues));
        }
        if (copiedBytes > kMaxCopiedBytes) {
            return Fail(FormatMessage("Anchors and aliases copy more than %1 bytes.", kMaxCopiedBytes));
        }
        return true;
    }

    bool DuplicateAnchor(std::string_view name) {
        return Fail(FormatMessage("Duplicate occurrence of anchor \"%1\".", name));
    }

    BindingProperty& root;
    std::vector<Frame> frames;
    std::map<std::string, Anchor, std::less<>> anchors;
    std::size_t copiedValues = 0;
    std::size_t copiedBytes = 0;
    yaml_mark_t mark{};
    std::string error;
};

}  // namespace

ConversionStatus Read(std::string_view text) {
    ConversionStatus status;
    // Every value of the document, anchored copies included, lives in one context, so that a copy
    // shares its strings with the original instead of interning them again.
    AllocationContext* context = AllocationContext::Create();
    status.Value() = BindingProperty(context);
    context->Release();

    Parser parser(text);
    if (!parser.Ready()) {
        status.Fail(parser.ErrorText());
        return status;
    }
    std::string failure;
    {
        DocumentBuilder builder(status.Value());
        try {
            for (;;) {
                Event event;
                if (yaml_parser_parse(&parser.State(), &event.data) == 0) {
                    failure = parser.ErrorText();
                    break;
                }
                if (event.data.type == YAML_STREAM_END_EVENT) {
                    break;
                }
                if (!builder.Handle(event.data)) {
                    failure = builder.Error();
                    break;
                }
            }
        } catch (const std::bad_alloc&) {
            builder.Fail("Not enough memory to hold the document.");
            failure = builder.Error();
        }
    }
    if (!failure.empty()) {
        status.Fail(failure);
    }
    return status;
}

}  // namespace Brix::Yaml
