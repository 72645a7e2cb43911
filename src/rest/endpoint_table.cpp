// endpoint_table.cpp - building the host's endpoint table from a type registry.
#include "rest/endpoint_table.h"

#include <algorithm>
#include <cstring>

#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "rest/endpoint.h"
#include "rest/endpoint_entry.h"

namespace Brix::Rest {

namespace {

template <class Block>
Block ZeroBlock() noexcept {
    Block block;
    std::memset(static_cast<void*>(&block), 0, sizeof(Block));
    return block;
}

uint32_t Count(std::size_t size) noexcept {
    return static_cast<uint32_t>(std::min<std::size_t>(size, UINT32_MAX));
}

}  // namespace

EndpointTable::EndpointTable(const TypeRegistry& registry) {
    const std::vector<const FunctionRecord*> functions = registry.Functions();
    endpoints.reserve(functions.size());
    for (const FunctionRecord* function : functions) {
        AddEndpoint(*function);
    }
    for (std::size_t i = 0; i + 1 < endpoints.size(); ++i) {
        endpoints[i].next = &endpoints[i + 1];
    }

    const std::vector<const TypeRecord*> typeRecords = registry.Types();
    types.reserve(typeRecords.size());
    for (const TypeRecord* type : typeRecords) {
        AddType(*type);
    }

    const std::vector<const EventRecord*> eventRecords = registry.Events();
    events.reserve(eventRecords.size());
    for (const EventRecord* event : eventRecords) {
        AddEvent(*event);
    }

    table.endpoints = endpoints.empty() ? nullptr : endpoints.data();
    table.endpointCount = Count(endpoints.size());
    table.types = types.empty() ? nullptr : types.data();
    table.typeCount = Count(types.size());
    table.events = events.empty() ? nullptr : events.data();
    table.eventCount = Count(events.size());
}

EndpointTable::~EndpointTable() = default;

const char* EndpointTable::Text(std::string_view text) {
    auto found = texts.find(text);
    if (found == texts.end()) {
        found = texts.emplace(text).first;
    }
    return found->c_str();
}

HostTypeIdentifier EndpointTable::Identifier(const TypeReference& reference) {
    const NativeTypeNamePair names = NativeTypeNames(reference);
    HostTypeIdentifier identifier = ZeroBlock<HostTypeIdentifier>();
    identifier.type = Text(reference.code == TypeCode::None ? std::string_view() : names.name);
    identifier.elementType = Text(names.elementName);
    identifier.code = static_cast<uint32_t>(reference.code);
    identifier.elementCode = reference.code == TypeCode::Vector || reference.code == TypeCode::Map
                                 ? static_cast<uint32_t>(reference.elementCode)
                                 : 0;
    return identifier;
}

const char* const* EndpointTable::Tags(const std::vector<std::string>& list) {
    if (list.empty()) {
        return nullptr;
    }
    std::vector<const char*>& tagTexts = tagLists.emplace_back();
    for (const std::string& tag : list) {
        tagTexts.push_back(Text(tag));
    }
    return tagTexts.data();
}

void EndpointTable::AddEndpoint(const FunctionRecord& function) {
    std::vector<HostFunctionInfo>& entries = functionInfos.emplace_back();
    auto addEntry = [&entries](uint32_t key, const void* data, uint32_t index) {
        HostFunctionInfo entry = ZeroBlock<HostFunctionInfo>();
        entry.key = key;
        entry.data = data;
        entry.index = index;
        entries.push_back(entry);
    };
    addEntry(HOST_FUNCTION_INFO_NAMESPACE, Text(function.nameSpace), 0);
    addEntry(HOST_FUNCTION_INFO_DESCRIPTION, Text(function.description), 0);
    addEntry(HOST_FUNCTION_INFO_HELP, Text(function.help), 0);
    addEntry(HOST_FUNCTION_INFO_RETURNS, &identifiers.emplace_back(Identifier(function.returns)), 0);
    for (std::size_t i = 0; i < function.arguments.size(); ++i) {
        const ArgumentRecord& argument = function.arguments[i];
        HostArgumentInfo info = ZeroBlock<HostArgumentInfo>();
        info.name = Text(argument.name);
        info.description = Text(argument.description);
        info.type = Identifier(argument.type);
        info.location = static_cast<uint32_t>(argument.location);
        info.optional = argument.optional ? 1 : 0;
        addEntry(HOST_FUNCTION_INFO_ARGUMENT, &argumentInfos.emplace_back(info), Count(i));
    }
    for (std::size_t i = 0; i < function.tags.size(); ++i) {
        addEntry(HOST_FUNCTION_INFO_TAG, Text(function.tags[i]), Count(i));
    }

    HostEndpointRecord record = ZeroBlock<HostEndpointRecord>();
    record.name = Text(function.name);
    record.entry = &EndpointEntry;
    record.functionFlag = static_cast<uint8_t>((function.threadSafe ? HOST_FUNCTION_THREAD_SAFE : 0) |
                                               (function.async ? HOST_FUNCTION_ASYNC : 0));
    record.functionInfo = entries.data();
    record.functionInfoCount = Count(entries.size());
    Endpoint* const endpoint = EndpointOf(function);
    if (endpoint != nullptr && endpoint->Function() == &function) {
        record.handlerContext = endpoint;
        record.path = Text(endpoint->Path());
        record.method = static_cast<uint32_t>(endpoint->Method());
        if (endpoint->Method() == MethodCode::Function) {
            record.functionName = Text(endpoint->FunctionName());
        }
    } else {
        record.path = Text("");
    }
    endpoints.push_back(record);
}

template <class Info, class Record>
Info EndpointTable::Described(std::string_view name, const Record& record) {
    Info info = ZeroBlock<Info>();
    info.name = Text(name);
    info.nameSpace = Text(record.nameSpace);
    info.description = Text(record.description);
    info.tags = Tags(record.tags);
    info.tagCount = Count(record.tags.size());
    return info;
}

void EndpointTable::AddType(const TypeRecord& type) {
    HostTypeInfo info = Described<HostTypeInfo>(type.fullName, type);
    info.size = type.nativeSize;
    info.id = type.id;
    if (type.isEnum) {
        info.kind = HOST_TYPE_INFO_ENUM;
        std::vector<const EnumeratorRecord*> ordered;
        for (const auto& [name, enumerator] : type.enumerators) {
            ordered.push_back(&enumerator);
        }
        // The map is in name order; a stable sort keeps that order among equal numbers.
        std::stable_sort(
            ordered.begin(), ordered.end(),
            [](const EnumeratorRecord* a, const EnumeratorRecord* b) { return a->number < b->number; });
        std::vector<HostEnumeratorInfo>& members = enumeratorInfos.emplace_back();
        for (const EnumeratorRecord* enumerator : ordered) {
            HostEnumeratorInfo member = ZeroBlock<HostEnumeratorInfo>();
            member.name = Text(enumerator->name);
            member.description = Text(enumerator->description);
            member.value = enumerator->number;
            members.push_back(member);
        }
        info.members = members.empty() ? nullptr : members.data();
        info.memberCount = Count(members.size());
    } else {
        info.kind = HOST_TYPE_INFO_STRUCT;
        std::vector<HostFieldInfo>& members = fieldInfos.emplace_back();
        for (const FieldRecord& field : type.fields) {
            HostFieldInfo member = ZeroBlock<HostFieldInfo>();
            member.name = Text(field.name);
            member.description = Text(field.description);
            member.type = Identifier(field.type);
            member.offset = field.offset;
            member.flags = field.flags;
            member.optional = field.optional ? 1 : 0;
            members.push_back(member);
        }
        info.members = members.empty() ? nullptr : members.data();
        info.memberCount = Count(members.size());
    }
    types.push_back(info);
}

void EndpointTable::AddEvent(const EventRecord& event) {
    HostEventInfo info = Described<HostEventInfo>(event.name, event);
    info.payload = &identifiers.emplace_back(Identifier(event.payload));
    events.push_back(info);
}

}  // namespace Brix::Rest
