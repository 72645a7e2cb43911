// mixed_document.h - a generated document of mixed objects, the benchmarks' general-purpose input.
#pragma once

#include "binding/binding_property.h"

namespace Brix::Bench {

// MixedDocument is a document of about 1 MB of compact JSON made of every kind a text format
// carries: a structure holding a list of records, each a structure of unsigned, negative and
// fractional numbers, strings (some with quotes, backslashes, control characters and non-ASCII
// letters), booleans, nulls, lists of numbers and of strings, nested structures and lists of small
// structures, and now and then an empty list or structure or a chain of nested containers. It is
// drawn from a fixed-seed generator, so every run and every machine gets the same document. Every
// float has a fractional part and few significant digits, so that each reader of every form reads
// back exactly the double that was written, and every member name is plain.
BindingProperty MixedDocument();

}  // namespace Brix::Bench
