/*
 * host_abi.h - the boundary between the game client (the host) and the hux-game-queues plugin.
 *
 * This is the one place where the blocks exchanged with the host are declared. Everything here is
 * plain C data: fixed-width fields, byte-sized booleans, no padding. Each block states who fills it
 * and who owns what it points to.
 *
 * Layout rule: the blocks were first laid out for a 32-bit target with 4-byte addresses. Every field
 * that holds an address (of a text, a block, an array, a function, the plugin object or a table) is
 * pointer-sized; every other field keeps its stated width; fields stay in order and all blocks are
 * packed. A 32-bit build is therefore byte for byte the original layout, and a 64-bit build widens
 * the address fields. Sizes and offsets for both are asserted at the end of this file.
 *
 * Direction of travel:
 *   - Plugin to host (Request, SendEvent): the plugin owns the request or event block and its
 *     parameter cells and releases them after the call. The host fills the response and may install
 *     `release`; when set, the plugin calls it after reading the response (for a stream, after the
 *     read ends).
 *   - Host to plugin (endpoint calls): the host owns the request; the plugin fills the response and
 *     installs its own `release`, which the host calls when it is done with the response.
 *   - Delivered events: the host owns the block; the plugin reads it during the callback only.
 *
 * Nothing ever crosses this boundary as a C++ exception: every function the plugin exposes catches
 * everything and turns it into its documented answer.
 */
#ifndef HUX_ABI_HOST_ABI_H
#define HUX_ABI_HOST_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* NOLINTBEGIN(modernize-use-using): a C header keeps C's typedefs. */

/* The declarations below are laid out as tables, one field a line with its offsets and owner. */
/* clang-format off */
#pragma pack(push, 1)

typedef struct HostApi HostApi;
typedef struct HostResponse HostResponse;
typedef struct HostRequest HostRequest;
typedef struct HostEvent HostEvent;

/* Kinds of a HostValue cell. */
enum {
    HOST_VALUE_NULL = 0,         /* no payload */
    HOST_VALUE_BOOL = 1,         /* payload.b, 0 or 1 */
    HOST_VALUE_SIGNED = 2,       /* payload.i */
    HOST_VALUE_UNSIGNED = 3,     /* payload.u */
    HOST_VALUE_FLOAT = 4,        /* payload.f */
    HOST_VALUE_TEXT = 5,         /* ref.data: NUL-terminated text, borrowed (never released by the receiver) */
    HOST_VALUE_OWNED_TEXT = 6,   /* ref.data: NUL-terminated copy, ref.length its byte length; released with the cell */
    HOST_VALUE_BYTES = 7,        /* ref.data, ref.length: borrowed bytes */
    HOST_VALUE_OWNED_BYTES = 8,  /* ref.data, ref.length: owned copy, released with the cell */
    HOST_VALUE_ARRAY = 9,        /* ref.data: block of HostValue, ref.length elements; owned by the cell */
    HOST_VALUE_OBJECT = 10       /* ref.data: block of HostValueMember, ref.length members; owned by the cell */
};

/* HostValue: the flat C form of a generic value. */
typedef struct HostValue {                    /* 32-bit: 12 bytes   64-bit: 16 bytes */
    uint32_t kind;                            /* 0: one of HOST_VALUE_* */
    union {
        uint8_t b;                            /* kind 1 */
        int64_t i;                            /* kind 2 */
        uint64_t u;                           /* kind 3 */
        double f;                             /* kind 4 */
        struct {
            void* data;                       /* kinds 5-10: address */
            uint32_t length;                  /* kinds 6-10: byte length or element count */
        } ref;
    } payload;                                /* 4 */
} HostValue;

/* HostValueMember: one named member of an object cell. */
typedef struct HostValueMember {              /* 17 / 25 */
    const char* name;                         /* 0: member name; owned by the cell when nameOwned is 1 */
    HostValue value;                          /* 4 / 8 */
    uint8_t nameOwned;                        /* 16 / 24: 1 when name is an owned copy */
} HostValueMember;

