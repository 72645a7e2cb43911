// help_text.cpp - the texts of hux-host --help and hux-host COMMAND --help.
#include "help_text.h"

namespace HuxHost {

namespace {

constexpr std::string_view kGeneral = R"(usage: hux-host [COMMAND] [OPTIONS]

Loads the hux-game-queues plugin outside the game client, plays the host's part from a scenario
(the platform configuration, the login session, the matchmaker and the queue translations) and
shows what the plugin publishes.

commands:
  run      start the plugin on a scenario and report what it logged, published and answered
           (the default command)
  get      print the answer of one of the plugin's routes as JSON
  serve    serve the plugin's routes, its events and its API description over HTTP, with a live
           page for a browser at http://127.0.0.1:8765/
  help     show the help of a command

options of every command:
  --plugin PATH     the plugin library (default: where the build puts it beside hux-host,
                    ../lib/libhux-game-queues.so, or hux-game-queues.dll on Windows)
  --scenario FILE   a scenario file, JSON or YAML, of at most 64 MiB (default: the built-in scenario,
                    scenarios/default.json)
  -h, --help        show the help of the command

hux-host --version prints the versions of hux-host, the plugin and the plugin API.

exit status: 0 done; 1 the plugin could not be loaded, refused to start, or a route failed (get);
2 a wrong command line or scenario.

examples:
  hux-host run
  hux-host run --scenario scenarios/matchmaker-down.json
  hux-host get /hux-game-queues/v1/queues/420
  hux-host serve --port 8765
  hux-host serve --help
)";

constexpr std::string_view kRun =
    R"(usage: hux-host run [--scenario FILE] [--log-level LEVEL] [--quiet] [--json [--bodies]]
                    [--plugin PATH]

Loads and starts the plugin on the scenario, delivers the scenario's timeline of resource updates,
calls each of the plugin's routes, stops the plugin and prints, in this order:
  - what the plugin logged (level and message), of --log-level and worse; a line logged again at the
    same level is listed once, where it first came, with (xN) after it; the ERROR lines
    "Translations not found for queue id N." of queues named in the last list are counted in one
    note instead (the first list is built before the translations load);
  - each event it published (name, event type, resource and a short summary);
    of a long timeline, the first 1000 distinct log lines and events are listed and all are counted;
  - a table of the last published queue list (id, type, map, game mode, category, availability, name);
  - the answer of each route (status and a one-line summary);
  - the allocation statistics of the plugin library before and after Stop.
Exits with 1 when the plugin cannot be loaded or refuses to start, 2 for a malformed scenario.

  --scenario FILE     the scenario to play (default: the built-in one)
  --log-level LEVEL   the least level of the log lines listed: OKAY (every line), WARN, ERROR or
                      ALWAYS, in any case (default: WARN)
  --quiet             print the queue table and the routes' table only
  --json              print one JSON document with the same content instead; its "format" member
                      (1) is the version of its layout
  --bodies            with --json, add each route's answer body ("body")
  --plugin PATH       the plugin library to load

examples:
  hux-host run
  hux-host run --scenario scenarios/configuration-incomplete.yaml
  hux-host run --log-level OKAY
  hux-host run --quiet
  hux-host run --json --bodies > report.json
)";

constexpr std::string_view kGet = R"(usage: hux-host get PATH [--scenario FILE] [--plugin PATH]

Starts the plugin on the scenario, delivers the scenario's timeline, then offers a GET of PATH (with
its query, if any) to the plugin's routes and prints the answer as indented JSON. When the route
fails, prints its status and message to standard error and exits with 1.

  PATH              a route of the plugin, such as /hux-game-queues/v1/queues/420
  --scenario FILE   the scenario to play (default: the built-in one)
  --plugin PATH     the plugin library to load

examples:
  hux-host get /hux-game-queues/v1/queues
  hux-host get /hux-game-queues/v1/queues/type/RANKED_SOLO_5x5
  hux-host get /hux-game-queues/v1/game-type-config/18/map/11
  hux-host get /hux-game-queues/v1/custom --scenario scenarios/matchmaker-down.json
)";

constexpr std::string_view kServe =
    R"(usage: hux-host serve [--port N] [--scenario FILE] [--exit-after-seconds N] [--event-streams N]
                      [--plugin PATH]

Starts the plugin on the scenario (timeline included) and serves it over HTTP/1.1 on 127.0.0.1
until Ctrl-C, which stops the plugin and frees everything. The plugin is called from one thread
only; requests wait for each other. It answers:
  GET /hux-game-queues/v1/...      the plugin's routes, as JSON with the plugin's status; a failure
                                   is {"status": ..., "message": ...}
  GET /events                      Server-Sent Events: a snapshot of what the plugin publishes, then
                                   every event it publishes and the host's log and resource events;
                                   with Last-Event-ID, the events after it (of the last 256); past
                                   --event-streams clients at once, 503
  PUT /resources/<uri>             deliver a resource update with the JSON body as the new value: at
                                   most 8 MiB once decoded (413 past it), with a Content-Length or
                                   chunked (411 without either), gzip, deflate or br encoded or plain
  DELETE /resources/<uri>          deliver a resource delete
  GET /openapi.json                an OpenAPI 3.1 description of the plugin's routes and the host's own
  GET /                            in a browser, the live page: the queues, the custom games, the
                                   followed resources to edit and the log, kept current; otherwise a
                                   small index of the above as JSON
Every answer is whole (Range headers are not honoured) and closes its connection. The plugin's log lines
and each request are printed as they happen, control characters escaped as \xHH.

  --port N                the port (default 8765; 0 picks a free one, printed at start)
  --scenario FILE         the scenario to play (default: the built-in one)
  --exit-after-seconds N  stop by itself after N seconds, as Ctrl-C would (default: never)
  --event-streams N       the most event-stream clients served at once, each on a thread of its own,
                          from 1 to 512 (default: 128)
  --plugin PATH           the plugin library to load

examples:
  hux-host serve
  curl -s http://127.0.0.1:8765/hux-game-queues/v1/queues/420
  curl -N http://127.0.0.1:8765/events
  curl -X PUT -d '[420, 450]' \
      http://127.0.0.1:8765/resources/hux-platform-config/v1/namespaces/ClientSystemStates/enabledQueueIdsList
  curl -X DELETE http://127.0.0.1:8765/resources/hux-platform-config/v1/initial-configuration-complete
)";

}  // namespace

std::string_view HelpText(std::optional<Command> topic) {
    if (!topic) {
        return kGeneral;
    }
    switch (*topic) {
        case Command::Run:
            return kRun;
        case Command::Get:
            return kGet;
        case Command::Serve:
            return kServe;
        case Command::Help:
        case Command::Version:
            break;
    }
    return kGeneral;
}

}  // namespace HuxHost
