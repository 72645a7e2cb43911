/*
 * host_endpoint_info.h - the description of the plugin's API that comes with its endpoint table.
 *
 * HostEndpointTable (host_abi.h) carries three arrays. The first, the endpoint records, says how to
 * reach each exposed operation; the function-info entries of each record and the two further arrays
 * declared here say what the operations take and answer, so that a host can render a full
 * description of the plugin's API (an OpenAPI document, a help page) from the table alone:
 *
 *   HostEndpointTable.endpoints  HostEndpointRecord[endpointCount], one per exposed function, in
 *                                registration order, each linked to the next through `next`.
 *       .functionInfo            HostFunctionInfo[functionInfoCount]: tagged entries, below.
 *       .functionFlag            HOST_FUNCTION_* bits.
 *   HostEndpointTable.types      HostTypeInfo[typeCount], every registered struct and enum in
 *                                registration order (the framework's own, namespace "$builtin",
 *                                first).
 *   HostEndpointTable.events     HostEventInfo[eventCount], every registered event in registration
 *                                order.
 *
 * Types are referred to by name: a HostTypeIdentifier names a basic type ("int32", "string"), a
 * container ("vector", "map") with its element, or a registered struct or enum by the name under
 * which it appears in the types array. The type code says which of these it is.
 *
 * Everything here is owned by the plugin object, is written once during the load handshake and is
 * not changed afterwards; the host reads it until it stops the plugin. Every text is NUL-terminated
 * and never null (an absent text is the empty text); an array with a count of 0 may have a null
 * address.
 *
 * Layout rule: as in host_abi.h, address fields are pointer-sized and every other field keeps its
 * stated width, all blocks packed. On a 32-bit target a function-info entry is 12 bytes, a type record
 * 40 and an event record 28; both layouts are asserted at the end of this file.
 */
#ifndef HUX_ABI_HOST_ENDPOINT_INFO_H
#define HUX_ABI_HOST_ENDPOINT_INFO_H

#include <stddef.h>
#include <stdint.h>

#include "abi/host_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* NOLINTBEGIN(modernize-use-using): a C header keeps C's typedefs. */

/* clang-format off */
#pragma pack(push, 1)

/* Type codes of HostTypeIdentifier.code and .elementCode. */
enum {
    HOST_TYPE_NONE = 0,       /* no type: a function without a result */
    HOST_TYPE_BOOL = 1,
    HOST_TYPE_INT8 = 2,
    HOST_TYPE_UINT8 = 3,
    HOST_TYPE_INT16 = 4,
    HOST_TYPE_UINT16 = 5,
    HOST_TYPE_INT32 = 6,
    HOST_TYPE_UINT32 = 7,
    HOST_TYPE_INT64 = 8,
    HOST_TYPE_UINT64 = 9,
    HOST_TYPE_FLOAT = 10,
    HOST_TYPE_DOUBLE = 11,
    HOST_TYPE_STRING = 12,
    HOST_TYPE_OBJECT = 13,    /* any value */
    HOST_TYPE_BLOB = 14,      /* bytes */
    HOST_TYPE_VECTOR = 15,    /* an array of elementCode */
    HOST_TYPE_ENUM = 16,      /* type names a registered enum, or is "enum" when unregistered */
    HOST_TYPE_STRUCT = 17,    /* type names a registered struct, or is "struct" when unregistered */
    HOST_TYPE_CALLBACK = 18,
    HOST_TYPE_MAP = 19        /* an object keyed by text whose values are of elementCode */
};

/* HostTypeIdentifier: the type of an argument, a result, a field or an event payload. For a vector
 * or map, elementType and elementCode describe the element (elementType is then a basic type name or
 * a registered name); otherwise elementType is "" and elementCode 0. */
typedef struct HostTypeIdentifier {           /* 32-bit: 16 bytes   64-bit: 24 bytes */
    const char* type;                         /* 0: "int32", "vector", "HuxGameQueuesQueue", ... */
    const char* elementType;                  /* 4 / 8 */
    uint32_t code;                            /* 8 / 16: HOST_TYPE_* */
    uint32_t elementCode;                     /* 12 / 20: HOST_TYPE_* */
} HostTypeIdentifier;

/* Where a request may carry an argument (HostArgumentInfo.location). */
enum {
    HOST_ARGUMENT_ANYWHERE = 0,               /* header, path or query */
    HOST_ARGUMENT_QUERY = 1,
    HOST_ARGUMENT_PATH = 2,                   /* a "{name}" group of the path template */
    HOST_ARGUMENT_HEADER = 4,                 /* a header named as the argument in lower case */
    HOST_ARGUMENT_BODY = 5                    /* the request body, decoded by its content type */
};

