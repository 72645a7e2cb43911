// openapi_document.cpp - walking the endpoint table's records, function-info entries and type records
// into an OpenAPI document.
#include "openapi_document.h"

#include <cstdint>
#include <limits>
#include <set>

#include "abi/host_endpoint_info.h"
#include "rest/method_code.h"

namespace HuxHost {

namespace {

using Brix::BindingProperty;

constexpr std::string_view kOpenApiVersion = "3.1.0";
constexpr std::string_view kSchemaPrefix = "#/components/schemas/";
constexpr std::string_view kFailureName = "HostFailure";

std::string TextOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

// Names is a set of registered type names.
using Names = std::set<std::string, std::less<>>;

// Schemas is what the schemas refer to: the registered names that may be referred to, and those that
// are, which the components then describe.
struct Schemas {
    Names registered;
    Names used;
};

void SetText(BindingProperty& object, std::string_view name, std::string_view text) {
    object.MemberForWriting(name).SetString(text);
}

void SetType(BindingProperty& schema, std::string_view type) {
    SetText(schema, "type", type);
}

// Integer is an integer schema; the narrow and unsigned widths, which no standard format names, carry
// their range.
BindingProperty Integer(std::string_view format, int64_t minimum, uint64_t maximum) {
    BindingProperty schema;
    SetType(schema, "integer");
    SetText(schema, "format", format);
    if (format == "int32" || format == "int64") {
        return schema;
    }
    if (minimum < 0) {
        schema.MemberForWriting("minimum").SetSigned(minimum);
    } else {
        schema.MemberForWriting("minimum").SetUnsigned(uint64_t{0});
    }
    if (maximum != std::numeric_limits<uint64_t>::max()) {
        schema.MemberForWriting("maximum").SetUnsigned(maximum);
    }
    return schema;
}

template <class T>
BindingProperty IntegerOf(std::string_view format) {
    return Integer(format, static_cast<int64_t>(std::numeric_limits<T>::min()),
                   static_cast<uint64_t>(std::numeric_limits<T>::max()));
}

BindingProperty Reference(std::string_view registeredName, Schemas& schemas) {
    schemas.used.emplace(registeredName);
    BindingProperty schema;
    SetText(schema, "$ref", std::string(kSchemaPrefix) + SchemaName(registeredName));
    return schema;
}

// Schema is the schema of a type given by its code and name (for a vector or map, of its element).
BindingProperty Schema(uint32_t code, std::string_view type, uint32_t elementCode,
                       std::string_view elementType, Schemas& schemas) {
    BindingProperty schema;
    switch (code) {
        case HOST_TYPE_BOOL:
            SetType(schema, "boolean");
            break;
        case HOST_TYPE_INT8:
            return IntegerOf<int8_t>("int8");
        case HOST_TYPE_UINT8:
            return IntegerOf<uint8_t>("uint8");
        case HOST_TYPE_INT16:
            return IntegerOf<int16_t>("int16");
        case HOST_TYPE_UINT16:
            return IntegerOf<uint16_t>("uint16");
        case HOST_TYPE_INT32:
            return IntegerOf<int32_t>("int32");
        case HOST_TYPE_UINT32:
            return IntegerOf<uint32_t>("uint32");
        case HOST_TYPE_INT64:
            return IntegerOf<int64_t>("int64");
        case HOST_TYPE_UINT64:
            return IntegerOf<uint64_t>("uint64");
        case HOST_TYPE_FLOAT:
            SetType(schema, "number");
            SetText(schema, "format", "float");
            break;
        case HOST_TYPE_DOUBLE:
            SetType(schema, "number");
            SetText(schema, "format", "double");
            break;
        case HOST_TYPE_STRING:
            SetType(schema, "string");
            break;
        case HOST_TYPE_BLOB:
            SetType(schema, "string");
            SetText(schema, "contentEncoding", "base64");
            break;
        case HOST_TYPE_VECTOR:
            SetType(schema, "array");
            schema.MemberForWriting("items") = Schema(elementCode, elementType, 0, {}, schemas);
            break;
        case HOST_TYPE_MAP:
            SetType(schema, "object");
            schema.MemberForWriting("additionalProperties") =
                Schema(elementCode, elementType, 0, {}, schemas);
            break;
        case HOST_TYPE_ENUM:
            if (schemas.registered.contains(type)) {
                return Reference(type, schemas);
            }
            SetType(schema, "string");
            break;
        case HOST_TYPE_STRUCT:
            if (schemas.registered.contains(type)) {
                return Reference(type, schemas);
            }
            SetType(schema, "object");
            break;
        default:
            // Any value (an object member, a callback, or a code this host does not know).
            schema.MakeStructure();
            break;
    }
    return schema;
}

BindingProperty SchemaOf(const HostTypeIdentifier& identifier, Schemas& schemas) {
    const uint32_t code = identifier.code;
    const uint32_t elementCode = identifier.elementCode;
    const std::string type = TextOf(identifier.type);
    const std::string elementType = TextOf(identifier.elementType);
    return Schema(code, type, elementCode, elementType, schemas);
}

BindingProperty FailureSchema() {
    BindingProperty schema;
    SetType(schema, "object");
    BindingProperty& properties = schema.MemberForWriting("properties");
    SetType(properties.MemberForWriting("status"), "integer");
    SetText(properties.MemberForWriting("status"), "description", "the HTTP status the plugin answered");
    SetType(properties.MemberForWriting("message"), "string");
    SetText(properties.MemberForWriting("message"), "description", "the plugin's error message");
    BindingProperty& required = schema.MemberForWriting("required");
    required.AppendElement().SetString("status");
    required.AppendElement().SetString("message");
    return schema;
}

BindingProperty JsonContent(BindingProperty schema) {
    BindingProperty content;
    content.MemberForWriting("application/json").MemberForWriting("schema") = std::move(schema);
    return content;
}

// AddFailure adds to responses the answer under code: the failure object, with description.
void AddFailure(BindingProperty& responses, std::string_view code, std::string_view description) {
    BindingProperty& failure = responses.MemberForWriting(code);
    SetText(failure, "description", description);
    BindingProperty schema;
    SetText(schema, "$ref", std::string(kSchemaPrefix) + std::string(kFailureName));
    failure.MemberForWriting("content") = JsonContent(std::move(schema));
}

// AddFailures adds the failures every request may meet: a malformed request, an unknown path, and a
// fault of the host or the plugin.
void AddFailures(BindingProperty& responses) {
    AddFailure(responses, "400", "the request is malformed: an argument is missing or has the wrong type");
    AddFailure(responses, "404", "nothing is served at this path, or the plugin knows no such item");
    AddFailure(responses, "500", "the plugin failed, or answered something that is not JSON");
}

// AddOk adds the "200" answer to responses, with its content type and schema.
void AddOk(BindingProperty& responses, std::string_view description, std::string_view type,
           BindingProperty schema) {
    BindingProperty& ok = responses.MemberForWriting("200");
    SetText(ok, "description", description);
    ok.MemberForWriting("content").MemberForWriting(type).MemberForWriting("schema") = std::move(schema);
}

BindingProperty TypedSchema(std::string_view type, std::string_view description) {
    BindingProperty schema;
    SetType(schema, type);
    SetText(schema, "description", description);
    return schema;
}

// HostOperation is an operation of the host's own routes, with its id and summary and the failures
// every request may meet.
BindingProperty HostOperation(std::string_view operationId, std::string_view summary) {
    BindingProperty operation;
    SetText(operation, "operationId", operationId);
    SetText(operation, "summary", summary);
    operation.MemberForWriting("tags").AppendElement().SetString("hux-host");
    AddFailures(operation.MemberForWriting("responses"));
    return operation;
}

// DeliveryOperation is PUT or DELETE /resources/{uri}: the resource event handed to the plugin.
BindingProperty DeliveryOperation(bool update) {
    BindingProperty operation =
        HostOperation(update ? "PutResource" : "DeleteResource",
                      update ? "Deliver a resource update" : "Deliver a resource delete");
    SetText(operation, "description",
            update ? "Hands the plugin an Update event of the resource with the JSON body as its new value."
                   : "Hands the plugin a Delete event of the resource; a body is not read.");
    BindingProperty& uri = operation.MemberForWriting("parameters").AppendElement();
    SetText(uri, "name", "uri");
    SetText(uri, "in", "path");
    uri.MemberForWriting("required").SetBool(true);
    SetText(uri, "description", "the resource's URI without its leading \"/\"; it may hold further \"/\"");
    SetType(uri.MemberForWriting("schema"), "string");
    BindingProperty& responses = operation.MemberForWriting("responses");
    if (update) {
        BindingProperty& body = operation.MemberForWriting("requestBody");
        body.MemberForWriting("required").SetBool(true);
        SetText(body, "description",
                "the resource's new value, any JSON (gzip, deflate or br encoded or plain)");
        BindingProperty anyValue;
        anyValue.MakeStructure();
        body.MemberForWriting("content") = JsonContent(std::move(anyValue));
        AddFailure(responses, "411", "the body has neither a Content-Length nor chunks");
        AddFailure(responses, "413", "the body is larger than 8 MiB once decoded");
    }
    BindingProperty answer;
    SetType(answer, "object");
    BindingProperty& properties = answer.MemberForWriting("properties");
    properties.MemberForWriting("followed") =
        TypedSchema("boolean", "whether the plugin follows the resource");
    properties.MemberForWriting("eventsSent") = TypedSchema("integer", "the events the plugin sent on it");
    properties.MemberForWriting("uri") = TypedSchema("string", "the resource's URI");
    BindingProperty& eventType = properties.MemberForWriting("eventType");
    eventType = TypedSchema("string", "the event delivered");
    eventType.MemberForWriting("enum").AppendElement().SetString(update ? "Update" : "Delete");
    BindingProperty& required = answer.MemberForWriting("required");
    for (const char* name : {"followed", "eventsSent", "uri", "eventType"}) {
        required.AppendElement().SetString(name);
    }
    AddOk(responses, "the event was delivered", "application/json", std::move(answer));
    return operation;
}

// AddHostRoutes describes the routes the host serves beside the plugin's.
void AddHostRoutes(BindingProperty& paths) {
    BindingProperty index = HostOperation("GetIndex", "List the routes served here, or show the live page");
    SetText(
        index, "description",
        "A browser (Accept: text/html) gets the live page: the published queues and custom-game documents, "
        "the followed resources with their values to edit, and the plugin's log, kept current from "
        "/events. Other clients get the index as JSON.");
    BindingProperty& indexResponses = index.MemberForWriting("responses");
    AddOk(
        indexResponses, "the plugin's name, its routes and the host's own; or the live page",
        "application/json",
        TypedSchema("object", "{\"plugin\", \"routes\", \"events\", \"openapi\", \"resources\", \"page\"}"));
    indexResponses.MemberForWriting("200")
        .MemberForWriting("content")
        .MemberForWriting("text/html")
        .MemberForWriting("schema") =
        TypedSchema("string", "the live page, one HTML document that loads nothing from elsewhere");
    paths.MemberForWriting("/").MemberForWriting("get") = std::move(index);

    BindingProperty openApi = HostOperation("GetOpenApi", "Describe the API");
    AddOk(openApi.MemberForWriting("responses"), "this document", "application/json",
          TypedSchema("object", "an OpenAPI 3.1 document"));
    paths.MemberForWriting("/openapi.json").MemberForWriting("get") = std::move(openApi);

    BindingProperty events = HostOperation("GetEvents", "Stream the plugin's events");
    SetText(
        events, "description",
        "Server-Sent Events. A client starts with a hux-host.snapshot event ({\"plugin\", \"routes\", "
        "\"answers\", \"resources\", \"log\"}), then gets each event the plugin publishes, named as the "
        "plugin names it with its JSON payload as data, and the host's own: hux-host.log ({\"level\", "
        "\"text\"}) for each log line and hux-host.resource ({\"uri\", \"present\", \"value\", "
        "\"eventType\", \"followed\"}) for each delivered change. A client that reconnects with "
        "Last-Event-ID gets the events after it instead of a snapshot, while the last 256 still hold them.");
    BindingProperty& lastEventId = events.MemberForWriting("parameters").AppendElement();
    SetText(lastEventId, "name", "Last-Event-ID");
    SetText(lastEventId, "in", "header");
    SetText(lastEventId, "description", "the id of the last event the client received");
    SetType(lastEventId.MemberForWriting("schema"), "string");
    AddOk(events.MemberForWriting("responses"), "the event stream, open until the client or the host leaves",
          "text/event-stream", TypedSchema("string", "Server-Sent Events"));
    AddFailure(events.MemberForWriting("responses"), "503", "as many event streams as allowed are open");
    paths.MemberForWriting("/events").MemberForWriting("get") = std::move(events);

    BindingProperty& resource = paths.MemberForWriting("/resources/{uri}");
    resource.MemberForWriting("put") = DeliveryOperation(true);
    resource.MemberForWriting("delete") = DeliveryOperation(false);
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// AddArgument adds one argument of a function to its operation: a parameter, or the request body.
void AddArgument(BindingProperty& operation, const HostArgumentInfo& argument, std::string_view pathTemplate,
                 Schemas& schemas) {
    const std::string name = TextOf(argument.name);
    const std::string description = TextOf(argument.description);
    const uint32_t location = argument.location;
    const bool optional = argument.optional != 0;
    BindingProperty schema = SchemaOf(argument.type, schemas);
    if (location == HOST_ARGUMENT_BODY) {
        BindingProperty& body = operation.MemberForWriting("requestBody");
        body.MemberForWriting("required").SetBool(!optional);
        if (!description.empty()) {
            SetText(body, "description", description);
        }
        body.MemberForWriting("content") = JsonContent(std::move(schema));
        return;
    }
    const bool inPath =
        location == HOST_ARGUMENT_PATH ||
        (location == HOST_ARGUMENT_ANYWHERE && pathTemplate.find("{" + name + "}") != std::string_view::npos);
    std::string where = "query";
    if (inPath) {
        where = "path";
    } else if (location == HOST_ARGUMENT_HEADER) {
        where = "header";
    }
    BindingProperty& parameter = operation.MemberForWriting("parameters").AppendElement();
    SetText(parameter, "name", where == "header" ? LowerCase(name) : name);
    SetText(parameter, "in", where);
    parameter.MemberForWriting("required").SetBool(inPath || !optional);
    if (!description.empty()) {
        SetText(parameter, "description", description);
    }
    parameter.MemberForWriting("schema") = std::move(schema);
}

BindingProperty Operation(const HostEndpointRecord& record, std::string_view methodName,
                          std::string_view pathTemplate, Schemas& schemas) {
    BindingProperty operation;
    SetText(operation, "operationId", TextOf(record.name));
    BindingProperty result;
    result.MakeStructure();
    bool hasResult = false;
    const auto* entries = static_cast<const HostFunctionInfo*>(record.functionInfo);
    const uint32_t count = record.functionInfoCount;
    for (uint32_t i = 0; entries != nullptr && i < count; ++i) {
        const uint32_t key = entries[i].key;
        const void* data = entries[i].data;
        if (data == nullptr) {
            continue;
        }
        switch (key) {
            case HOST_FUNCTION_INFO_DESCRIPTION:
            case HOST_FUNCTION_INFO_HELP: {
                const std::string text = TextOf(static_cast<const char*>(data));
                if (!text.empty()) {
                    SetText(operation, key == HOST_FUNCTION_INFO_DESCRIPTION ? "summary" : "description",
                            text);
                }
                break;
            }
            case HOST_FUNCTION_INFO_RETURNS: {
                const auto& returns = *static_cast<const HostTypeIdentifier*>(data);
                const uint32_t code = returns.code;
                if (code != HOST_TYPE_NONE) {
                    result = SchemaOf(returns, schemas);
                    hasResult = true;
                }
                break;
            }
            case HOST_FUNCTION_INFO_ARGUMENT:
                AddArgument(operation, *static_cast<const HostArgumentInfo*>(data), pathTemplate, schemas);
                break;
            case HOST_FUNCTION_INFO_TAG:
                operation.MemberForWriting("tags").AppendElement().SetString(
                    TextOf(static_cast<const char*>(data)));
                break;
            default:
                break;  // the namespace, and keys this host does not know
        }
    }
    if (operation.FindMember("summary") == nullptr) {
        SetText(operation, "summary", std::string(methodName) + " " + std::string(pathTemplate));
    }
    BindingProperty& responses = operation.MemberForWriting("responses");
    BindingProperty& ok = responses.MemberForWriting("200");
    SetText(ok, "description", "the plugin's answer");
    if (hasResult) {
        ok.MemberForWriting("content") = JsonContent(std::move(result));
    }
    AddFailures(responses);
    AddFailure(responses, "default", "another failure, with the status the plugin answered");
    return operation;
}

// Nullable lets schema also be null: an optional member is written as null when it holds nothing.
BindingProperty Nullable(BindingProperty schema) {
    if (const BindingProperty* type = schema.FindMember("type");
        type != nullptr && type->Kind() == Brix::BindingKind::String) {
        BindingProperty types;
        types.AppendElement().SetString(type->AsString());
        types.AppendElement().SetString("null");
        schema.MemberForWriting("type") = std::move(types);
        return schema;
    }
    BindingProperty either;
    BindingProperty& choices = either.MemberForWriting("anyOf");
    choices.AppendElement() = std::move(schema);
    SetType(choices.AppendElement(), "null");
    return either;
}

BindingProperty TypeSchema(const HostTypeInfo& type, Schemas& schemas) {
    BindingProperty schema;
    const std::string description = TextOf(type.description);
    if (!description.empty()) {
        SetText(schema, "description", description);
    }
    const uint32_t kind = type.kind;
    const uint32_t memberCount = type.memberCount;
    if (kind == HOST_TYPE_INFO_ENUM) {
        SetType(schema, "string");
        BindingProperty& names = schema.MemberForWriting("enum");
        names.MakeCollection();
        const auto* enumerators = static_cast<const HostEnumeratorInfo*>(type.members);
        for (uint32_t i = 0; enumerators != nullptr && i < memberCount; ++i) {
            names.AppendElement().SetString(TextOf(enumerators[i].name));
        }
        return schema;
    }
    SetType(schema, "object");
    BindingProperty& properties = schema.MemberForWriting("properties");
    properties.MakeStructure();
    BindingProperty required;
    const auto* fields = static_cast<const HostFieldInfo*>(type.members);
    for (uint32_t i = 0; fields != nullptr && i < memberCount; ++i) {
        const std::string name = TextOf(fields[i].name);
        const uint32_t flags = fields[i].flags;
        const bool optional = fields[i].optional != 0;
        BindingProperty& property = properties.MemberForWriting(name);
        property = SchemaOf(fields[i].type, schemas);
        if (optional) {
            property = Nullable(std::move(property));
        } else if ((flags & HOST_FIELD_OMIT_WHEN_DEFAULT) == 0) {
            required.AppendElement().SetString(name);
        }
        const std::string fieldDescription = TextOf(fields[i].description);
        if (!fieldDescription.empty()) {
            SetText(property, "description", fieldDescription);
        }
    }
    if (!required.IsEmpty()) {
        schema.MemberForWriting("required") = std::move(required);
    }
    return schema;
}

}  // namespace

std::string SchemaName(std::string_view registeredName) {
    std::string name(registeredName);
    for (char& c : name) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                             c == '.' || c == '-' || c == '_';
        if (!allowed) {
            c = '_';
        }
    }
    return name;
}

BindingProperty RenderOpenApi(const HostEndpointTable& table, const ApiInfo& info) {
    const auto* types = static_cast<const HostTypeInfo*>(table.types);
    const uint32_t typeCount = table.typeCount;
    Schemas schemas;
    for (uint32_t i = 0; types != nullptr && i < typeCount; ++i) {
        schemas.registered.insert(TextOf(types[i].name));
    }

    BindingProperty document;
    SetText(document, "openapi", kOpenApiVersion);
    BindingProperty& about = document.MemberForWriting("info");
    SetText(about, "title", info.title);
    SetText(about, "version", info.version);
    SetText(document.MemberForWriting("servers").AppendElement(), "url", info.server);
    document.MemberForWriting("security").MakeCollection();

    BindingProperty& paths = document.MemberForWriting("paths");
    paths.MakeStructure();
    for (const HostEndpointRecord* record = table.endpoints; record != nullptr; record = record->next) {
        const std::string path = TextOf(record->path);
        const uint32_t method = record->method;
        const std::string_view methodName = Brix::MethodName(Brix::MethodFromHost(method));
        if (path.empty() || methodName.empty()) {
            continue;
        }
        paths.MemberForWriting(path).MemberForWriting(LowerCase(methodName)) =
            Operation(*record, methodName, path, schemas);
    }
    AddHostRoutes(paths);

    // The components describe the types the paths refer to, and the types those refer to in turn.
    BindingProperty& components = document.MemberForWriting("components").MemberForWriting("schemas");
    components.MakeStructure();
    components.MemberForWriting(kFailureName) = FailureSchema();
    Names described;
    for (bool grown = true; grown;) {
        grown = false;
        for (uint32_t i = 0; types != nullptr && i < typeCount; ++i) {
            const std::string name = TextOf(types[i].name);
            if (schemas.used.contains(name) && described.insert(name).second) {
                components.MemberForWriting(SchemaName(name)) = TypeSchema(types[i], schemas);
                grown = true;
            }
        }
    }
    return document;
}

}  // namespace HuxHost
