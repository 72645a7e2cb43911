// routes.h - typed registration of REST endpoints, one line per route:
//
//     Rest::Routes routes(Registry(), Tags());
//     routes.Get("/hux-game-queues/v1/queues", this, &GameQueuesPlugin::GetQueues);
//     routes.Get("/hux-game-queues/v1/queues/{id}", {"id"}, this, &GameQueuesPlugin::GetQueueById);
//     routes.Post("/things/{id}", {"id", Rest::Query("dryRun"), Rest::Body("thing")}, this, &Plugin::Update);
//
// A handler returns Brix::MaybeType<T>. Its parameters are bound, in order, to the names given: a
// plain name is a path parameter ("{id}" in the path), Query, Header, Body and Anywhere say where else
// a request gives it. Each argument is converted to the parameter's C++ type through the type
// registry before the call; the value of the result becomes the response body, and a failure's status
// and message become the response's status and error text. A parameter of type
// `const Rest::RequestContext&` receives the request's context and one of type
// `Rest::EndpointResponse&` the response itself (for status, headers, text or a stream); neither is
// named. The number of names must equal the number of bound parameters, checked at compile time.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "binding/api_records.h"
#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/field_traits.h"
#include "binding/maybe_type.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"
#include "rest/endpoint.h"
#include "rest/method_code.h"

namespace Brix::Rest {

// Parameter names one bound parameter of a handler and where a request gives it.
struct Parameter {
    // A plain name is a path parameter, so that a route's names read {"gameTypeConfigId", "mapId"}.
    Parameter(const char* pathName) noexcept  // NOLINT(google-explicit-constructor)
        : name(pathName) {}
    Parameter(std::string_view parameterName, ArgumentLocation where, std::string_view text = {}) noexcept
        : name(parameterName), location(where), description(text) {}

    std::string_view name;
    ArgumentLocation location = ArgumentLocation::Path;
    std::string_view description;
};

inline Parameter Path(std::string_view name, std::string_view description = {}) noexcept {
    return {name, ArgumentLocation::Path, description};
}
inline Parameter Query(std::string_view name, std::string_view description = {}) noexcept {
    return {name, ArgumentLocation::Query, description};
}
inline Parameter Header(std::string_view name, std::string_view description = {}) noexcept {
    return {name, ArgumentLocation::Header, description};
}
inline Parameter Body(std::string_view name, std::string_view description = {}) noexcept {
    return {name, ArgumentLocation::Body, description};
}
// Anywhere: a header, a path parameter or a query parameter.
inline Parameter Anywhere(std::string_view name, std::string_view description = {}) noexcept {
    return {name, ArgumentLocation::Any, description};
}

class Routes;

namespace Detail {

template <class P>
inline constexpr bool kIsContext = std::is_same_v<std::remove_cvref_t<P>, RequestContext>;
template <class P>
inline constexpr bool kIsResponse = std::is_same_v<std::remove_cvref_t<P>, EndpointResponse>;
// kIsBound: a parameter that a request's arguments fill.
template <class P>
inline constexpr bool kIsBound = !kIsContext<P> && !kIsResponse<P>;

template <class... P>
inline constexpr std::size_t kBoundCount = (std::size_t{0} + ... + (kIsBound<P> ? 1 : 0));

// BoundPositions gives each parameter its position among the bound ones.
template <class... P>
constexpr std::array<std::size_t, sizeof...(P)> BoundPositions() {
    std::array<std::size_t, sizeof...(P)> positions{};
    [[maybe_unused]] std::size_t next = 0;
    [[maybe_unused]] std::size_t at = 0;
    ((positions[at++] = next, next += kIsBound<P> ? 1 : 0), ...);
    return positions;
}

// Signature is the result and parameter list of a callable.
template <class F>
struct Signature : Signature<decltype(&F::operator())> {};
template <class C, class R, class... P>
struct Signature<R (C::*)(P...) const> {
    using Result = R;
    using Parameters = std::tuple<P...>;
};
template <class R, class... P>
struct Signature<R (*)(P...)> {
    using Result = R;
    using Parameters = std::tuple<P...>;
};

template <class R>
struct MaybeValue {
    static_assert(sizeof(R) == 0, "a route handler returns Brix::MaybeType<T>");
};
template <class T>
struct MaybeValue<MaybeType<T>> {
    using Type = T;
};

// NoStorage stands in for the context and response parameters, which are passed, not converted.
struct NoStorage {};
template <class P>
using Storage = std::conditional_t<kIsBound<P>, std::remove_cvref_t<P>, NoStorage>;

// kLeftEmpty: types whose native default stands for an argument the request did not give.
template <class T>
inline constexpr bool kLeftEmpty = Brix::Detail::IsOptional<T>::value || Brix::Detail::IsVector<T>::value ||
                                   Brix::Detail::IsTextMap<T>::value || std::is_same_v<T, BindingProperty>;

template <class P>
void ConvertArgument(ConversionStatus& status, Storage<P>& output, const Invocation& call,
                     const FunctionRecord& function, const TypeRegistry& registry, std::size_t position) {
    if constexpr (kIsBound<P>) {
        const BindingProperty& value = call.arguments[position];
        if (!status.Ok() || (value.IsEmpty() && kLeftEmpty<Storage<P>>)) {
            return;
        }
        ValueToNative(status, output, value, function.arguments[position].name, registry);
    }
}

template <class P>
decltype(auto) Pass(Storage<P>& storage, Invocation& call) {
    if constexpr (kIsContext<P>) {
        return (call.context);
    } else if constexpr (kIsResponse<P>) {
        return (call.response);
    } else {
        return static_cast<P&&>(storage);
    }
}

template <class T>
void Answer(EndpointResponse& response, MaybeType<T>& result, const TypeRegistry& registry) {
    if (!result.HasValue()) {
        response.result.Fail(result.Error().Message());
        if (result.Error().StatusCode() != 0) {
            response.statusCode = static_cast<uint32_t>(result.Error().StatusCode());
        }
        return;
    }
    if constexpr (!std::is_void_v<T>) {
        ConversionStatus converted;
        BindingProperty body;
        NativeToValue(converted, body, result.Value(), registry);
        if (!converted.Ok()) {
            // The handler's own answer does not convert: the plugin's fault, not the request's.
            response.result.Fail(converted.Message());
            response.statusCode = 500;
            return;
        }
        response.result.Value() = std::move(body);
    }
}

// TypedEndpoint calls a handler whose parameters are P and whose result is MaybeType<T>.
template <class F, class T, class... P>
class TypedEndpoint final : public Endpoint {
public:
    explicit TypedEndpoint(F function) : handler(std::move(function)) {}