/* HostArgumentInfo: one argument of a function. */
typedef struct HostArgumentInfo {             /* 29 / 45 */
    const char* name;                         /* 0 */
    const char* description;                  /* 4 / 8 */
    HostTypeIdentifier type;                  /* 8 / 16 */
    uint32_t location;                        /* 24 / 40: HOST_ARGUMENT_* */
    uint8_t optional;                         /* 28 / 44: 1 when the argument may be left out */
} HostArgumentInfo;

/* Keys of the function-info entries. A host skips keys it does not know. */
enum {
    HOST_FUNCTION_INFO_NAMESPACE = 1,         /* data: text */
    HOST_FUNCTION_INFO_DESCRIPTION = 2,       /* data: text */
    HOST_FUNCTION_INFO_HELP = 3,              /* data: text */
    HOST_FUNCTION_INFO_RETURNS = 4,           /* data: HostTypeIdentifier of the result (code 0: none) */
    HOST_FUNCTION_INFO_ARGUMENT = 5,          /* data: HostArgumentInfo; index: its position */
    HOST_FUNCTION_INFO_TAG = 6                /* data: text; index: its position among the tags */
};

/* HostFunctionInfo: one entry describing a function. A record's entries come in this order: one
 * each of NAMESPACE, DESCRIPTION, HELP and RETURNS, then one ARGUMENT per argument in argument order,
 * then one TAG per tag. index is 0 for the single keys. */
typedef struct HostFunctionInfo {             /* 12 / 16 */
    uint32_t key;                             /* 0: HOST_FUNCTION_INFO_* */
    const void* data;                         /* 4: what the key names */
    uint32_t index;                           /* 8 / 12 */
} HostFunctionInfo;

/* Bits of HostEndpointRecord.functionFlag. */
enum {
    HOST_FUNCTION_THREAD_SAFE = 1,            /* may be called on several threads at once */
    HOST_FUNCTION_ASYNC = 2                   /* answers through an asynchronous operation */
};

/* Bits of HostFieldInfo.flags. */
enum {
    HOST_FIELD_OMIT_WHEN_DEFAULT = 1,         /* left out of an answer while it holds its default */
    HOST_FIELD_REQUIRED = 2                   /* a value without this member is refused */
};

/* HostFieldInfo: one member of a registered struct, in the struct's member order. */
typedef struct HostFieldInfo {                /* 33 / 49 */
    const char* name;                         /* 0: the member's serialized name */
    const char* description;                  /* 4 / 8 */
    HostTypeIdentifier type;                  /* 8 / 16 */
    uint32_t offset;                          /* 24 / 40: offset inside the native record */
    uint32_t flags;                           /* 28 / 44: HOST_FIELD_* */
    uint8_t optional;                         /* 32 / 48: 1 when the member may be absent */
} HostFieldInfo;

/* HostEnumeratorInfo: one named value of a registered enum, in ascending number order. */
typedef struct HostEnumeratorInfo {           /* 12 / 20 */
    const char* name;                         /* 0: the name the wire uses */
    const char* description;                  /* 4 / 8 */
    int32_t value;                            /* 8 / 16 */
} HostEnumeratorInfo;

/* Kinds of HostTypeInfo. */
enum {
    HOST_TYPE_INFO_STRUCT = 1,                /* members: HostFieldInfo[memberCount] */
    HOST_TYPE_INFO_ENUM = 2                   /* members: HostEnumeratorInfo[memberCount] */
};

/* HostTypeInfo: one registered struct or enum. */
typedef struct HostTypeInfo {                 /* 40 / 60 */
    const char* name;                         /* 0: the registered full name */
    const char* nameSpace;                    /* 4 / 8: "$builtin" for the framework's own types */
    const char* description;                  /* 8 / 16 */
    uint32_t size;                            /* 12 / 24: native size in bytes */
    uint32_t kind;                            /* 16 / 28: HOST_TYPE_INFO_* */
    const void* members;                      /* 20 / 32: fields or enumerators, by kind */
    uint32_t memberCount;                     /* 24 / 40 */
    const char* const* tags;                  /* 28 / 44: tagCount texts */
    uint32_t tagCount;                        /* 32 / 52 */
    uint32_t id;                              /* 36 / 56: the static type id, fixed per build */
} HostTypeInfo;

