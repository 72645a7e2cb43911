// yaml_emitting.cpp - the block-style YAML emitter of the benchmark data.
#include "bench/yaml_emitting.h"

#include <cstdio>

namespace Brix::Bench {

namespace {

bool IsNonEmptyContainer(const BindingProperty& value) {
    return (value.Kind() == BindingKind::Collection || value.Kind() == BindingKind::Structure) &&
           value.Size() != 0;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendName(std::string& out, std::string_view name) {
    const bool plain = !name.empty() && name.find_first_not_of(
                                            "abcdefghijklmnopqrstuvwxyz"
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                            "0123456789_") == std::string_view::npos;
    if (plain) {
        out += name;
    } else {
        AppendQuoted(out, name);
    }
}

// AppendScalar writes a value that takes no line of its own: a scalar or an empty container.
void AppendScalar(std::string& out, const BindingProperty& value) {
    switch (value.Kind()) {
        case BindingKind::Empty:
            out += "null";
            break;
        case BindingKind::Float: {
            char text[32];
            std::snprintf(text, sizeof text, "%.17g", value.AsFloat());
            out += text;
            break;
        }
        case BindingKind::String:
        case BindingKind::Blob:
            AppendQuoted(out, value.ToText());
            break;
        case BindingKind::Collection:
            out += "[]";
            break;
        case BindingKind::Structure:
            out += "{}";
            break;
        case BindingKind::Bool:
        case BindingKind::Signed:
        case BindingKind::Unsigned:
        case BindingKind::Enum:
            out += value.ToText();
            break;
    }
}

// AppendBlock writes a non-empty container whose first line is already indented (by the caller's
// "- " when it is an element of a sequence) and whose further lines are indented by indent spaces.
void AppendBlock(std::string& out, const BindingProperty& value, std::size_t indent);

// AppendItem writes what follows a "name:" or a "-": a scalar on the same line, or a container on
// the next lines, indented by indent.
void AppendItem(std::string& out, const BindingProperty& value, std::size_t indent) {
    if (!IsNonEmptyContainer(value)) {
        out += ' ';
        AppendScalar(out, value);
        out += '\n';
        return;
    }
    out += '\n';
    out.append(indent, ' ');
    AppendBlock(out, value, indent);
}

void AppendBlock(std::string& out, const BindingProperty& value, std::size_t indent) {
    bool first = true;
    if (value.Kind() == BindingKind::Structure) {
        for (const auto& [name, member] : value.Members()) {
            if (!first) {
                out.append(indent, ' ');
            }
            first = false;
            AppendName(out, name);
            out += ':';
            AppendItem(out, member, indent + 2);
        }
        return;
    }
    for (const BindingProperty& element : value.Elements()) {
        if (!first) {
            out.append(indent, ' ');
        }
        first = false;
        out += '-';
        if (element.Kind() == BindingKind::Structure && element.Size() != 0) {
            out += ' ';
            AppendBlock(out, element, indent + 2);
        } else {
            AppendItem(out, element, indent + 2);
        }
    }
}

}  // namespace

std::string EmitYaml(const BindingProperty& value) {
    std::string out;
    if (IsNonEmptyContainer(value)) {
        AppendBlock(out, value, 0);
    } else {
        AppendScalar(out, value);
        out += '\n';
    }
    return out;
}

}  // namespace Brix::Bench
