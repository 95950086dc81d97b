// The web client of the data layer: HTTP GET over WinHTTP, blocking the calling thread.
#pragma once

#include "kova/CancelToken.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

// One client serves the whole run. Get blocks until a response arrives, a time-out
// expires or the Get is cancelled; the status of the last response stays readable
// afterwards. One Get at a time: the client is not shared by threads that fetch at once.
class HTTPWebClient {
public:
    HTTPWebClient() = default;
    ~HTTPWebClient();
    HTTPWebClient(const HTTPWebClient&) = delete;
    HTTPWebClient& operator=(const HTTPWebClient&) = delete;

    // Time-outs in seconds: connecting (name resolution and connect) and the
    // transfer (sending the request and each wait for response data, and the
    // whole response from the request on). Zero or less means no time-out.
    void SetupTimeout(int connectSeconds, int transferSeconds);
    // verifyHost 0 accepts a certificate issued for another host name;
    // verifyPeer false accepts an unknown issuer, an expired or misused certificate.
    // The two are independent; both default to full verification.
    void SetSSLVerify(int verifyHost, bool verifyPeer);
    // When allowed, a 4xx or 5xx response still counts as a response.
    void SetIgoneHTTPErrorCode(bool allow);

    // GET url (UTF-8; http or https; redirects are followed). True when a complete
    // response arrived; a 4xx/5xx response counts only when error codes are allowed.
    // False when nothing arrived (bad URL, refused, time-out): status 0, body empty.
    // False too when the body is cut short (connection lost, time-out, fewer bytes than
    // its Content-Length) or the code is an error that is not allowed: then the status
    // stays readable and body holds what arrived.
    // cancel, when given, lets another thread end the Get early: it returns promptly, and as a
    // time-out would. A token cancelled before the Get starts makes it return false at once.
    // With autoConvert the body becomes UTF-8: a byte-order mark decides first, then
    // the charset the response declares, else detection; without, it stays as received.
    bool Get(std::string_view url, std::string& body, bool autoConvert = true, CancelToken* cancel = nullptr);

    int GetRepoHTTPCode() const { return statusCode_; }
    const std::string& GetRepoHTTPCodeText() const { return statusText_; }

private:
    int connectTimeoutMs_ = 30000;
    int transferTimeoutMs_ = 30000;
    int verifyHost_ = 2;
    bool verifyPeer_ = true;
    bool allowErrorStatus_ = false;
    int statusCode_ = 0;
    std::string statusText_;
    void* session_ = nullptr; // HINTERNET in asynchronous mode, opened by the first Get
};

} // namespace kova
