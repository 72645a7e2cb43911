// lcds_invoke.cpp - the LCDS request and the checks of its answer.
#include "runtime/lcds_invoke.h"

#include <string>

#include "codecs/json_writer.h"

namespace Brix::Bridge {

// The analyzer loses track of the conversions the parameters' initializer list copies and reports
// them as leaked when the function returns.
// NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
MaybeType<PluginLcdsResponse> LcdsRequest(const HostLink& link, std::string_view destination,
                                          std::string_view method,
                                          std::span<const BindingProperty> arguments) {
    BindingProperty list;
    list.MakeCollection();
    list.ReserveElements(arguments.size());
    for (const BindingProperty& argument : arguments) {
        list.AppendElement() = argument;
    }
    const RequestParameters parameters{
        RequestParameter::Positional(std::string(destination)),
        RequestParameter::Positional(std::string(method)),
        RequestParameter::Positional(std::move(list)),
    };
    return TypedRequest<PluginLcdsResponse>(link, MethodCode::Post, kLcdsInvokeUrl, parameters);
}
// NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)

std::optional<Failure> LcdsTypeMismatch(const WireClassNames& wireClasses, uint32_t typeId,
                                        const PluginLcdsResponse& answer, std::string_view destination,
                                        std::string_view method) {
    if (answer.body.IsEmpty()) {
        return std::nullopt;
    }
    const std::string* expected = wireClasses.FindByTypeId(typeId);
    if (expected == nullptr || *expected == answer.typeName) {
        return std::nullopt;
    }
    return Failure::Format(kLcdsWrongType, {{"expected", *expected},
                                            {"destination", std::string(destination)},
                                            {"method", std::string(method)},
                                            {"actual", answer.typeName}});
}

Failure LcdsConversionFailure(std::string_view typeName, const BindingProperty& body,
                              const TypeRegistry& registry) {
    return Failure::Format(kLcdsNotConverted,
                           {{"name", std::string(typeName)}, {"json", Json::Write(body, &registry)}});
}

}  // namespace Brix::Bridge
