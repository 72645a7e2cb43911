// event_stream.h - the fan-out of the plugin's events to every Server-Sent Events client.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace HuxHost {

// EventMessage is one event as the clients receive it.
struct EventMessage {
    uint64_t id = 0;
    std::string event;  // the SSE event name: the name the plugin sent the event under
    std::string data;   // one line of JSON
};

// EventStream keeps the latest messages, numbered from 1, for any number of readers on any threads.
// A reader remembers the number of the next message it wants and collects from there; a reader that
// falls more than `kept` messages behind skips the ones dropped meanwhile and is told how many.
class EventStream {
public:
    explicit EventStream(std::size_t keep = 128) : kept(keep > 0 ? keep : 1) {}

    // Publish adds a message and wakes the readers; after Close it does nothing.
    void Publish(std::string event, std::string data);

    // Next is the number the next published message will carry: where a new reader starts.
    uint64_t Next() const;

    // Collect moves the messages from `next` on into `out`, waiting up to timeout for the first one, and
    // advances next past them; `skipped` counts the messages dropped before they were read. Answers
    // false once the stream is closed.
    bool Collect(uint64_t& next, std::vector<EventMessage>& out, std::chrono::milliseconds timeout,
                 uint64_t& skipped);

    // Close ends the stream for every reader, waking those that wait.
    void Close();

    // Format is a message in the SSE wire form: "id: N\nevent: NAME\ndata: JSON\n\n".
    static std::string Format(const EventMessage& message);

private:
    const std::size_t kept;
    mutable std::mutex mutex;
    std::condition_variable arrived;
    std::deque<EventMessage> messages;
    uint64_t nextId = 1;
    bool closed = false;
};

}  // namespace HuxHost
