// api_records.h - the records of exposed functions and events kept by the type registry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "binding/type_code.h"

namespace Brix {

// ArgumentLocation says where in a request an argument may be given.
enum class ArgumentLocation : uint32_t {
    Any = 0,
    Query = 1,
    Path = 2,
    Header = 4,
    Body = 5,
};

// ArgumentRecord describes one argument of an exposed function.
struct ArgumentRecord {
    std::string name;
    uint32_t nameHash = 0;  // FNV-1a of name
    std::string description;
    TypeReference type;
    bool optional = false;
    ArgumentLocation location = ArgumentLocation::Any;
};

// FunctionHandler is what an exposed function runs; the REST layer derives its handlers from it.
class FunctionHandler {
public:
    virtual ~FunctionHandler() = default;
};

// FunctionRecord describes one exposed operation.
struct FunctionRecord {
    std::string name;
    std::string nameSpace;
    std::string description;
    std::string help;
    std::vector<ArgumentRecord> arguments;  // in order
    TypeReference returns;                  // code None when there is no result
    bool threadSafe = false;
    bool async = false;
    std::vector<std::string> tags;
    std::shared_ptr<FunctionHandler> handler;
};

// EventRecord describes one event a plugin sends or receives.
struct EventRecord {
    std::string name;
    std::string nameSpace;
    std::string description;
    TypeReference payload;
    std::vector<std::string> tags;
};

}  // namespace Brix
