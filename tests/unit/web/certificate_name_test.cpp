// The host a certificate names, for the redirect when none is configured.
#include "web/certificate_name.h"

#include <arpa/inet.h>
#include <gnutls/x509.h>
#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <vector>

namespace zeziza::web {
namespace {

struct AltName {
  gnutls_x509_subject_alt_name_t type;
  std::string value;  // a name, or an address in text
};

// A self-signed certificate (PEM) with `commonName` and `altNames`, made here.
std::string certificate(const std::string& commonName, const std::vector<AltName>& altNames) {
  gnutls_x509_privkey_t key = nullptr;
  gnutls_x509_crt_t crt = nullptr;
  gnutls_x509_privkey_init(&key);
  gnutls_x509_crt_init(&crt);
  const std::unique_ptr<gnutls_x509_privkey_int, void (*)(gnutls_x509_privkey_t)> keyOwner(
      key, gnutls_x509_privkey_deinit);
  const std::unique_ptr<gnutls_x509_crt_int, void (*)(gnutls_x509_crt_t)> crtOwner(
      crt, gnutls_x509_crt_deinit);
  EXPECT_EQ(gnutls_x509_privkey_generate(key, GNUTLS_PK_ECDSA,
                                         GNUTLS_CURVE_TO_BITS(GNUTLS_ECC_CURVE_SECP256R1), 0),
            0);
  gnutls_x509_crt_set_version(crt, 3);
  const unsigned char serial = 1;
  gnutls_x509_crt_set_serial(crt, &serial, 1);
  gnutls_x509_crt_set_activation_time(crt, std::time(nullptr));
  gnutls_x509_crt_set_expiration_time(crt, std::time(nullptr) + 86400);
  gnutls_x509_crt_set_key(crt, key);
  if (!commonName.empty()) {
    gnutls_x509_crt_set_dn_by_oid(crt, GNUTLS_OID_X520_COMMON_NAME, 0, commonName.data(),
                                  static_cast<unsigned>(commonName.size()));
  }
  for (const auto& [type, value] : altNames) {
    std::vector<unsigned char> data(value.begin(), value.end());
    if (type == GNUTLS_SAN_IPADDRESS) {
      const bool v6 = value.find(':') != std::string::npos;
      data.assign(v6 ? 16 : 4, 0);
      inet_pton(v6 ? AF_INET6 : AF_INET, value.c_str(), data.data());
    }
    gnutls_x509_crt_set_subject_alt_name(crt, type, data.data(), static_cast<unsigned>(data.size()),
                                         GNUTLS_FSAN_APPEND);
  }
  EXPECT_EQ(gnutls_x509_crt_sign2(crt, crt, key, GNUTLS_DIG_SHA256, 0), 0);
  std::vector<char> pem(8192);
  size_t size = pem.size();
  EXPECT_EQ(gnutls_x509_crt_export(crt, GNUTLS_X509_FMT_PEM, pem.data(), &size), 0);
  return std::string(pem.data(), size);
}

TEST(CertificateName, NamesTheHostABrowserIsSentTo) {
  struct Case {
    std::string label;
    std::string commonName;
    std::vector<AltName> altNames;
    std::optional<std::string> host;
  };
  const std::vector<Case> cases = {
      {"DNS name before address and common name",
       "Zeziza School",
       {{GNUTLS_SAN_IPADDRESS, "10.0.0.5"}, {GNUTLS_SAN_DNSNAME, "school.example"}},
       "school.example"},
      {"wildcard skipped",
       "",
       {{GNUTLS_SAN_DNSNAME, "*.example"}, {GNUTLS_SAN_IPADDRESS, "10.0.0.5"}},
       "10.0.0.5"},
      {"IPv6 bracketed", "", {{GNUTLS_SAN_IPADDRESS, "fd00::5"}}, "[fd00::5]"},
      {"common name alone", "exams.school.example", {}, "exams.school.example"},
      {"common name that is no host", "Zeziza School", {}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(certificateHostName(certificate(c.commonName, c.altNames)), c.host);
  }
  EXPECT_EQ(certificateHostName("-----BEGIN CERTIFICATE-----\nnot one\n"), std::nullopt);
  EXPECT_EQ(certificateHostName(""), std::nullopt);
}

}  // namespace
}  // namespace zeziza::web
