// libyaml_events.cpp - the bare libyaml event loop.
#include "bench/libyaml_events.h"

#include <yaml.h>

namespace Brix::Bench {

std::size_t ParseYamlEvents(std::string_view text) {
    yaml_parser_t parser;
    if (yaml_parser_initialize(&parser) == 0) {
        return 0;
    }
    yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
    yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    std::size_t events = 0;
    for (;;) {
        yaml_event_t event;
        if (yaml_parser_parse(&parser, &event) == 0) {
            events = 0;
            break;
        }
        ++events;
        const bool end = event.type == YAML_STREAM_END_EVENT;
        yaml_event_delete(&event);
        if (end) {
            break;
        }
    }
    yaml_parser_delete(&parser);
    return events;
}

}  // namespace Brix::Bench
