// peer_agreement.h - the check, before anything is timed, that every reader reads the same documents.
#pragma once

namespace Brix::Bench {

// CheckPeersAgree reads each input (bench_inputs.h) with every reader the benchmarks time, the
// plugin's and the peers', re-expresses each result as compact JSON through a generic value
// (peer_values.h) and compares it with the input's canonical text. It checks the same way that both
// JSON writers write texts of the same document, that the bare libyaml loop sees the number of events
// the document has, that the plugin's and the plain reader of the compressed answer give the queue
// list, and that nlohmann's record conversions give the plugin's records and the plugin's tree. The
// first disagreement ends the process with a message naming the reader and the input, since no
// comparison of times would mean anything then; agreement prints the inputs' sizes to the
// standard error.
void CheckPeersAgree();

}  // namespace Brix::Bench
