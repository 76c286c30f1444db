#pragma once
// One request-response exchange with the update service, on the calling thread.

#include "update/http_cancel.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace zevik {

// Text written at the start of the response when nothing could be sent (count 0).
inline constexpr std::string_view kHttpNoLinkServer = "NO_LINK_SERVER";

// Sends verb ("GET" or "POST", any case) to url with the first bodyLength bytes of body and
// appends the answer to response, up to its size. Returns the number of answer bytes, or -1:
//   - other verb: last error 87; empty URL: 3; not an http(s) URL: 12006 (12005 unparsable);
//     bodyLength larger than body: 87;
//   - the answer does not fit: 122, and nothing is written past the end of response;
//   - the transfer failed after the request went out: 20000 + the libcurl code.
// When the request could not be sent at all (no connection, TLS refused) the count is 0,
// kHttpNoLinkServer is at the start of response and the last error is 20000 + the libcurl code.
// The environment's proxy variables apply; useNamedProxy adds the settings' proxy and its
// credentials. cancel (may be null) ends the exchange from another thread.
std::int32_t HttpRequest(std::string_view verb, std::string_view url, std::span<const std::uint8_t> body,
                         std::uint32_t bodyLength, std::span<char> response, bool useNamedProxy,
                         const HttpCancel* cancel = nullptr);

}  // namespace zevik
