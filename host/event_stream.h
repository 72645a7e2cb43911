// event_stream.h - the fan-out of the plugin's events to every Server-Sent Events client.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace HuxHost {

// EventMessage is one event as the clients receive it.
struct EventMessage {
    uint64_t id = 0;
    std::string event;  // the SSE event name: the name the plugin sent the event under
    std::string data;   // one line of JSON
};

// EventStream keeps the latest messages, numbered from 1, for up to readerLimit readers on any threads.
// On the wire a message's id is the stream's own random name and its number ("3f9a06c2-17"), so that a
// client reconnecting with the id of another stream (a server since restarted) is never taken for one
// that has seen this stream's messages.
// A reader takes a place with Join, remembers the number of the next message it wants and collects
// from there, and gives its place back with Leave; a reader that falls more than `kept` messages behind
// skips the ones dropped meanwhile and is told how many.
class EventStream {
public:
    static constexpr std::size_t kDefaultKept = 256;
    static constexpr std::size_t kDefaultReaderLimit = 128;

    explicit EventStream(std::size_t keep = kDefaultKept, std::size_t maxReaders = kDefaultReaderLimit);

    // Join takes a reader's place; false when all readerLimit places are taken.
    bool Join();
    // Leave gives back the place a Join took.
    void Leave();
    std::size_t ReaderLimit() const noexcept { return readerLimit; }

    // Publish adds a message and wakes the readers; after Close it does nothing.
    void Publish(std::string event, std::string data);

    // Next is the number the next published message will carry: where a new reader starts.
    uint64_t Next() const;

    // Resume answers whether lastEventId is an id of this stream after which every message is still kept
    // or yet to come, so that a reader that saw it can go on without a gap; next is then the number after.
    bool Resume(std::string_view lastEventId, uint64_t& next) const;

    // Collect moves the messages from `next` on into `out`, waiting up to timeout for the first one, and
    // advances next past them; `skipped` counts the messages dropped before they were read. Answers
    // false once the stream is closed.
    bool Collect(uint64_t& next, std::vector<EventMessage>& out, std::chrono::milliseconds timeout,
                 uint64_t& skipped);

    // Close ends the stream for every reader, waking those that wait.
    void Close();

    // Format is a message in the SSE wire form: "id: STREAM-N\nevent: NAME\ndata: JSON\n\n".
    std::string Format(const EventMessage& message) const;

private:
    const std::size_t kept;
    const std::size_t readerLimit;
    const std::string name;
    mutable std::mutex mutex;
    std::size_t readers = 0;
    std::condition_variable arrived;
    std::deque<EventMessage> messages;
    uint64_t nextId = 1;
    bool closed = false;
};

}  // namespace HuxHost
