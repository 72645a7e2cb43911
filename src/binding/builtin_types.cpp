// builtin_types.cpp - registration of the framework's built-in types.
#include "binding/builtin_types.h"

#include "binding/type_builder.h"
#include "binding/type_registry.h"

namespace Brix {

namespace {

constexpr std::string_view kBuiltinNamespace = "$builtin";
constexpr std::string_view kHelpTag = "help";
constexpr std::string_view kAsyncTag = "async";

void RegisterHelpTypes(TypeRegistry& registry) {
    Register<BindingHelpFormat>(registry, "BindingHelpFormat")
        .Value("Full", BindingHelpFormat::Full, "Native help format")
        .Value("Epytext", BindingHelpFormat::Epytext, "Python epytext format")
        .Description("Help format for binding functions and types.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullTypeIdentifier>(registry, "BindingFullTypeIdentifier")
        .Field("type", &BindingFullTypeIdentifier::type)
        .Field("elementType", &BindingFullTypeIdentifier::elementType)
        .Description("Describes the type of a value.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullArgumentHelp>(registry, "BindingFullArgumentHelp")
        .Field("name", &BindingFullArgumentHelp::name)
        .Field("description", &BindingFullArgumentHelp::description)
        .Field("type", &BindingFullArgumentHelp::type)
        .Field("optional", &BindingFullArgumentHelp::optional)
        .Description("Describes a function parameter.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullFunctionHelp>(registry, "BindingFullFunctionHelp")
        .Field("name", &BindingFullFunctionHelp::name)
        .Field("nameSpace", &BindingFullFunctionHelp::nameSpace)
        .Field("arguments", &BindingFullFunctionHelp::arguments)
        .Field("returns", &BindingFullFunctionHelp::returns)
        .Field("description", &BindingFullFunctionHelp::description)
        .Field("help", &BindingFullFunctionHelp::help)
        .Field("threadSafe", &BindingFullFunctionHelp::threadSafe)
        .Field("async", &BindingFullFunctionHelp::async)
        .Field("tags", &BindingFullFunctionHelp::tags)
        .Description("Describes a function.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullEnumValueHelp>(registry, "BindingFullEnumValueHelp")
        .Field("name", &BindingFullEnumValueHelp::name)
        .Field("description", &BindingFullEnumValueHelp::description)
        .Field("value", &BindingFullEnumValueHelp::value)
        .Description("Describes an enumerator.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullFieldHelp>(registry, "BindingFullFieldHelp")
        .Field("name", &BindingFullFieldHelp::name)
        .Field("description", &BindingFullFieldHelp::description)
        .Field("offset", &BindingFullFieldHelp::offset)
        .Field("type", &BindingFullFieldHelp::type)
        .Field("optional", &BindingFullFieldHelp::optional)
        .Description("Describes a member of a struct.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullTypeHelp>(registry, "BindingFullTypeHelp")
        .Field("name", &BindingFullTypeHelp::name)
        .Field("nameSpace", &BindingFullTypeHelp::nameSpace)
        .Field("size", &BindingFullTypeHelp::size)
        .Field("description", &BindingFullTypeHelp::description)
        .Field("tags", &BindingFullTypeHelp::tags)
        .Field("fields", &BindingFullTypeHelp::fields)
        .Field("values", &BindingFullTypeHelp::values)
        .Description("Describes a struct or enum type.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullEventHelp>(registry, "BindingFullEventHelp")
        .Field("name", &BindingFullEventHelp::name)
        .Field("nameSpace", &BindingFullEventHelp::nameSpace)
        .Field("type", &BindingFullEventHelp::type)
        .Field("description", &BindingFullEventHelp::description)
        .Field("tags", &BindingFullEventHelp::tags)
        .Description("Describes an event.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);

    Register<BindingFullApiHelp>(registry, "BindingFullApiHelp")
        .Field("functions", &BindingFullApiHelp::functions)
        .Field("types", &BindingFullApiHelp::types)
        .Field("events", &BindingFullApiHelp::events)
        .Description("Describes the exposed native API.")
        .Namespace(kBuiltinNamespace)
        .Tag(kHelpTag);
}

void RegisterAsyncTypes(TypeRegistry& registry) {
    Register<BindingAsyncState>(registry, "BindingAsyncState")
        .Value("None", BindingAsyncState::None, "Invalid state")
        .Value("Running", BindingAsyncState::Running, "The operation is in flight")
        .Value("Cancelling", BindingAsyncState::Cancelling, "A request to cancel the operation has been made")
        .Value("Cancelled", BindingAsyncState::Cancelled, "The operation was cancelled")
        .Value("Succeeded", BindingAsyncState::Succeeded, "The operation completed successfully")
        .Value("Failed", BindingAsyncState::Failed, "The operation encountered an error")
        .Description("Possible states of an asynchronous operation.")
        .Namespace(kBuiltinNamespace)
        .Tag(kAsyncTag);

    Register<BindingGenericEvent>(registry, "BindingGenericEvent")
        .Field("data", &BindingGenericEvent::data, "Event data")
        .Description("Represents generic data for an event.")
        .Namespace(kBuiltinNamespace);

    Register<BindingCallbackEvent>(registry, "BindingCallbackEvent")
        .Field("id", &BindingCallbackEvent::id, "ID of the callback being invoked")
        .Field("parameters", &BindingCallbackEvent::parameters, "Callback parameters")
        .Description("Represents the parameters of a call to a provided callback.")
        .Namespace(kBuiltinNamespace);

    Register<BindingGenericAsyncEvent>(registry, "BindingGenericAsyncEvent")
        .Field("asyncToken", &BindingGenericAsyncEvent::asyncToken, "Asynchronous operation token")
        .Field("data", &BindingGenericAsyncEvent::data, "Event data")
        .Description("Represents generic data for an asynchronous event.")
        .Namespace(kBuiltinNamespace)
        .Tag(kAsyncTag);

    Register<BindingAsyncFailureEvent>(registry, "BindingAsyncFailureEvent")
        .Field("asyncToken", &BindingAsyncFailureEvent::asyncToken, "Asynchronous operation token")
        .Field("error", &BindingAsyncFailureEvent::error, "Error message")
        .Description("Represents a failed asynchronous operation.")
        .Namespace(kBuiltinNamespace)
        .Tag(kAsyncTag);

    Register<BindingAsyncCancelEvent>(registry, "BindingAsyncCancelEvent")
        .Field("asyncToken", &BindingAsyncCancelEvent::asyncToken, "Asynchronous operation token")
        .Description("Represents a cancelled asynchronous operation.")
        .Namespace(kBuiltinNamespace)
        .Tag(kAsyncTag);

    EventRecord callback;
    callback.name = "OnCallback";
    callback.nameSpace = std::string(kBuiltinNamespace);
    callback.description = "Fired when a callback is invoked.";
    callback.payload = {TypeCode::Struct, TypeCode::None, registry.Find<BindingCallbackEvent>()};
    registry.RegisterEvent(std::move(callback));
}

}  // namespace

void RegisterBuiltinTypes(TypeRegistry& registry) {
    RegisterHelpTypes(registry);
    RegisterAsyncTypes(registry);
}

}  // namespace Brix
