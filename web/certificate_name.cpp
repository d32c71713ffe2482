#include "web/certificate_name.h"

#include <gnutls/x509.h>

#include <array>
#include <memory>
#include <vector>

#include "base/platform/sockets.h"
#include "web/https_redirect.h"

namespace zeziza::web {

namespace {

struct CertificateFree {
  void operator()(gnutls_x509_crt_int* certificate) const { gnutls_x509_crt_deinit(certificate); }
};
using Certificate = std::unique_ptr<gnutls_x509_crt_int, CertificateFree>;

Certificate parse(const std::string& pem) {
  gnutls_x509_crt_t raw = nullptr;
  if (gnutls_x509_crt_init(&raw) < 0) return nullptr;
  Certificate certificate(raw);
  const gnutls_datum_t data{reinterpret_cast<unsigned char*>(const_cast<char*>(pem.data())),
                            static_cast<unsigned>(pem.size())};
  if (gnutls_x509_crt_import(raw, &data, GNUTLS_X509_FMT_PEM) < 0) return nullptr;
  return certificate;
}

std::optional<std::string> addressText(const std::vector<char>& bytes) {
  std::array<char, INET6_ADDRSTRLEN> text{};
  if (bytes.size() == 4 && inet_ntop(AF_INET, bytes.data(), text.data(), text.size())) {
    return std::string(text.data());
  }
  if (bytes.size() == 16 && inet_ntop(AF_INET6, bytes.data(), text.data(), text.size())) {
    return "[" + std::string(text.data()) + "]";
  }
  return std::nullopt;
}

struct AltNames {
  std::optional<std::string> dns;
  std::optional<std::string> address;
};

AltNames altNames(gnutls_x509_crt_t certificate) {
  AltNames names;
  for (unsigned i = 0;; ++i) {
    std::vector<char> value(256);
    size_t size = value.size();
    const int type =
        gnutls_x509_crt_get_subject_alt_name(certificate, i, value.data(), &size, nullptr);
    if (type == GNUTLS_E_REQUESTED_DATA_NOT_AVAILABLE) break;
    if (type < 0) continue;  // too long or unreadable: not a name a browser is sent to
    value.resize(size);
    if (type == GNUTLS_SAN_DNSNAME && !names.dns) {
      const std::string name(value.begin(), value.end());
      if (isPlainHostName(name)) names.dns = name;
    } else if (type == GNUTLS_SAN_IPADDRESS && !names.address) {
      names.address = addressText(value);
    }
  }
  return names;
}

std::optional<std::string> commonName(gnutls_x509_crt_t certificate) {
  std::vector<char> value(256);
  size_t size = value.size();
  if (gnutls_x509_crt_get_dn_by_oid(certificate, GNUTLS_OID_X520_COMMON_NAME, 0, 0, value.data(),
                                    &size) < 0) {
    return std::nullopt;
  }
  const std::string name(value.data(), size);
  return isPlainHostName(name) ? std::optional(name) : std::nullopt;
}

}  // namespace

std::optional<std::string> certificateHostName(const std::string& pem) {
  const auto certificate = parse(pem);
  if (!certificate) return std::nullopt;
  auto names = altNames(certificate.get());
  if (names.dns) return names.dns;
  if (names.address) return names.address;
  return commonName(certificate.get());
}

}  // namespace zeziza::web