    void Call(Invocation& call) const override { Invoke(call, std::index_sequence_for<P...>{}); }

private:
    template <std::size_t... I>
    void Invoke(Invocation& call, std::index_sequence<I...> /*indexes*/) const {
        [[maybe_unused]] constexpr auto kPositions = BoundPositions<P...>();
        const TypeRegistry& types = *Registry();
        [[maybe_unused]] const FunctionRecord& record = *Function();
        ConversionStatus status;
        std::tuple<Storage<P>...> values;
        (ConvertArgument<P>(status, std::get<I>(values), call, record, types, kPositions[I]), ...);
        if (!status.Ok()) {
            call.response.result.Fail(status.Message());
            return;
        }
        MaybeType<T> result = handler(Pass<P>(std::get<I>(values), call)...);
        Answer(call.response, result, types);
    }

    F handler;
};

template <class P>
void DeclareArgument(std::vector<ArgumentRecord>& arguments, std::span<const Parameter> parameters,
                     const TypeRegistry& registry) {
    if constexpr (kIsBound<P>) {
        using Native = std::remove_cvref_t<P>;
        const Parameter& parameter = parameters[arguments.size()];
        ArgumentRecord argument;
        argument.name = std::string(parameter.name);
        argument.description = std::string(parameter.description);
        argument.type = FieldTraits<Native>::Reference(registry);
        argument.optional = FieldTraits<Native>::kOptional;
        argument.location = parameter.location;
        arguments.push_back(std::move(argument));
    }
}

template <class T>
TypeReference ResultReference(const TypeRegistry& registry) {
    if constexpr (std::is_void_v<T>) {
        return {};
    } else {
        return FieldTraits<T>::Reference(registry);
    }
}

template <class Owner, class Class, class T, class... P>
auto BindMember(Owner* owner, MaybeType<T> (Class::*member)(P...)) {
    static_assert(std::is_base_of_v<Class, Owner>, "the handler is a member of the owner's class");
    return [owner, member](P... arguments) -> MaybeType<T> {
        return (owner->*member)(std::forward<P>(arguments)...);
    };
}
template <class Owner, class Class, class T, class... P>
auto BindMember(const Owner* owner, MaybeType<T> (Class::*member)(P...) const) {
    static_assert(std::is_base_of_v<Class, Owner>, "the handler is a member of the owner's class");
    return [owner, member](P... arguments) -> MaybeType<T> {
        return (owner->*member)(std::forward<P>(arguments)...);
    };
}

// MemberRoutes is one method's verb of Routes: it binds a member handler to its owner and adds it.
template <MethodCode Method>
class MemberRoutes {
public:
    explicit MemberRoutes(Routes& target) noexcept : routes(target) {}

