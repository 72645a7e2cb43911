// request_parameter.h - one parameter of an outgoing request, kept as a native value until it is sent.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"

namespace Brix {

// RequestParameter is a named or positional parameter of a request. Its native value is converted
// when the request is sent, with the module's type registry, so that enums travel as their names:
//     {RequestParameter::Named("queueId", 420),
//     RequestParameter::Positional(PluginResourceEventType::Delete)}
class RequestParameter {
public:
    template <class T>
    static RequestParameter Named(std::string name, T value) {
        return RequestParameter(std::move(name), false, std::move(value));
    }
    template <class T>
    static RequestParameter Positional(T value) {
        return RequestParameter({}, true, std::move(value));
    }

    const std::string& Name() const noexcept { return name; }
    bool IsPositional() const noexcept { return positional; }

    // Convert writes the parameter's value into output, or fails status with the converter's message.
    void Convert(ConversionStatus& status, BindingProperty& output, const TypeRegistry& registry) const {
        convert(status, output, registry);
    }

private:
    using Conversion = std::function<void(ConversionStatus&, BindingProperty&, const TypeRegistry&)>;

    template <class T>
    RequestParameter(std::string parameterName, bool isPositional, T value)
        : name(std::move(parameterName)),
          positional(isPositional),
          convert([value = std::move(value)](ConversionStatus& status, BindingProperty& output,
                                             const TypeRegistry& registry) {
              NativeToValue(status, output, value, registry);
          }) {}

    std::string name;
    bool positional = false;
    Conversion convert;
};

// RequestParameters are the parameters of one request, in order.
using RequestParameters = std::vector<RequestParameter>;

}  // namespace Brix
