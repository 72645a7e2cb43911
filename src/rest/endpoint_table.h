// endpoint_table.h - the endpoint table handed to the host: endpoints, functions, types and events.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "abi/host_endpoint_info.h"
#include "binding/api_records.h"
#include "binding/type_code.h"

namespace Brix {
class TypeRegistry;
}

namespace Brix::Rest {

// EndpointTable builds, and owns, the HostEndpointTable of a registry and every array and text it
// points to (the layout is documented in abi/host_endpoint_info.h):
//   - one endpoint record per registered function, in registration order, linked through `next`:
//     the function's name, its Endpoint as handler context, EndpointEntry as entry, the path template,
//     the method code, the thread-safe and async bits, the function-info entries and, for a function
//     call, the function name. A function registered without an Endpoint gets an empty path, method
//     0 and no handler context, so that a request for it answers "Invalid function";
//   - one type record per registered struct or enum, in registration order;
//   - one event record per registered event, in registration order.
// The registry must not change while the table is in use; the table copies every text it hands out.
class EndpointTable {
public:
    explicit EndpointTable(const TypeRegistry& registry);
    EndpointTable(const EndpointTable&) = delete;
    EndpointTable& operator=(const EndpointTable&) = delete;
    ~EndpointTable();

    const HostEndpointTable& HostTable() const noexcept { return table; }

private:
    const char* Text(std::string_view text);
    HostTypeIdentifier Identifier(const TypeReference& reference);
    // Tags is an array of the texts of list, or null when it is empty.
    const char* const* Tags(const std::vector<std::string>& list);
    // Described is a zeroed type or event block with the name, namespace, description and tags that
    // both kinds of record carry.
    template <class Info, class Record>
    Info Described(std::string_view name, const Record& record);
    void AddEndpoint(const FunctionRecord& function);
    void AddType(const class TypeRecord& type);
    void AddEvent(const EventRecord& event);

    std::set<std::string, std::less<>> texts;
    std::deque<HostTypeIdentifier> identifiers;
    std::deque<HostArgumentInfo> argumentInfos;
    std::deque<std::vector<const char*>> tagLists;
    std::deque<std::vector<HostFunctionInfo>> functionInfos;
    std::deque<std::vector<HostFieldInfo>> fieldInfos;
    std::deque<std::vector<HostEnumeratorInfo>> enumeratorInfos;
    std::vector<HostEndpointRecord> endpoints;
    std::vector<HostTypeInfo> types;
    std::vector<HostEventInfo> events;
    HostEndpointTable table{};
};

}  // namespace Brix::Rest
