// log_test_support.h - test helpers: a target that keeps what it is given, and a fresh quiet logger.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "logging/console_log_targets.h"
#include "logging/log_target.h"
#include "logging/logger.h"

namespace Brix {

// RecordingLogTarget: keeps every record written to it.
class RecordingLogTarget : public LogTarget {
public:
    explicit RecordingLogTarget(std::string name = "RecordingLogTarget", uint64_t include = 0,
                                uint64_t exclude = 0)
        : LogTarget(include, exclude), className(std::move(name)) {}
    ~RecordingLogTarget() override { LogTarget::Unregister(); }

    std::string_view ClassName() const override { return className; }
    void Write(const LogRecord& record) override { records.push_back(record); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        for (const LogRecord& record : records) {
            messages.push_back(record.message);
        }
        return messages;
    }

    std::vector<LogRecord> records;

private:
    std::string className;
};

// FreshLoggerTest: each test runs with its own logger, its built-in targets unregistered so nothing
// reaches the console.
class FreshLoggerTest : public testing::Test {
protected:
    void SetUp() override {
        LoggerControl::Acquire();
        LoggerControl::StdErrTarget()->Unregister();
        LoggerControl::DebuggerConsoleTarget()->Unregister();
    }
    void TearDown() override { LoggerControl::Release(); }
};

}  // namespace Brix