/* HostEventInfo: one registered event. */
typedef struct HostEventInfo {                /* 28 / 48 */
    const char* name;                         /* 0: "OnJsonApiEvent", ... */
    const char* nameSpace;                    /* 4 / 8 */
    const char* description;                  /* 8 / 16 */
    const HostTypeIdentifier* payload;        /* 12 / 24: type of the event's payload */
    const char* const* tags;                  /* 16 / 32: tagCount texts */
    uint32_t tagCount;                        /* 20 / 40 */
    uint32_t reserved;                        /* 24 / 44: 0 */
} HostEventInfo;

#pragma pack(pop)
/* clang-format on */

/* NOLINTEND(modernize-use-using) */

#ifdef __cplusplus
}
#endif

/* ---- layout checks (the macros are those of host_abi.h) ---------------------------------------- */

HUX_ABI_SIZE(HostTypeIdentifier, 16, 24);
HUX_ABI_OFFSET(HostTypeIdentifier, type, 0, 0);
HUX_ABI_OFFSET(HostTypeIdentifier, elementType, 4, 8);
HUX_ABI_OFFSET(HostTypeIdentifier, code, 8, 16);
HUX_ABI_OFFSET(HostTypeIdentifier, elementCode, 12, 20);

HUX_ABI_SIZE(HostArgumentInfo, 29, 45);
HUX_ABI_OFFSET(HostArgumentInfo, name, 0, 0);
HUX_ABI_OFFSET(HostArgumentInfo, description, 4, 8);
HUX_ABI_OFFSET(HostArgumentInfo, type, 8, 16);
HUX_ABI_OFFSET(HostArgumentInfo, location, 24, 40);
HUX_ABI_OFFSET(HostArgumentInfo, optional, 28, 44);

HUX_ABI_SIZE(HostFunctionInfo, 12, 16);
HUX_ABI_OFFSET(HostFunctionInfo, key, 0, 0);
HUX_ABI_OFFSET(HostFunctionInfo, data, 4, 4);
HUX_ABI_OFFSET(HostFunctionInfo, index, 8, 12);

HUX_ABI_SIZE(HostFieldInfo, 33, 49);
HUX_ABI_OFFSET(HostFieldInfo, name, 0, 0);
HUX_ABI_OFFSET(HostFieldInfo, description, 4, 8);
HUX_ABI_OFFSET(HostFieldInfo, type, 8, 16);
HUX_ABI_OFFSET(HostFieldInfo, offset, 24, 40);
HUX_ABI_OFFSET(HostFieldInfo, flags, 28, 44);
HUX_ABI_OFFSET(HostFieldInfo, optional, 32, 48);

HUX_ABI_SIZE(HostEnumeratorInfo, 12, 20);
HUX_ABI_OFFSET(HostEnumeratorInfo, name, 0, 0);
HUX_ABI_OFFSET(HostEnumeratorInfo, description, 4, 8);
HUX_ABI_OFFSET(HostEnumeratorInfo, value, 8, 16);

HUX_ABI_SIZE(HostTypeInfo, 40, 60);
HUX_ABI_OFFSET(HostTypeInfo, name, 0, 0);
HUX_ABI_OFFSET(HostTypeInfo, nameSpace, 4, 8);
HUX_ABI_OFFSET(HostTypeInfo, description, 8, 16);
HUX_ABI_OFFSET(HostTypeInfo, size, 12, 24);
HUX_ABI_OFFSET(HostTypeInfo, kind, 16, 28);
HUX_ABI_OFFSET(HostTypeInfo, members, 20, 32);
HUX_ABI_OFFSET(HostTypeInfo, memberCount, 24, 40);
HUX_ABI_OFFSET(HostTypeInfo, tags, 28, 44);
HUX_ABI_OFFSET(HostTypeInfo, tagCount, 32, 52);
HUX_ABI_OFFSET(HostTypeInfo, id, 36, 56);

HUX_ABI_SIZE(HostEventInfo, 28, 48);
HUX_ABI_OFFSET(HostEventInfo, name, 0, 0);
HUX_ABI_OFFSET(HostEventInfo, nameSpace, 4, 8);
HUX_ABI_OFFSET(HostEventInfo, description, 8, 16);
HUX_ABI_OFFSET(HostEventInfo, payload, 12, 24);
HUX_ABI_OFFSET(HostEventInfo, tags, 16, 32);
HUX_ABI_OFFSET(HostEventInfo, tagCount, 20, 40);
HUX_ABI_OFFSET(HostEventInfo, reserved, 24, 44);

#endif /* HUX_ABI_HOST_ENDPOINT_INFO_H */