/* HostParam: one parameter of a request. */
typedef struct HostParam {                    /* 16 / 24 */
    const char* name;                         /* 0: parameter name; NULL for a positional parameter */
    HostValue value;                          /* 4 / 8 */
} HostParam;

typedef void (*HostEventCallback)(HostEvent* event);

/* HostEvent: a resource event, sent by the plugin or delivered by the host. */
struct HostEvent {                            /* 24 / 36 */
    const char* name;                         /* 0: event name (NUL-terminated) */
    HostValue payload;                        /* 4 / 8: owned by whoever filled the block */
    uint32_t flags;                           /* 16 / 24: 0 on every event the plugin sends */
    void* context;                            /* 20 / 28: on delivery the subscriber's context; NULL on send */
};

/* HostRequest: a request, outgoing (plugin to host) or delivered (host to plugin endpoint). */
struct HostRequest {                          /* 48 / 76 */
    uint32_t method;                          /* 0: method code, 1 DELETE .. 7 PUT, 8 function call */
    const char* url;                          /* 4: path with query, if any */
    HostParam* params;                        /* 8 / 12: owned by the sender */
    uint32_t paramCount;                      /* 12 / 20 */
    const void* endpoint;                     /* 16 / 24: endpoint record on delivery, NULL outgoing */
    const char* const* headers;               /* 20 / 32: 2*headerCount texts: name, value, ... */
    uint32_t headerCount;                     /* 24 / 40 */
    const char* contentType;                  /* 28 / 44: content type of the body; NULL outgoing */
    const void* body;                         /* 32 / 52: body text or bytes; NULL when none */
    uint32_t bodyLength;                      /* 36 / 60 */
    uint32_t hostHandle;                      /* 40 / 64: the host handle of the HostContext */
    const char* functionName;                 /* 44 / 68: function name for method 8, else NULL */
};

/* Streamed body: read fills buffer with up to *size bytes, writes the count back to *size and
 * clears *more after the last piece; it answers 0 on failure. */
typedef uint8_t (*HostStreamRead)(void* context, uint8_t* buffer, uint32_t* size, uint8_t* more);
typedef void (*HostStreamClose)(void* context);
typedef void (*HostResponseRelease)(HostResponse* response);

/* HostResponse: the answer to a request, filled by whoever serves it. */
struct HostResponse {                         /* 62 / 94 */
    HostValue body;                           /* 0: owned by the response */
    const char* error;                        /* 12 / 16: error text, NULL when there is no error */
    uint8_t errorOwned;                       /* 16 / 24: 1 when error is an owned copy */
    uint8_t flag;                             /* 17 / 25: copied from the handler's response */
    uint32_t mode;                            /* 18 / 26: copied from the handler's response, 0 to 3 */
    uint32_t status;                          /* 22 / 30: HTTP status, 0 when none */
    const char* text;                         /* 26 / 34: released with the response when not empty */
    const char** headers;                     /* 30 / 42: 2*headerCount texts, released with the response */
    uint32_t headerCount;                     /* 34 / 50 */
    HostStreamRead read;                      /* 38 / 54: NULL when the body is in the block */
    HostStreamClose close;                    /* 42 / 62: NULL when there is nothing to close */
    uint32_t expectedSize;                    /* 46 / 70: expected size of a streamed body (a hint) */
    uint32_t reserved;                        /* 50 / 74: not used by the plugin */
    void* streamContext;                      /* 54 / 78: passed to read and close */
    HostResponseRelease release;              /* 58 / 86: frees what the block owns, installed by the filler */
};

/* HostContext: handed to Start and kept by the plugin until Stop. */
typedef struct HostContext {                  /* 8 / 12 */
    const HostApi* api;                       /* 0: the host's function table */
    uint32_t hostHandle;                      /* 4 / 8: passed back in every subscription and request */
} HostContext;

/* HostApi: the host's services. Every function takes the table itself first. Results are not read,
 * except that request fills the response block. */
