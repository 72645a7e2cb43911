// plugin_thread.h - the one thread that calls the plugin while hux-host serves it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>

namespace HuxHost {

// PluginThread runs work, one piece at a time and in the order it was handed over, on a thread of its
// own. The plugin is single-threaded: everything that touches it (Load, Start, routes, deliveries,
// Stop) goes through Run, so that it is only ever called from this thread, whichever thread asked.
class PluginThread {
public:
    PluginThread();
    // The destructor lets the work already handed over finish, then ends the thread.
    ~PluginThread();
    PluginThread(const PluginThread&) = delete;
    PluginThread& operator=(const PluginThread&) = delete;

    // Run runs work on the plugin thread and answers its result once it is done; an exception thrown
    // by work comes back out of Run.
    template <class Work>
    std::invoke_result_t<Work&> Run(Work work) {
        // The task is shared with the queued call, so that neither side outlives what it uses.
        auto task = std::make_shared<std::packaged_task<std::invoke_result_t<Work&>()>>(std::move(work));
        auto result = task->get_future();
        Post([task] { (*task)(); });
        return result.get();
    }

private:
    void Post(std::function<void()> work);
    void Loop();

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> queue;
    bool ending = false;
    std::thread thread;
};

}  // namespace HuxHost
