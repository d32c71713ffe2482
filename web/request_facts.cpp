#include "web/request_facts.h"

#include "web/client_address.h"
#include "web/compression.h"
#include "web/hidden_fields.h"

namespace zeziza::web {

RequestFacts readRequestFacts(const HttpRequest& request, std::string_view trustedProxy) {
  RequestFacts facts;
  facts.clientAddress = clientAddress(request, trustedProxy);
  if (request.method == "POST") {
    if (const auto* id = request.form.get(field::kSession)) facts.sessionId = *id;
  }
  facts.acceptsGzip = takesGzip(request.header("accept-encoding"));
  return facts;
}

}  // namespace zeziza::web