struct HostApi {
    /* 0 */ void (*request)(const HostApi* api, HostResponse* response, HostRequest* request);
    /* 1 */ void (*slot1)(const HostApi* api, uint32_t a, uint32_t b); /* not called by this plugin */
    /* 2 */ void (*sendEvent)(const HostApi* api, HostEvent* event);
    /* 3 */ void (*subscribe)(const HostApi* api, const char* eventName, uint32_t hostHandle,
                              HostEventCallback callback, void* context, uint32_t flag);
    /* 4 */ void (*unsubscribe)(const HostApi* api, const char* eventName, uint32_t hostHandle);
    /* 5 */ void (*slot5)(const HostApi* api, uint32_t a, uint32_t b, uint32_t c, double d,
                          uint32_t e); /* not called by this plugin */
    /* 6 */ void (*yield)(const HostApi* api);
    /* 7 */ void (*beginWait)(const HostApi* api, const char* label, uint32_t flag);
    /* 8 */ void (*endWait)(const HostApi* api);
    /* 9 */ void (*log)(const HostApi* api, int32_t level, const char* message);
};

/* PluginCallbacks: the plugin's table, handed to the host in the load block. Each callback takes the
 * plugin instance (HostLoadBlock.instance) first. */
typedef struct PluginCallbacks {
    /* Start: answers 1 when the plugin started, 0 when it did not (also for a NULL context). */
    uint8_t (*start)(void* instance, const HostContext* context);
    /* Stop: shuts the plugin down and destroys the instance. */
    void (*stop)(void* instance);
    /* GetMemoryStats: writes 14 32-bit words, six 64-bit counters low word first, then two zeros. */
    void (*getMemoryStats)(void* instance, uint32_t* words);
} PluginCallbacks;

/* The C entry point of every endpoint: fills response for request. */
typedef void (*HostEndpointEntry)(HostResponse* response, HostRequest* request);

/* HostEndpointRecord: one exposed operation. Owned by the plugin's endpoint table. */
typedef struct HostEndpointRecord {           /* 90 / 118 */
    const struct HostEndpointRecord* next;    /* 0: next record, NULL for the last */
    uint8_t reserved0[4];                     /* 4 / 8 */
    void* handlerContext;                     /* 8 / 12: passed back through HostRequest.endpoint */
    const char* name;                         /* 12 / 20: operation name, e.g. GetHuxGameQueuesV1QueuesById */
    uint8_t reserved1[45];                    /* 16 / 28 */
    HostEndpointEntry entry;                  /* 61 / 73: the plugin's request entry */
    uint8_t reserved2[4];                     /* 65 / 81 */
    const char* path;                         /* 69 / 85: path template */
    uint32_t method;                          /* 73 / 93: 1 to 8, else 0 */
    uint8_t functionFlag;                     /* 77 / 97 */
    const void* functionInfo;                 /* 78 / 98: entries describing the function */
    uint32_t functionInfoCount;               /* 82 / 106 */
    const char* functionName;                 /* 86 / 110: function name for method 8 */
} HostEndpointRecord;

/* HostEndpointTable: everything the plugin exposes. Owned by the plugin object. */
typedef struct HostEndpointTable {            /* 24 / 36 */
    const HostEndpointRecord* endpoints;      /* 0 */
    uint32_t endpointCount;                   /* 4 / 8 */
    const void* types;                        /* 8 / 12: registered type descriptions */
    uint32_t typeCount;                       /* 12 / 20 */
    const void* events;                       /* 16 / 24: registered event descriptions */
    uint32_t eventCount;                      /* 20 / 32 */
} HostEndpointTable;

/* HostLoadBlock: passed to load_hux_game_queues. Words 0 to 2 come in as the host's plugin API
 * version and go out as the plugin's; the rest is written by the plugin on success only. */
typedef struct HostLoadBlock {                /* 28 / 44 */
    uint32_t major;                           /* 0: in host's major, out 18 */
    uint32_t minor;                           /* 4: in host's minor, out 0 */
    uint32_t patch;                           /* 8: in host's patch, out 0 */
    const PluginCallbacks* callbacks;         /* 12: the plugin's callback table */
    void* instance;                           /* 16 / 20: the plugin object */
    const char* shortName;                    /* 20 / 28: "hux-game-queues", owned by the plugin */
    const HostEndpointTable* endpoints;       /* 24 / 36: owned by the plugin */
} HostLoadBlock;

