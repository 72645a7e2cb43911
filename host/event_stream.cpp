// event_stream.cpp - a bounded log of messages that readers follow at their own pace.
#include "event_stream.h"

namespace HuxHost {

bool EventStream::Join() {
    const std::lock_guard lock(mutex);
    if (readers >= readerLimit) {
        return false;
    }
    ++readers;
    return true;
}

void EventStream::Leave() {
    const std::lock_guard lock(mutex);
    if (readers > 0) {
        --readers;
    }
}

void EventStream::Publish(std::string event, std::string data) {
    {
        const std::lock_guard lock(mutex);
        if (closed) {
            return;
        }
        messages.push_back({nextId++, std::move(event), std::move(data)});
        while (messages.size() > kept) {
            messages.pop_front();
        }
    }
    arrived.notify_all();
}

uint64_t EventStream::Next() const {
    const std::lock_guard lock(mutex);
    return nextId;
}

bool EventStream::Collect(uint64_t& next, std::vector<EventMessage>& out, std::chrono::milliseconds timeout,
                          uint64_t& skipped) {
    std::unique_lock lock(mutex);
    arrived.wait_for(lock, timeout, [&] { return closed || next < nextId; });
    if (closed) {
        return false;
    }
    skipped = 0;
    if (!messages.empty() && next < messages.front().id) {
        skipped = messages.front().id - next;
        next = messages.front().id;
    }
    for (const EventMessage& message : messages) {
        if (message.id >= next) {
            out.push_back(message);
        }
    }
    next = nextId;
    return true;
}

void EventStream::Close() {
    {
        const std::lock_guard lock(mutex);
        closed = true;
        messages.clear();
    }
    arrived.notify_all();
}

std::string EventStream::Format(const EventMessage& message) {
    // A line break inside a field would end it early: the name keeps none, the data is one JSON line.
    std::string name = message.event;
    for (char& c : name) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    return "id: " + std::to_string(message.id) + "\nevent: " + name + "\ndata: " + message.data + "\n\n";
}

}  // namespace HuxHost
