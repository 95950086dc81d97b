// HTTPWebClient over WinHTTP in asynchronous mode, waited for step by step.
#include "kova/HTTPWebClient.h"

#include "kova/Encoding.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Older MinGW headers lack it (Windows 8.1 and later).
#ifndef WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY
#define WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY 4
#endif

namespace kova {

namespace {

// Closes a WinHTTP handle on every path out of Get.
class Handle {
public:
    explicit Handle(HINTERNET handle) : handle_(handle) {}
    ~Handle() {
        if (handle_) WinHttpCloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

int SecondsToMs(int seconds) {
    if (seconds <= 0) return 0; // WinHTTP reads 0 as "wait forever"
    if (seconds > INT_MAX / 1000) return INT_MAX;
    return seconds * 1000;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The request target as WinHTTP should send it: the fragment stays with the client,
// and spaces, control and non-ASCII characters are sent percent-encoded as UTF-8,
// as browsers do. Existing %XX escapes pass through unchanged.
std::wstring RequestTarget(std::wstring_view path, std::wstring_view extra) {
    std::wstring object(path.empty() ? std::wstring_view(L"/") : path);
    object.append(extra);
    if (const size_t hash = object.find(L'#'); hash != std::wstring::npos) object.resize(hash);

    static constexpr char kHex[] = "0123456789ABCDEF";
    std::wstring target;
    for (const unsigned char byte : WideToUtf8(object)) {
        if (byte <= 0x20 || byte >= 0x7F) {
            target += L'%';
            target += static_cast<wchar_t>(kHex[byte >> 4]);
            target += static_cast<wchar_t>(kHex[byte & 0x0F]);
        } else {
            target += static_cast<wchar_t>(byte);
        }
    }
    return target;
}

std::optional<std::wstring> QueryHeader(HINTERNET request, DWORD infoLevel) {
    DWORD size = 0;
    if (WinHttpQueryHeaders(request, infoLevel, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                            WINHTTP_NO_HEADER_INDEX))
        return std::wstring();
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request, infoLevel, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    value.resize(size / sizeof(wchar_t));
    return value;
}

std::optional<uint64_t> ContentLength(HINTERNET request) {
    const auto header = QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH);
    if (!header) return std::nullopt;
    const std::string text(TrimSpaces(WideToUtf8(*header)));
    uint64_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return length;
}

// The encoding name ConvertStringEncoding knows for a charset parameter of a
// Content-Type; empty when there is none or it is unknown, so the body is detected.
std::string EncodingFromContentType(std::string_view contentType) {
    std::string charset;
    size_t pos = contentType.find(';');
    while (pos != std::string_view::npos) {
        contentType.remove_prefix(pos + 1);
        pos = contentType.find(';');
        const std::string_view param = contentType.substr(0, pos);
        const size_t eq = param.find('=');
        if (eq == std::string_view::npos || AsciiLower(TrimSpaces(param.substr(0, eq))) != "charset") continue;
        std::string_view value = TrimSpaces(param.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        charset = AsciiLower(TrimSpaces(value));
        break;
    }
    if (charset == "utf-8" || charset == "utf8" || charset == "us-ascii" || charset == "ascii") return "UTF-8";
    // GB2312 is a subset of GBK; GB18030 maps onto GBK except for its four-byte sequences.
    if (charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "x-gbk" || charset == "cp936" ||
        charset == "windows-936" || charset == "euc-cn" || charset == "csgb2312")
        return "GBK";
    if (charset == "utf-16" || charset == "utf-16le") return "UTF-16LE";
    if (charset == "utf-16be") return "UTF-16BE";
    return {};
}

bool HasByteOrderMark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

// The proxy settings browsers use (the system's and the user's, automatic configuration
// included) where WinHTTP offers them, Windows 8.1 on. Earlier systems refuse that access
// type and get the proxy configured for WinHTTP alone.
HINTERNET OpenSession() {
    constexpr wchar_t kAgent[] = L"KOVA.VivuDivezi";
    if (HINTERNET session = WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                        WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC))
        return session;
    return WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                       WINHTTP_FLAG_ASYNC);
}

// What the status callback hands to the thread waiting in Get. Get and the request handle
// share it: Get lets go when it returns, the handle when WinHTTP reports it closing, which is
// its last notification. A cancelled read may still be under way inside WinHTTP after Get
// returned, so the buffer it writes into lives here too.
struct Exchange {
    HANDLE completed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> owners{1};
    DWORD notification = 0; // the one that ended the step
    DWORD size = 0;         // bytes available or read
    std::vector<char> buffer;