    template <std::size_t N, class Owner, class Member>
    const FunctionRecord* operator()(std::string_view path, const Parameter (&parameters)[N], Owner* owner,
                                     Member member) const;
    template <class Owner, class Member>
    const FunctionRecord* operator()(std::string_view path, Owner* owner, Member member) const;

private:
    Routes& routes;
};

}  // namespace Detail

// Routes registers endpoints in a type registry, each with the given tags and namespace.
class Routes {
public:
    explicit Routes(TypeRegistry& target, std::vector<std::string> routeTags = {},
                    std::string routeNameSpace = {})
        : registry(target), tags(std::move(routeTags)), nameSpace(std::move(routeNameSpace)) {}
    // The verbs below refer to the object they belong to, so a Routes is neither copied nor moved.
    Routes(const Routes&) = delete;
    Routes& operator=(const Routes&) = delete;

    // Add registers handler (a function pointer or a lambda that is not generic) for method and path.
    // Answers the function record, or null when an endpoint of the same name exists already.
    template <std::size_t N, class Handler>
    const FunctionRecord* Add(MethodCode method, std::string_view path, const Parameter (&parameters)[N],
                              Handler handler) {
        return Register(method, path, std::span<const Parameter, N>(parameters), std::move(handler));
    }
    template <class Handler>
    const FunctionRecord* Add(MethodCode method, std::string_view path, Handler handler) {
        return Register(method, path, std::span<const Parameter, 0>(), std::move(handler));
    }

    // Get, Post, Put, Patch and Delete register a member handler of owner for their method, with or
    // without parameter names: routes.Get(path, owner, member) or routes.Get(path, {"id"}, owner, member).
    // NOLINTBEGIN(readability-identifier-naming): they are called like the member functions they stand for.
    const Detail::MemberRoutes<MethodCode::Get> Get{*this};
    const Detail::MemberRoutes<MethodCode::Post> Post{*this};
    const Detail::MemberRoutes<MethodCode::Put> Put{*this};
    const Detail::MemberRoutes<MethodCode::Patch> Patch{*this};
    const Detail::MemberRoutes<MethodCode::Delete> Delete{*this};
    // NOLINTEND(readability-identifier-naming)

private:
    template <std::size_t N, class Handler>
    const FunctionRecord* Register(MethodCode method, std::string_view path,
                                   std::span<const Parameter, N> parameters, Handler handler) {
        using Traits = Detail::Signature<Handler>;
        return RegisterWith<N>(method, path, parameters, std::move(handler),
                               static_cast<typename Traits::Result*>(nullptr),
                               static_cast<typename Traits::Parameters*>(nullptr));
    }

    template <std::size_t N, class Handler, class R, class... P>
    const FunctionRecord* RegisterWith(MethodCode method, std::string_view path,
                                       [[maybe_unused]] std::span<const Parameter, N> parameters,
                                       Handler handler, R* /*result*/, std::tuple<P...>* /*types*/) {
        static_assert(N == Detail::kBoundCount<P...>, "give one name per bound parameter of the handler");
        using T = typename Detail::MaybeValue<R>::Type;

        EndpointDeclaration declaration;
        declaration.method = method;
        declaration.path = std::string(path);
        declaration.nameSpace = nameSpace;
        declaration.tags = tags;
        (Detail::DeclareArgument<P>(declaration.arguments, parameters, registry), ...);
        declaration.returns = Detail::ResultReference<T>(registry);
        return RegisterEndpoint(
            registry, std::move(declaration),
            std::make_shared<Detail::TypedEndpoint<Handler, T, P...>>(std::move(handler)));
    }

    TypeRegistry& registry;
    std::vector<std::string> tags;
    std::string nameSpace;
};

template <MethodCode Method>
template <std::size_t N, class Owner, class Member>
const FunctionRecord* Detail::MemberRoutes<Method>::operator()(std::string_view path,
                                                               const Parameter (&parameters)[N], Owner* owner,
                                                               Member member) const {
    return routes.Add(Method, path, parameters, BindMember(owner, member));
}

template <MethodCode Method>
template <class Owner, class Member>
const FunctionRecord* Detail::MemberRoutes<Method>::operator()(std::string_view path, Owner* owner,
                                                               Member member) const {
    return routes.Add(Method, path, BindMember(owner, member));
}

}  // namespace Brix::Rest
