// event_tracing_windows.cpp - Event Tracing for Windows through Advapi32.dll, loaded at run time.
#include <windows.h>

#include <evntprov.h>

#include <cstring>
#include <mutex>

#include "platform/event_tracing.h"
#include "platform/system_clock.h"

namespace Brix::Platform {

namespace {

using EventRegisterFunction = ULONG(WINAPI*)(LPCGUID, PENABLECALLBACK, PVOID, PREGHANDLE);
using EventWriteFunction = ULONG(WINAPI*)(REGHANDLE, PCEVENT_DESCRIPTOR, ULONG, PEVENT_DATA_DESCRIPTOR);
using EventUnregisterFunction = ULONG(WINAPI*)(REGHANDLE);

// kThreadNamingEvent is the second provider's event that names a thread: informational, keyword 1.
constexpr EVENT_DESCRIPTOR kThreadNamingEvent = {1, 0, 0, 4, 0, 0, 0x1};

// Provider is one registered provider and what its enable callback last recorded.
struct Provider {
    REGHANDLE handle = 0;
    const EVENT_DESCRIPTOR* events = nullptr;  // the provider's event descriptors
    std::size_t eventCount = 0;
    bool enabled = false;
    UCHAR level = 0;
    ULONGLONG anyKeyword = 0;
    ULONGLONG allKeyword = 0;

    // EventEnabled tells whether a session has asked for the event: its level is within the session's
    // (0 asks for all) and its keyword matches the any and all masks.
    bool EventEnabled(const EVENT_DESCRIPTOR& event) const noexcept {
        if (!enabled || (level != 0 && event.Level > level)) {
            return false;
        }
        return event.Keyword == 0 ||
               ((event.Keyword & anyKeyword) != 0 && (event.Keyword & allKeyword) == allKeyword);
    }
};

void NTAPI RecordEnable(LPCGUID /*source*/, ULONG isEnabled, UCHAR level, ULONGLONG anyKeyword,
                        ULONGLONG allKeyword, PEVENT_FILTER_DESCRIPTOR /*filter*/, PVOID context) {
    auto* provider = static_cast<Provider*>(context);
    provider->enabled = isEnabled != 0;
    provider->level = level;
    provider->anyKeyword = anyKeyword;
    provider->allKeyword = allKeyword;
}

GUID ToGuid(const TraceProviderId& id) noexcept {
    GUID guid{};
    guid.Data1 = id.data1;
    guid.Data2 = id.data2;
    guid.Data3 = id.data3;
    std::memcpy(guid.Data4, id.data4.data(), sizeof guid.Data4);
    return guid;
}

// Tracing is the process's registration; its destructor unregisters when the library is unloaded.
class Tracing {
public:
    ~Tracing() { Stop(); }

    EventTracingStatus Start() noexcept {
        std::lock_guard lock(mutex);
        if (started) {
            return status;
        }
        started = true;
        status.counterFrequency = PerformanceFrequency();
        library = LoadLibraryA("Advapi32.dll");
        if (library == nullptr) {
            return status;
        }
        registerFunction = Find<EventRegisterFunction>("EventRegister");
        writeFunction = Find<EventWriteFunction>("EventWrite");
        unregisterFunction = Find<EventUnregisterFunction>("EventUnregister");
        if (registerFunction == nullptr || writeFunction == nullptr || unregisterFunction == nullptr) {
            ReleaseLibrary();
            return status;
        }
        status.available = true;
        providers[1].events = &kThreadNamingEvent;
        providers[1].eventCount = 1;
        for (std::size_t i = 0; i < providers.size(); ++i) {
            const GUID id = ToGuid(kTraceProviders[i]);
            if (registerFunction(&id, &RecordEnable, &providers[i], &providers[i].handle) != ERROR_SUCCESS) {
                UnregisterAll();
                ReleaseLibrary();
                return status;
            }
            status.registered = i + 1;
        }
        status.announcedMainThread = AnnounceMainThread();
        return status;
    }

    void Stop() noexcept {
        std::lock_guard lock(mutex);
        UnregisterAll();
        ReleaseLibrary();
    }

private:
    // Find looks a function of the library up. GetProcAddress hands every function out as FARPROC; the
    // cast goes through the generic function type, which converts to any other.
    template <typename Function>
    Function Find(const char* name) const noexcept {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    }

    bool AnnounceMainThread() noexcept {
        Provider& naming = providers[1];
        if (!naming.EventEnabled(kThreadNamingEvent)) {
            return false;
        }
        ULONG threadId = GetCurrentThreadId();
        const char* name = kMainThreadName;
        std::array<EVENT_DATA_DESCRIPTOR, 2> data{};
        data[0].Ptr =
            reinterpret_cast<ULONGLONG>(&threadId);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
        data[0].Size = sizeof threadId;
        data[1].Ptr =
            reinterpret_cast<ULONGLONG>(name);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
        data[1].Size = static_cast<ULONG>(std::strlen(name) + 1);
        return writeFunction(naming.handle, &kThreadNamingEvent, static_cast<ULONG>(data.size()),
                             data.data()) == ERROR_SUCCESS;
    }

    void UnregisterAll() noexcept {
        for (std::size_t i = status.registered; i > 0; --i) {
            unregisterFunction(providers[i - 1].handle);
            providers[i - 1].handle = 0;
        }
        status.registered = 0;
    }

    void ReleaseLibrary() noexcept {
        if (library != nullptr) {
            FreeLibrary(library);
            library = nullptr;
        }
    }

    std::mutex mutex;
    bool started = false;
    EventTracingStatus status;
    HMODULE library = nullptr;
    EventRegisterFunction registerFunction = nullptr;
    EventWriteFunction writeFunction = nullptr;
    EventUnregisterFunction unregisterFunction = nullptr;
    std::array<Provider, kTraceProviders.size()> providers{};
};

Tracing& ProcessTracing() {
    static Tracing tracing;
    return tracing;
}

}  // namespace

EventTracingStatus StartEventTracing() noexcept {
    return ProcessTracing().Start();
}

void StopEventTracing() noexcept {
    ProcessTracing().Stop();
}

}  // namespace Brix::Platform
