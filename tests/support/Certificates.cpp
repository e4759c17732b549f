#include "support/Certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace TestSupport {
namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertificatePtr = std::unique_ptr<X509, decltype(&X509_free)>;

KeyPtr NewKey(ThrowawayCertificates::Keys keys)
{
    KeyPtr key(keys == ThrowawayCertificates::Keys::Rsa ? EVP_RSA_gen(2048) : EVP_EC_gen("P-256"), EVP_PKEY_free);
    if (!key)
        throw std::runtime_error("no key");
    return key;
}

struct Validity {
    long fromSeconds;  // relative to now
    long toSeconds;
};

// A certificate for subject, signed by issuerKey (its own key when there is
// no issuer), with the given subjectAltName ("" for none) and validity.
CertificatePtr Make(const std::string& subject, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey,
                 const std::string& altNames, Validity validity, bool authority, long serial)
{
    CertificatePtr certificate(X509_new(), X509_free);
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), validity.fromSeconds);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), validity.toSeconds);
    X509_set_pubkey(certificate.get(), key);
    X509_NAME* name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(subject.c_str()),
                               -1, -1, 0);
    X509_set_issuer_name(certificate.get(), issuer ? X509_get_subject_name(issuer) : name);

    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer ? issuer : certificate.get(), certificate.get(), nullptr, nullptr, 0);
    const auto add = [&](int nid, const std::string& value) {
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
        if (!extension)
            throw std::runtime_error("bad certificate extension " + value);
        X509_add_ext(certificate.get(), extension, -1);
        X509_EXTENSION_free(extension);
    };
    add(NID_basic_constraints, authority ? "critical,CA:TRUE" : "CA:FALSE");
    if (authority)
        add(NID_key_usage, "critical,keyCertSign,cRLSign");
    if (!altNames.empty())
        add(NID_subject_alt_name, altNames);
    if (X509_sign(certificate.get(), issuerKey, EVP_sha256()) == 0)
        throw std::runtime_error("cannot sign " + subject);
    return certificate;
}

void Write(const std::string& path, X509* certificate)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file || PEM_write_X509(file, certificate) != 1)
        throw std::runtime_error("cannot write " + path);
    std::fclose(file);
}

void Write(const std::string& path, EVP_PKEY* key)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file || PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
        throw std::runtime_error("cannot write " + path);
    std::fclose(file);
}

}  // namespace

ThrowawayCertificates::ThrowawayCertificates(Keys keys)
{
    constexpr long day = 24 * 60 * 60;
    const Validity now{-day, 30 * day};
    const std::string localNames = "DNS:localhost,IP:127.0.0.1";

    KeyPtr authorityKey = NewKey(keys);
    CertificatePtr authority =
        Make("Vantrel Zip test CA", authorityKey.get(), nullptr, authorityKey.get(), "", now, true, 1);
    Write(Authority(), authority.get());

    struct Server {
        const char* name;
        std::string altNames;
        Validity validity;
        bool selfSigned;
    };
    long serial = 2;
    for (const Server& server : {Server{"trusted", localNames, now, false},
                                 Server{"expired", localNames, {-3 * day, -day}, false},
                                 Server{"other-host", "DNS:elsewhere.example", now, false},
                                 Server{"self-signed", localNames, now, true}}) {
        KeyPtr key = NewKey(keys);
        CertificatePtr certificate =
            server.selfSigned
                ? Make("localhost", key.get(), nullptr, key.get(), server.altNames, server.validity, false, serial++)
                : Make("localhost", key.get(), authority.get(), authorityKey.get(), server.altNames, server.validity,
                       false, serial++);
        Write(Certificate(server.name), certificate.get());
        Write(Key(server.name), key.get());
    }
}

}  // namespace TestSupport
