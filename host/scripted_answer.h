// scripted_answer.h - how the development host answers one request, and the response blocks it fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "binding/binding_property.h"

namespace HuxHost {

// StreamScript serves a body in pieces: each read call gets the next size of `chunks` (the rest of the
// text once the list runs out), cut to the reader's buffer, and "more" is cleared with the last byte.
struct StreamScript {
    std::string text;
    std::vector<uint32_t> chunks;
    uint32_t expectedSize = 0;  // the reservation hint put in the response
    int failAtRead = -1;        // this read call (from 0) answers 0
    int overstateAtRead = -1;   // this read call claims one byte more than the buffer holds
};

// ScriptedAnswer is one answer: a value, or an error text with a status, or a streamed body.
struct ScriptedAnswer {
    Brix::BindingProperty body;
    uint32_t status = 200;
    std::optional<std::string> error;
    std::optional<StreamScript> stream;
    // When set, the body goes out as an empty cell of this kind instead (a kind the plugin must refuse).
    uint32_t bodyKind = 0;

    static ScriptedAnswer Value(Brix::BindingProperty value);
    // Json answers the value of a JSON text; a text that does not parse throws std::invalid_argument.
    static ScriptedAnswer Json(std::string_view text);
    static ScriptedAnswer Error(uint32_t status, std::string text);
    static ScriptedAnswer Stream(StreamScript script);
};

// ParseJson is the value of a JSON text; a text that does not parse throws std::invalid_argument.
Brix::BindingProperty ParseJson(std::string_view text);

// StreamRead is one call of a stream's read function, as the host saw it.
struct StreamRead {
    uint32_t capacity = 0;  // the buffer size the plugin offered
    uint32_t written = 0;   // the size the host answered
    uint8_t more = 0;       // the "more" byte after the call
};

// ResponseLedger follows the responses one host filled: the reads and closes of their streams and
// whether each was released through the host's release function.
struct ResponseLedger {
    std::size_t filled = 0;
    std::size_t released = 0;
    std::size_t closedStreams = 0;
    std::vector<StreamRead> streamReads;

    std::size_t Outstanding() const noexcept { return filled - released; }
};

// FillResponse writes answer into response, with the host's own release function, and counts it in
// ledger. Everything the block holds is the host's until the plugin calls that release function.
void FillResponse(HostResponse& response, const ScriptedAnswer& answer, ResponseLedger& ledger);

// ForgetResponses drops what the host keeps for the unreleased responses counted in ledger, when the
// host that owns the ledger goes away.
void ForgetResponses(const ResponseLedger& ledger);

// UnknownReleases counts release calls for blocks no host filled (or released twice), in this process.
std::size_t UnknownReleases() noexcept;

}  // namespace HuxHost