#pragma pack(pop)

/* clang-format on */

/* The one exported symbol of the plugin. On an incompatible host version it ends the process and
 * leaves the block as the host wrote it. */
typedef void (*HostLoadFunction)(HostLoadBlock* block);

/* NOLINTEND(modernize-use-using) */

#ifdef __cplusplus
}
#endif

/* ---- layout checks ---------------------------------------------------------------------------- */

#ifdef __cplusplus
#define HUX_ABI_ASSERT(cond, what) static_assert(cond, what)
#else
#define HUX_ABI_ASSERT(cond, what) _Static_assert(cond, what)
#endif

/* HUX_ABI_LAYOUT(block, field, offset32, offset64): the field's offset on either target. */
#if UINTPTR_MAX == 0xFFFFFFFFu
#define HUX_ABI_AT(b32, b64) (b32)
#else
#define HUX_ABI_AT(b32, b64) (b64)
#endif
#define HUX_ABI_SIZE(type, b32, b64) HUX_ABI_ASSERT(sizeof(type) == HUX_ABI_AT(b32, b64), "size of " #type)
#define HUX_ABI_OFFSET(type, field, b32, b64) \
    HUX_ABI_ASSERT(offsetof(type, field) == HUX_ABI_AT(b32, b64), "offset of " #type "." #field)

HUX_ABI_SIZE(HostValue, 12, 16);
HUX_ABI_OFFSET(HostValue, kind, 0, 0);
HUX_ABI_OFFSET(HostValue, payload, 4, 4);

HUX_ABI_SIZE(HostValueMember, 17, 25);
HUX_ABI_OFFSET(HostValueMember, name, 0, 0);
HUX_ABI_OFFSET(HostValueMember, value, 4, 8);
HUX_ABI_OFFSET(HostValueMember, nameOwned, 16, 24);

HUX_ABI_SIZE(HostParam, 16, 24);
HUX_ABI_OFFSET(HostParam, name, 0, 0);
HUX_ABI_OFFSET(HostParam, value, 4, 8);

HUX_ABI_SIZE(HostEvent, 24, 36);
HUX_ABI_OFFSET(HostEvent, name, 0, 0);
HUX_ABI_OFFSET(HostEvent, payload, 4, 8);
HUX_ABI_OFFSET(HostEvent, flags, 16, 24);
HUX_ABI_OFFSET(HostEvent, context, 20, 28);

HUX_ABI_SIZE(HostRequest, 48, 76);
HUX_ABI_OFFSET(HostRequest, method, 0, 0);
HUX_ABI_OFFSET(HostRequest, url, 4, 4);
HUX_ABI_OFFSET(HostRequest, params, 8, 12);
HUX_ABI_OFFSET(HostRequest, paramCount, 12, 20);
HUX_ABI_OFFSET(HostRequest, endpoint, 16, 24);
HUX_ABI_OFFSET(HostRequest, headers, 20, 32);
HUX_ABI_OFFSET(HostRequest, headerCount, 24, 40);
HUX_ABI_OFFSET(HostRequest, contentType, 28, 44);
HUX_ABI_OFFSET(HostRequest, body, 32, 52);
HUX_ABI_OFFSET(HostRequest, bodyLength, 36, 60);
HUX_ABI_OFFSET(HostRequest, hostHandle, 40, 64);
HUX_ABI_OFFSET(HostRequest, functionName, 44, 68);

HUX_ABI_SIZE(HostResponse, 62, 94);
HUX_ABI_OFFSET(HostResponse, body, 0, 0);
HUX_ABI_OFFSET(HostResponse, error, 12, 16);
HUX_ABI_OFFSET(HostResponse, errorOwned, 16, 24);
HUX_ABI_OFFSET(HostResponse, flag, 17, 25);
HUX_ABI_OFFSET(HostResponse, mode, 18, 26);
HUX_ABI_OFFSET(HostResponse, status, 22, 30);
HUX_ABI_OFFSET(HostResponse, text, 26, 34);
HUX_ABI_OFFSET(HostResponse, headers, 30, 42);
HUX_ABI_OFFSET(HostResponse, headerCount, 34, 50);
HUX_ABI_OFFSET(HostResponse, read, 38, 54);
HUX_ABI_OFFSET(HostResponse, close, 42, 62);
HUX_ABI_OFFSET(HostResponse, expectedSize, 46, 70);
HUX_ABI_OFFSET(HostResponse, reserved, 50, 74);
HUX_ABI_OFFSET(HostResponse, streamContext, 54, 78);
HUX_ABI_OFFSET(HostResponse, release, 58, 86);

HUX_ABI_SIZE(HostContext, 8, 12);
HUX_ABI_OFFSET(HostContext, api, 0, 0);
HUX_ABI_OFFSET(HostContext, hostHandle, 4, 8);

HUX_ABI_SIZE(HostApi, 40, 80);
HUX_ABI_OFFSET(HostApi, request, 0, 0);
HUX_ABI_OFFSET(HostApi, sendEvent, 8, 16);
HUX_ABI_OFFSET(HostApi, subscribe, 12, 24);
HUX_ABI_OFFSET(HostApi, unsubscribe, 16, 32);
HUX_ABI_OFFSET(HostApi, yield, 24, 48);
HUX_ABI_OFFSET(HostApi, beginWait, 28, 56);
HUX_ABI_OFFSET(HostApi, endWait, 32, 64);
HUX_ABI_OFFSET(HostApi, log, 36, 72);

HUX_ABI_SIZE(PluginCallbacks, 12, 24);
HUX_ABI_OFFSET(PluginCallbacks, start, 0, 0);
HUX_ABI_OFFSET(PluginCallbacks, stop, 4, 8);
HUX_ABI_OFFSET(PluginCallbacks, getMemoryStats, 8, 16);

HUX_ABI_SIZE(HostEndpointRecord, 90, 118);
HUX_ABI_OFFSET(HostEndpointRecord, next, 0, 0);
HUX_ABI_OFFSET(HostEndpointRecord, handlerContext, 8, 12);
HUX_ABI_OFFSET(HostEndpointRecord, name, 12, 20);
HUX_ABI_OFFSET(HostEndpointRecord, entry, 61, 73);
HUX_ABI_OFFSET(HostEndpointRecord, path, 69, 85);
HUX_ABI_OFFSET(HostEndpointRecord, method, 73, 93);
HUX_ABI_OFFSET(HostEndpointRecord, functionFlag, 77, 97);
HUX_ABI_OFFSET(HostEndpointRecord, functionInfo, 78, 98);
HUX_ABI_OFFSET(HostEndpointRecord, functionInfoCount, 82, 106);
HUX_ABI_OFFSET(HostEndpointRecord, functionName, 86, 110);

HUX_ABI_SIZE(HostEndpointTable, 24, 36);
HUX_ABI_OFFSET(HostEndpointTable, endpoints, 0, 0);
HUX_ABI_OFFSET(HostEndpointTable, endpointCount, 4, 8);
HUX_ABI_OFFSET(HostEndpointTable, types, 8, 12);
HUX_ABI_OFFSET(HostEndpointTable, typeCount, 12, 20);
HUX_ABI_OFFSET(HostEndpointTable, events, 16, 24);
HUX_ABI_OFFSET(HostEndpointTable, eventCount, 20, 32);

HUX_ABI_SIZE(HostLoadBlock, 28, 44);
HUX_ABI_OFFSET(HostLoadBlock, major, 0, 0);
HUX_ABI_OFFSET(HostLoadBlock, minor, 4, 4);
HUX_ABI_OFFSET(HostLoadBlock, patch, 8, 8);
HUX_ABI_OFFSET(HostLoadBlock, callbacks, 12, 12);
HUX_ABI_OFFSET(HostLoadBlock, instance, 16, 20);
HUX_ABI_OFFSET(HostLoadBlock, shortName, 20, 28);
HUX_ABI_OFFSET(HostLoadBlock, endpoints, 24, 36);

#endif /* HUX_ABI_HOST_ABI_H */
