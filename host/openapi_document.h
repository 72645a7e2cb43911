// openapi_document.h - an OpenAPI 3.1 description of the plugin's REST routes, rendered from the
// self-describing endpoint table the plugin hands over in its load block.
#pragma once

#include <string>
#include <string_view>

#include "abi/host_abi.h"
#include "binding/binding_property.h"

namespace HuxHost {

// ApiInfo is what the document says about the API as a whole.
struct ApiInfo {
    std::string title;    // the plugin's short name
    std::string version;  // the plugin's version
    std::string server;   // where the document is served from: "http://127.0.0.1:PORT", or "/"
};

// RenderOpenApi describes, with info.server as its one server and no security (`security: []`), the
// host's own routes (GET /, GET /openapi.json, GET /events, PUT and DELETE /resources/{uri}) and every
// endpoint record of table with a path and a REST method (1 to 7):
//   - paths: one operation per record under its path template and lower-case method, with the
//     record's name as operationId, its description as summary (the method and path without one), its
//     help as description, its tags, one parameter per argument
//     ("in" from the argument's location: path, query, header in lower case; an argument that may come
//     from anywhere is a path parameter when the template has a "{name}" group, a query parameter
//     otherwise), a request body for a body argument, a "200" answer with the schema of the result,
//     "400", "404", "500" and "default" answers with the failure object {"status", "message"}
//     (components.schemas.HostFailure);
//   - components.schemas: every registered struct and enum the paths refer to, directly or through
//     other types: a struct is an object with its members (an optional member may also be null; the
//     others are required unless they are left out at their default), an enum a string with its
//     enumerator names; each under its registered name with characters outside [A-Za-z0-9._-] turned
//     into "_".
// Types map as: bool -> boolean; integers -> integer with their width as format (and the range of the
// narrow and unsigned ones); float and double -> number; string -> string; blob -> Base64 string;
// object -> any value; vector -> array of its element; map -> object of its element; a registered
// struct or enum -> a reference to its schema.
Brix::BindingProperty RenderOpenApi(const HostEndpointTable& table, const ApiInfo& info);

// SchemaName is the component name under which a registered type is described.
std::string SchemaName(std::string_view registeredName);

}  // namespace HuxHost
