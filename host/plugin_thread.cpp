// plugin_thread.cpp - the plugin thread's queue of work.
#include "plugin_thread.h"

namespace HuxHost {

PluginThread::PluginThread() : thread([this] { Loop(); }) {}

PluginThread::~PluginThread() {
    {
        const std::lock_guard lock(mutex);
        ending = true;
    }
    wake.notify_one();
    thread.join();
}

void PluginThread::Post(std::function<void()> work) {
    {
        const std::lock_guard lock(mutex);
        queue.push_back(std::move(work));
    }
    wake.notify_one();
}

void PluginThread::Loop() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return ending || !queue.empty(); });
            if (queue.empty()) {
                return;
            }
            work = std::move(queue.front());
            queue.pop_front();
        }
        work();
    }
}

}  // namespace HuxHost
