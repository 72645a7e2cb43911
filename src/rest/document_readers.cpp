// document_readers.cpp - the document readers that decode arguments and bodies.
#include "rest/document_readers.h"

#include "codecs/json_reader.h"

namespace Brix::Rest {

ConversionStatus ReadJsonDocument(std::string_view text) {
    return Json::Read(text);
}

// The MessagePack and YAML readers are not part of the codecs yet: until they are, both formats are
// refused with a message that says so.
ConversionStatus ReadMessagePackDocument(std::string_view /*bytes*/, std::size_t* consumed) {
    if (consumed != nullptr) {
        *consumed = 0;
    }
    ConversionStatus status;
    status.Fail("MessagePack is not supported yet");
    return status;
}

ConversionStatus ReadYamlDocument(std::string_view /*text*/) {
    ConversionStatus status;
    status.Fail("YAML is not supported yet");
    return status;
}

}  // namespace Brix::Rest
