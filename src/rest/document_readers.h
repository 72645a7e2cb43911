// document_readers.h - the document readers that decode arguments and bodies.
#pragma once

#include <cstddef>
#include <string_view>

#include "binding/conversion_status.h"

namespace Brix::Rest {

ConversionStatus ReadJsonDocument(std::string_view text);

// ReadMessagePackDocument reads one MessagePack value; consumed receives the bytes it used.
ConversionStatus ReadMessagePackDocument(std::string_view bytes, std::size_t* consumed);

ConversionStatus ReadYamlDocument(std::string_view text);

}  // namespace Brix::Rest
