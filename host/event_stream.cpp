// event_stream.cpp - a bounded log of messages that readers follow at their own pace.
#include "event_stream.h"

#include <array>
#include <cstdio>
#include <random>

#include "text/decimal_text.h"

namespace HuxHost {

namespace {

// StreamName is eight random hex digits.
std::string StreamName() {
    std::random_device random;
    std::array<char, 9> text{};
    std::snprintf(text.data(), text.size(), "%08x", static_cast<unsigned>(random()));
    return text.data();
}

}  // namespace

EventStream::EventStream(std::size_t keep, std::size_t maxReaders)
    : kept(keep > 0 ? keep : 1), readerLimit(maxReaders), name(StreamName()) {}

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

bool EventStream::Resume(std::string_view lastEventId, uint64_t& next) const {
    if (!lastEventId.starts_with(name + "-")) {
        return false;
    }
    const Brix::Text::DecimalResult<uint64_t> read =
        Brix::Text::ParseDecimal<uint64_t>(lastEventId.substr(name.size() + 1), {});
    if (read.status != Brix::Text::DecimalStatus::Ok) {
        return false;
    }
    const uint64_t lastSeen = read.value;
    const std::lock_guard lock(mutex);
    // A number this stream never gave (another server's, or one to come) and one past the kept messages
    // both leave a gap that only a fresh start fills.
    const uint64_t oldest = messages.empty() ? nextId : messages.front().id;
    if (closed || lastSeen >= nextId || lastSeen + 1 < oldest) {
        return false;
    }
    next = lastSeen + 1;
    return true;
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

std::string EventStream::Format(const EventMessage& message) const {
    // A line break inside a field would end it early: the name keeps none, the data is one JSON line.
    std::string eventName = message.event;
    for (char& c : eventName) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    return "id: " + name + "-" + std::to_string(message.id) + "\nevent: " + eventName +
           "\ndata: " + message.data + "\n\n";
}

}  // namespace HuxHost
