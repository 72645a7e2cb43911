// plugin_session.h - the real plugin on a development host: opened, started on a scenario, stopped.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "binding/maybe_type.h"
#include "dev_host.h"
#include "scenario.h"

namespace HuxHost {

// kPluginEntrySymbol is the one function the plugin library exports.
inline constexpr std::string_view kPluginEntrySymbol = "load_hux_game_queues";

// DefaultPluginPath is the plugin library where the build puts it beside the running program:
// ../lib/libhux-game-queues.so on Linux, hux-game-queues.dll in the same folder on Windows.
std::string DefaultPluginPath();

// HttpStatus is the status a host answers for a route's answer: the plugin's own status when it gave
// one (0 is none), otherwise 200 for an answer; a failure (an error text, or a body that could not be
// read) is 500 unless the plugin gave a failure status of its own.
uint32_t HttpStatus(const RouteAnswer& answer);

// Failed tells an answer that carries an error text or whose body could not be read.
inline bool Failed(const RouteAnswer& answer) {
    return answer.error.has_value() || !answer.bodyError.empty();
}

// FailureMessage is what a failed answer says: its error text, or why its body could not be read.
std::string FailureMessage(const RouteAnswer& answer);

// RoutePath is the path template and method of one endpoint record, copied out of the packed record.
struct RoutePath {
    std::string path;
    uint32_t method = 0;
};

// RoutePaths lists the records of the endpoint table the plugin put in block, in table order.
std::vector<RoutePath> RoutePaths(const HostLoadBlock& block);

// PluginSession is one plugin on one development host, used from one thread. With a watcher, a second
// instance of the same library is loaded first and never started: the allocation counters are the
// library's, shared by both instances, so the watcher still reads them after the plugin has stopped.
class PluginSession {
public:
    // Open loads the library at pluginPath and hands the plugin its load block. A library that cannot
    // be loaded, or a plugin that does not fill the load block, is a failure saying so.
    static Brix::MaybeType<std::unique_ptr<PluginSession>> Open(const std::string& pluginPath,
                                                                bool watchMemory);

    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    // Start scripts the host with scenario and starts the plugin; answers the plugin's answer.
    bool Start(const Scenario& scenario);
    bool Started() const noexcept { return started; }

    // Get offers a GET of url (path and query) to the plugin's endpoints.
    RouteAnswer Get(std::string_view url);

    // MemoryStats are the library's counters: read through the plugin while it runs, through the watcher
    // once it has stopped (all zero without one).
    MemoryStats Stats() const;

    // Stop stops the plugin, which destroys its instance; the endpoint table is gone with it.
    void Stop();

    DevHost& Host() noexcept { return *host; }
    const DevHost& Host() const noexcept { return *host; }
    const std::string& PluginPath() const noexcept { return pluginPath; }

private:
    PluginSession() = default;

    std::string pluginPath;
    std::unique_ptr<DevHost> watcher;
    std::unique_ptr<DevHost> host;
    bool started = false;
};

}  // namespace HuxHost
