#include "test_certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace quillon::mailtest {

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
    void operator()(X509* cert) const { X509_free(cert); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("test certificates: ") + what);
}

Key NewKey() {
    Key key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "no key");
    return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    Check(ext != nullptr && X509_add_ext(cert, ext, -1) == 1, "extension");
    X509_EXTENSION_free(ext);
}

// A certificate for `key` named `common_name`, signed by `issuer_key` (issuer nullptr: by
// itself). `alt_names` (subjectAltName syntax) marks a server certificate; none, a CA.
Cert MakeCertificate(EVP_PKEY* key, const char* common_name, X509* issuer, EVP_PKEY* issuer_key,
                     const char* alt_names, long serial) {
    Cert cert(X509_new());
    Check(cert != nullptr, "no certificate");
    X509* c = cert.get();
    X509_set_version(c, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c), serial);
    X509_gmtime_adj(X509_getm_notBefore(c), -3600);
    X509_gmtime_adj(X509_getm_notAfter(c), 7L * 24 * 3600);
    X509_set_pubkey(c, key);
    X509_NAME* name = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Quillon tests"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
    X509* signer = issuer != nullptr ? issuer : c;
    X509_set_issuer_name(c, X509_get_subject_name(signer));
    AddExtension(c, signer, NID_subject_key_identifier, "hash");
    AddExtension(c, signer, NID_authority_key_identifier, "keyid:always");
    if (alt_names == nullptr) {
        AddExtension(c, signer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(c, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        AddExtension(c, signer, NID_basic_constraints, "critical,CA:FALSE");
        AddExtension(c, signer, NID_key_usage, "critical,digitalSignature");
        AddExtension(c, signer, NID_ext_key_usage, "serverAuth");
        AddExtension(c, signer, NID_subject_alt_name, alt_names);
    }
    Check(X509_sign(c, issuer_key != nullptr ? issuer_key : key, EVP_sha256()) > 0, "signing");
    return cert;
}

std::string Pem(const std::function<int(BIO*)>& write) {
    std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
    Check(bio != nullptr && write(bio.get()) == 1, "PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

PemIdentity Identity(X509* cert, EVP_PKEY* key) {
    return {Pem([cert](BIO* b) { return PEM_write_bio_X509(b, cert); }), Pem([key](BIO* b) {
                return PEM_write_bio_PrivateKey(b, key, nullptr, nullptr, 0, nullptr, nullptr);
            })};
}

TestCertificates Make() {
    constexpr const char* kLoopback = "DNS:localhost,IP:127.0.0.1";
    const Key ca_key = NewKey();
    const Cert ca = MakeCertificate(ca_key.get(), "Quillon test CA", nullptr, nullptr, nullptr, 1);
    TestCertificates result;
    result.ca = Identity(ca.get(), ca_key.get()).certificate;

    const Key server_key = NewKey();
    const Cert server =
        MakeCertificate(server_key.get(), "localhost", ca.get(), ca_key.get(), kLoopback, 2);
    result.server = Identity(server.get(), server_key.get());

    const Cert other = MakeCertificate(server_key.get(), "other.example", ca.get(), ca_key.get(),
                                       "DNS:other.example", 3);
    result.other_name = Identity(other.get(), server_key.get());

    // Its own CA, under the same name as the trusted one: only the signature tells them apart.
    const Key rogue_key = NewKey();
    const Cert rogue =
        MakeCertificate(rogue_key.get(), "Quillon test CA", nullptr, nullptr, nullptr, 4);
    const Cert untrusted =
        MakeCertificate(server_key.get(), "localhost", rogue.get(), rogue_key.get(), kLoopback, 5);
    result.untrusted = Identity(untrusted.get(), server_key.get());
    return result;
}

}  // namespace

const TestCertificates& Certificates() {
    static const TestCertificates certificates = Make();
    return certificates;
}

}  // namespace quillon::mailtest
