// app_module.cpp - the framework base's own operations.
#include "runtime/app_module.h"

namespace Brix {

AppModule::~AppModule() = default;

void AppModule::Subscribe(std::string_view /*uri*/) {}

void AppModule::Unsubscribe(std::string_view /*uri*/) {}

void AppModule::Shutdown() {}

}  // namespace Brix