    Exchange() = default;
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;
    ~Exchange() {
        if (completed) CloseHandle(completed);
    }
    void Release() {
        if (--owners == 0) delete this;
    }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD notification, LPVOID info, DWORD length) {
    auto* exchange = reinterpret_cast<Exchange*>(context);
    if (!exchange) return;
    switch (notification) {
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        exchange->Release();
        return;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        exchange->size = *static_cast<const DWORD*>(info);
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        exchange->size = length;
        break;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        break;
    default:
        return;
    }
    exchange->notification = notification;
    SetEvent(exchange->completed);
}

// One request handle, driven a step at a time: each step starts an asynchronous call and waits
// for its notification. Closing the handle is how WinHTTP cancels a request in this mode; the
// token does it from whichever thread cancels, under the lock every use of the handle takes,
// so nothing touches the handle once it is closed.
class AsyncRequest {
public:
    AsyncRequest(HINTERNET request, CancelToken& token) : request_(request), token_(token) {}
    ~AsyncRequest() {
        token_.Disarm();
        if (request_) WinHttpCloseHandle(request_);
        if (exchange_) exchange_->Release();
    }
    AsyncRequest(const AsyncRequest&) = delete;
    AsyncRequest& operator=(const AsyncRequest&) = delete;

    // Binds the handle to the status callback and arms the token; false when that fails or the
    // token is already cancelled.
    bool Start() {
        exchange_ = new Exchange;
        if (!exchange_->completed) return false;
        DWORD_PTR context = reinterpret_cast<DWORD_PTR>(exchange_);
        if (!WinHttpSetOption(request_, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context))) return false;
        if (WinHttpSetStatusCallback(request_, OnStatus,
                                     WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                                     0) == WINHTTP_INVALID_STATUS_CALLBACK)
            return false;
        ++exchange_->owners; // the handle's share, given back when it closes
        return token_.Arm([this] {
            WinHttpCloseHandle(request_);
            request_ = nullptr;
            SetEvent(exchange_->completed); // whatever WinHTTP still reports, the wait ends now
        });
    }

    bool Send(ULONGLONG deadline) {
        const auto context = reinterpret_cast<DWORD_PTR>(exchange_);
        return Step(WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE, deadline, [context](HINTERNET request) {
            return WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                                      context) != FALSE;
        });
    }
    bool ReceiveHeaders(ULONGLONG deadline) {
        return Step(WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE, deadline,
                    [](HINTERNET request) { return WinHttpReceiveResponse(request, nullptr) != FALSE; });
    }
    bool DataAvailable(ULONGLONG deadline, DWORD& available) {
        if (!Step(WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE, deadline,
                  [](HINTERNET request) { return WinHttpQueryDataAvailable(request, nullptr) != FALSE; }))
            return false;
        available = exchange_->size;
        return true;
    }
    // Appends up to `wanted` bytes to out.
    bool Read(ULONGLONG deadline, DWORD wanted, std::string& out) {
        constexpr DWORD kChunk = 256 * 1024;
        if (exchange_->buffer.empty()) exchange_->buffer.resize(kChunk);
        char* buffer = exchange_->buffer.data();
        const DWORD size = std::min(wanted, kChunk);
        if (!Step(WINHTTP_CALLBACK_STATUS_READ_COMPLETE, deadline, [buffer, size](HINTERNET request) {
                return WinHttpReadData(request, buffer, size, nullptr) != FALSE;
            }))
            return false;
        out.append(buffer, exchange_->size);
        return true;
    }
    // Runs query(handle) unless cancelled, for the calls that answer at once (headers).
    template <class Call> bool Query(Call&& query) {
        return token_.Run([&] { return query(request_); });
    }

private:
    // False when the call failed at once, the deadline (0: none) passed, WinHTTP reported an
    // error or the token was cancelled.
    template <class Call> bool Step(DWORD expected, ULONGLONG deadline, Call&& call) {
        if (!token_.Run([&] { return call(request_); })) return false;
        DWORD wait = INFINITE;
        if (deadline) {
            const ULONGLONG now = GetTickCount64();
            wait = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        }
        if (WaitForSingleObject(exchange_->completed, wait) != WAIT_OBJECT_0) return false;
        return !token_.Cancelled() && exchange_->notification == expected;
    }

    HINTERNET request_; // null once the token closed it
    CancelToken& token_;
    Exchange* exchange_ = nullptr;
};

} // namespace

HTTPWebClient::~HTTPWebClient() {
    if (session_) WinHttpCloseHandle(static_cast<HINTERNET>(session_));
}

void HTTPWebClient::SetupTimeout(int connectSeconds, int transferSeconds) {
    connectTimeoutMs_ = SecondsToMs(connectSeconds);
    transferTimeoutMs_ = SecondsToMs(transferSeconds);
}

void HTTPWebClient::SetSSLVerify(int verifyHost, bool verifyPeer) {
    verifyHost_ = verifyHost;
    verifyPeer_ = verifyPeer;
}

void HTTPWebClient::SetIgoneHTTPErrorCode(bool allow) {
    allowErrorStatus_ = allow;
}

