#pragma once
// Throwaway certificates for TLS tests, made when the test runs: a CA of
// their own and server certificates that pass or fail verification in one
// way each. Files: ca.pem, and NAME.pem with NAME.key for each server.

#include <string>

#include "support/Process.h"

namespace TestSupport {

class ThrowawayCertificates {
public:
    // ECDSA P-256 keys, or RSA 2048 for a verifier that mishandles some
    // ECDSA signatures (Wine's crypt32 now and then rejects a valid one).
    enum class Keys { Ec, Rsa };
    explicit ThrowawayCertificates(Keys keys = Keys::Ec);

    // The CA to trust (SSL_CERT_FILE).
    std::string Authority() const { return dir_.path() + "/ca.pem"; }
    // Server certificates: "trusted" (localhost and 127.0.0.1, valid now,
    // from the CA), "expired" (the same names, expired yesterday),
    // "other-host" (for elsewhere.example only), "self-signed" (names right,
    // from no known CA).
    std::string Certificate(const std::string& name) const { return dir_.path() + "/" + name + ".pem"; }
    std::string Key(const std::string& name) const { return dir_.path() + "/" + name + ".key"; }

private:
    TempDir dir_{"vantrelz-certificates"};
};

}  // namespace TestSupport
