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

// EventStream keeps the latest messages, numbered from 1, for up to readerLimit readers on any threads.
// A reader takes a place with Join, remembers the number of the next message it wants and collects
// from there, and gives its place back with Leave; a reader that falls more than `kept` messages behind
// skips the ones dropped meanwhile and is told how many.
class EventStream {
public:
    static constexpr std::size_t kDefaultKept = 128;
    static constexpr std::size_t kDefaultReaderLimit = 128;

    explicit EventStream(std::size_t keep = kDefaultKept, std::size_t maxReaders = kDefaultReaderLimit)
        : kept(keep > 0 ? keep : 1), readerLimit(maxReaders) {}

    // Join takes a reader's place; false when all readerLimit places are taken.
    bool Join();
    // Leave gives back the place a Join took.
    void Leave();
    std::size_t ReaderLimit() const noexcept { return readerLimit; }

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
    const std::size_t readerLimit;
    mutable std::mutex mutex;
    std::size_t readers = 0;
    std::condition_variable arrived;
    std::deque<EventMessage> messages;
    uint64_t nextId = 1;
    bool closed = false;
};

}  // namespace HuxHost
