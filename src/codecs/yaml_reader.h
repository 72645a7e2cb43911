// yaml_reader.h - reading one YAML document into a generic value.
#pragma once

#include <cstddef>
#include <string_view>

#include "binding/conversion_status.h"

namespace Brix::Yaml {

// kMaxCopiedValues bounds the values that anchors and aliases may copy while one document is read:
// each anchored sequence or mapping is copied once when it ends, and each alias copies the value it
// names. A document of a few nested aliases ("billion laughs") would otherwise grow exponentially in
// the memory of the host process. No real request body comes near it.
inline constexpr std::size_t kMaxCopiedValues = 250'000;

// kMaxCopiedBytes bounds the bytes of strings, blobs and member names that anchors and aliases may copy
// while one document is read, counted as kMaxCopiedValues counts values: a thousand aliases of one
// large string would otherwise cost a thousand times its size.
inline constexpr std::size_t kMaxCopiedBytes = std::size_t{16} << 20;

// Read parses text, UTF-8, as YAML through libyaml's event parser and builds the value of its one
// document: sequences give collections, mappings structures, scalars are typed as StoreScalar says
// (yaml_scalar.h). A text without a document reads as ok and empty.
//
// Mapping keys must be untagged or !!str scalars; their text is the member name. A key given twice
// fills the same member again: a later scalar replaces the earlier value, a later sequence appends its
// elements to an earlier one, a later mapping merges its members into an earlier one. An alias takes a
// copy of the value its anchor had when the anchored node ended.
//
// Failures, with the line and column of the event's start counted from 1:
//   "Multi-document YAML is not supported." (a document starts when the value read so far is not empty)
//   "Invalid mapping key. Only string scalar keys are allowed. At line: <l> col: <c>" (a tagged scalar
//       or an alias as a key)
//   "Unexpected start of sequence. At line: <l> col: <c>", "Unexpected start of mapping. ..." (as a key)
//   "Undefined alias encountered: \"<name>\". At line: <l> col: <c>"
//   "Cannot deserialize cyclic aliases. Alias \"<name>\". At line: <l> col: <c>" (inside its own node)
//   "Duplicate occurrence of anchor \"<name>\". At line: <l> col: <c>"
//   NestingTooDeepText() + " At line: <l> col: <c>" for a sequence or mapping, or the value of an
//       alias, that would put more than kMaxNestingDepth containers inside each other
//   "Anchors and aliases copy more than <kMaxCopiedValues> values. At line: <l> col: <c>"
//   "Anchors and aliases copy more than <kMaxCopiedBytes> bytes. At line: <l> col: <c>"
//   the scalar messages of StoreScalar, without position.
// A parser error fails with "YAML parser error: <problem>. At line: <l> col: <c>", with libyaml's problem
// text and its problem mark as libyaml gives it, counted from 0.
ConversionStatus Read(std::string_view text);

}  // namespace Brix::Yaml
