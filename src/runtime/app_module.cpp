// app_module.cpp - the framework base's own operations.
#include "runtime/app_module.h"

#include <string>

#include "logging/assertion.h"
#include "logging/logger.h"

namespace Brix {

AppModule::~AppModule() = default;

void AppModule::Subscribe(std::string_view /*uri*/) {}

void AppModule::Unsubscribe(std::string_view /*uri*/) {}

void AppModule::Shutdown() {}

void AppModule::YieldTurn() {
    BeginWait("Wait: yield", 0);
    Yield();
    EndWait();
}

void AppModule::BrokenFuture(const std::future_error& error) noexcept {
    try {
        const std::string message = FormatMessage("Caught std::future_error in AppModule::Await: (%1) %2",
                                                  error.code().value(), error.what());
        Log(LogLevel::Error, kPluginLogGroup, "%s", message.c_str());
    } catch (...) {
        // The stop below is what matters; the message is a courtesy.
    }
    FatalStop(kFatalBrokenFuture);
}

}  // namespace Brix
