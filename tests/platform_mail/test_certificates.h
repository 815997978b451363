#pragma once
// Certificates for the TLS mail tests, made when first asked for (OpenSSL): a test CA and
// server certificates for the loopback server, in PEM.

#include <string>

namespace quillon::mailtest {

struct PemIdentity {
    std::string certificate;
    std::string key;
};

struct TestCertificates {
    std::string ca;          // the CA certificate, for CAFILE=
    PemIdentity server;      // issued by the CA for 127.0.0.1 and localhost
    PemIdentity other_name;  // issued by the CA for other.example only
    PemIdentity untrusted;   // for 127.0.0.1 and localhost, issued by a CA of the same name
                             // that nobody trusts
};

// Made once per test program (key generation takes a moment).
const TestCertificates& Certificates();

}  // namespace quillon::mailtest