bool HTTPWebClient::Get(std::string_view url, std::string& body, bool autoConvert, CancelToken* cancel) {
    statusCode_ = 0;
    statusText_.clear();
    body.clear();
    CancelToken ownToken;
    CancelToken& token = cancel ? *cancel : ownToken;
    try {
        url = TrimSpaces(url);
        if (url.empty() || url.find('\0') != std::string_view::npos) return false;
        const std::wstring wideUrl = Utf8ToWide(url);

        URL_COMPONENTS parts{};
        parts.dwStructSize = sizeof(parts);
        parts.dwSchemeLength = static_cast<DWORD>(-1);
        parts.dwHostNameLength = static_cast<DWORD>(-1);
        parts.dwUrlPathLength = static_cast<DWORD>(-1);
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
        if (!WinHttpCrackUrl(wideUrl.c_str(), static_cast<DWORD>(wideUrl.size()), 0, &parts)) return false;
        const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
        if (!secure && parts.nScheme != INTERNET_SCHEME_HTTP) return false;
        if (!parts.lpszHostName || parts.dwHostNameLength == 0) return false;
        const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
        const std::wstring target =
            RequestTarget(std::wstring_view(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength),
                          std::wstring_view(parts.lpszExtraInfo ? parts.lpszExtraInfo : L"", parts.dwExtraInfoLength));

        if (!session_) {
            session_ = OpenSession();
            if (!session_) return false;
        }
        const Handle connection(WinHttpConnect(static_cast<HINTERNET>(session_), host.c_str(), parts.nPort, 0));
        if (!connection) return false;
        HINTERNET handle = WinHttpOpenRequest(connection.get(), L"GET", target.c_str(), nullptr, WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0);
        if (!handle) return false;
        AsyncRequest request(handle, token);

        // Per request, so a change of time-outs applies to the next Get.
        if (!WinHttpSetTimeouts(handle, connectTimeoutMs_, connectTimeoutMs_, transferTimeoutMs_, transferTimeoutMs_))
            return false;
        // The wait for headers has its own limit (90 s on Windows, none under Wine): part of the transfer.
        DWORD headerTimeout = transferTimeoutMs_ > 0 ? static_cast<DWORD>(transferTimeoutMs_) : INFINITE;
        WinHttpSetOption(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headerTimeout, sizeof(headerTimeout));

        DWORD securityFlags = 0;
        if (!verifyPeer_)
            securityFlags |= SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                             SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;
        if (verifyHost_ == 0) securityFlags |= SECURITY_FLAG_IGNORE_CERT_CN_INVALID;
        // Also set for http: a redirect may lead to https. Should it fail, checks stay strict.
        if (securityFlags != 0)
            WinHttpSetOption(handle, WINHTTP_OPTION_SECURITY_FLAGS, &securityFlags, sizeof(securityFlags));
        if (!request.Start()) return false;

        // Each wait has its own limit, but a server that trickles a byte now and then would pass
        // every one of them: the whole transfer gets the same limit as one wait.
        const ULONGLONG deadline = transferTimeoutMs_ > 0 ? GetTickCount64() + transferTimeoutMs_ : 0;
        if (!request.Send(deadline) || !request.ReceiveHeaders(deadline)) return false;

        std::optional<uint64_t> length;
        std::string contentType;
        const bool headersRead = request.Query([&](HINTERNET h) {
            DWORD code = 0;
            DWORD codeSize = sizeof(code);
            if (!WinHttpQueryHeaders(h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                     WINHTTP_HEADER_NAME_BY_INDEX, &code, &codeSize, WINHTTP_NO_HEADER_INDEX))
                return false;
            statusCode_ = static_cast<int>(code);
            if (const auto text = QueryHeader(h, WINHTTP_QUERY_STATUS_TEXT)) statusText_ = WideToUtf8(*text);
            length = ContentLength(h);
            if (const auto type = QueryHeader(h, WINHTTP_QUERY_CONTENT_TYPE)) contentType = WideToUtf8(*type);
            return true;
        });
        if (!headersRead) return false;

        std::string received;
        bool complete = true;
        for (;;) {
            DWORD available = 0;
            // A step that finishes at once would pass its wait however late it is.
            if ((deadline && GetTickCount64() > deadline) || !request.DataAvailable(deadline, available)) {
                complete = false; // connection lost, time-out or cancelled in the middle of the body
                break;
            }
            if (available == 0) break;
            const size_t old = received.size();
            if (!request.Read(deadline, available, received)) {
                complete = false;
                break;
            }
            if (received.size() == old) break;
        }
        // A connection closed early can look like a normal end of data; the declared length tells.
        if (length && received.size() < *length) complete = false;

        if (autoConvert && !received.empty()) {
            const std::string source =
                HasByteOrderMark(received) ? std::string() : EncodingFromContentType(contentType);
            received = ConvertStringEncoding(received, source, "UTF-8");
        }
        body = std::move(received);
        return complete && (statusCode_ < 400 || allowErrorStatus_);
    } catch (...) {
        // Out of memory, say: callers expect a result, never an exception.
        statusCode_ = 0;
        statusText_.clear();
        body.clear();
        return false;
    }
}

} // namespace kova
