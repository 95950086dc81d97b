// The web client against the loopback server in tests/http/server.py, whose base URL
// (http://127.0.0.1:PORT) scripts/test passes in KOVA_TEST_HTTP_BASE.
#include "kova/Encoding.h"
#include "kova/HTTPWebClient.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The documents served by tests/http/server.py.
const std::string kUtf8Doc = R"({"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"😀"})";
// GBK has no emoji, so the GBK routes carry it as a JSON escape.
const std::string kGbkDoc = R"({"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"\ud83d\ude00"})";
// Its GBK bytes are valid UTF-8 too, so detection alone would read it wrongly.
const std::string kAmbiguousDoc = R"({"note":"岚风吹"})";

// A loopback port nothing listens on: bind port 0, note the port the system chose, close.
int UnusedLoopbackPort() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    int port = 0;
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s != INVALID_SOCKET) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port = ntohs(address.sin_port);
        closesocket(s);
    }
    WSACleanup();
    return port;
}

class HttpServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("KOVA_TEST_HTTP_BASE");
        if (!base || !*base)
            FAIL() << "KOVA_TEST_HTTP_BASE is not set: run the tests through scripts/test, "
                      "which starts tests/http/server.py and passes its address";
        base_ = base;
        if (base_.ends_with('/')) base_.pop_back();
        client_.SetupTimeout(5, 10);
    }

    std::string Url(const std::string& path) const { return base_ + path; }

    // Returns once the server holds a /slow?tag=TAG request (false if it cannot be asked).
    bool WaitUntilServerWaits(const std::string& tag) const {
        kova::HTTPWebClient probe;
        std::string count;
        while (probe.Get(Url("/waiting?tag=" + tag), count))
            if (count != "0") return true;
        return false;
    }

    std::string base_;
    kova::HTTPWebClient client_;
    std::string body_;
};

// What arrives in the body, and in which encoding.
class HttpBody : public HttpServerTest {};

TEST_F(HttpBody, Utf8ArrivesAsTheSameText) {
    ASSERT_TRUE(client_.Get(Url("/utf8"), body_));
    EXPECT_EQ(200, client_.GetRepoHTTPCode());
    EXPECT_EQ("OK", client_.GetRepoHTTPCodeText());
    EXPECT_EQ(kUtf8Doc, body_);
}

TEST_F(HttpBody, DeclaredGbkIsConvertedToUtf8) {
    ASSERT_TRUE(client_.Get(Url("/gbk"), body_));
    EXPECT_EQ(kGbkDoc, body_);
}

TEST_F(HttpBody, DeclaredCharsetWinsOverDetection) {
    ASSERT_TRUE(client_.Get(Url("/gbk-valid-utf8"), body_));
    EXPECT_EQ(kAmbiguousDoc, body_);
}

TEST_F(HttpBody, UndeclaredGbkIsDetected) {
    ASSERT_TRUE(client_.Get(Url("/plain-gbk"), body_));
    EXPECT_EQ(kGbkDoc, body_);
}

TEST_F(HttpBody, QuotedUtf16CharsetIsHonoured) {
    ASSERT_TRUE(client_.Get(Url("/utf16"), body_));
    EXPECT_EQ(kUtf8Doc, body_);
}

TEST_F(HttpBody, ByteOrderMarkIsDropped) {
    ASSERT_TRUE(client_.Get(Url("/utf8-bom"), body_));
    EXPECT_EQ(kUtf8Doc, body_);
}

TEST_F(HttpBody, WithoutAutoConvertBytesStayAsReceived) {
    ASSERT_TRUE(client_.Get(Url("/gbk"), body_, false));
    EXPECT_NE(kGbkDoc, body_);
    EXPECT_EQ(kGbkDoc, kova::ConvertStringEncoding(body_, "GBK", "UTF-8"));

    ASSERT_TRUE(client_.Get(Url("/utf8-bom"), body_, false));
    EXPECT_EQ("\xEF\xBB\xBF" + kUtf8Doc, body_);
}

TEST_F(HttpBody, RequestTargetIsSentPercentEncodedWithoutFragment) {
    ASSERT_TRUE(client_.Get(Url("/echo?q=中文 a%20b#top"), body_));
    EXPECT_EQ("/echo?q=%E4%B8%AD%E6%96%87%20a%20b", body_);
}

// Status codes, error codes and redirects.
class HttpStatus : public HttpServerTest {};

TEST_F(HttpStatus, NotFoundCountsOnlyWhenErrorCodesAreAllowed) {
    client_.SetIgoneHTTPErrorCode(true);
    EXPECT_TRUE(client_.Get(Url("/missing"), body_));
    EXPECT_EQ(404, client_.GetRepoHTTPCode());
    EXPECT_EQ("Not Found", client_.GetRepoHTTPCodeText());
    EXPECT_EQ("no such document", body_);

    client_.SetIgoneHTTPErrorCode(false);
    EXPECT_FALSE(client_.Get(Url("/missing"), body_));
    // The response still arrived, so its status stays readable.
    EXPECT_EQ(404, client_.GetRepoHTTPCode());
    EXPECT_EQ("Not Found", client_.GetRepoHTTPCodeText());
}

TEST_F(HttpStatus, ServerErrorCountsOnlyWhenErrorCodesAreAllowed) {
    client_.SetIgoneHTTPErrorCode(true);
    EXPECT_TRUE(client_.Get(Url("/error"), body_));
    EXPECT_EQ(500, client_.GetRepoHTTPCode());
    EXPECT_EQ("Internal Server Error", client_.GetRepoHTTPCodeText());
    EXPECT_EQ("server failed", body_);

    client_.SetIgoneHTTPErrorCode(false);
    EXPECT_FALSE(client_.Get(Url("/error"), body_));
    EXPECT_EQ(500, client_.GetRepoHTTPCode());
}

TEST_F(HttpStatus, RedirectIsFollowed) {
    ASSERT_TRUE(client_.Get(Url("/redirect"), body_));
    EXPECT_EQ(200, client_.GetRepoHTTPCode());
    EXPECT_EQ(kUtf8Doc, body_);
}

TEST_F(HttpStatus, EachGetStartsWithoutTheLastStatus) {
    client_.SetIgoneHTTPErrorCode(true);
    ASSERT_TRUE(client_.Get(Url("/missing"), body_));
    ASSERT_EQ(404, client_.GetRepoHTTPCode());

    EXPECT_FALSE(client_.Get("not a url", body_));
    EXPECT_EQ(0, client_.GetRepoHTTPCode());
    EXPECT_EQ("", client_.GetRepoHTTPCodeText());
    EXPECT_EQ("", body_);
}

// Requests that get no complete response.
class HttpFailure : public HttpServerTest {};

TEST_F(HttpFailure, RefusedConnectionGivesNoResponse) {
    const int port = UnusedLoopbackPort();
    ASSERT_NE(0, port) << "could not find an unused port";
    body_ = "left over";
    EXPECT_FALSE(client_.Get("http://127.0.0.1:" + std::to_string(port) + "/utf8", body_));
    EXPECT_EQ(0, client_.GetRepoHTTPCode());
    EXPECT_EQ("", body_);
}

TEST_F(HttpFailure, ServerThatNeverAnswersTimesOut) {
    client_.SetupTimeout(2, 2);
    EXPECT_FALSE(client_.Get(Url("/slow"), body_));
    EXPECT_EQ(0, client_.GetRepoHTTPCode());
    EXPECT_EQ("", body_);

    // The client is still usable afterwards.
    ASSERT_TRUE(client_.Get(Url("/utf8"), body_));
    EXPECT_EQ(kUtf8Doc, body_);
}

// No time-out at all: only the cancel from the other thread can end this Get.
TEST_F(HttpFailure, CancelFromAnotherThreadEndsTheRequest) {
    client_.SetupTimeout(0, 0);
    kova::CancelToken cancel;
    bool serverWaited = false;
    std::thread canceller([&] {
        serverWaited = WaitUntilServerWaits("cancel");
        cancel.Cancel();
    });
    body_ = "left over";
    EXPECT_FALSE(client_.Get(Url("/slow?tag=cancel"), body_, true, &cancel));
    canceller.join();
    EXPECT_TRUE(serverWaited) << "cancelled while the request was under way";
    EXPECT_EQ(0, client_.GetRepoHTTPCode());
    EXPECT_EQ("", body_);

    EXPECT_FALSE(client_.Get(Url("/utf8"), body_, true, &cancel)) << "a cancelled token stays cancelled";
    EXPECT_EQ(0, client_.GetRepoHTTPCode());
    kova::CancelToken fresh;
    ASSERT_TRUE(client_.Get(Url("/utf8"), body_, true, &fresh)) << "the client is still usable";
    EXPECT_EQ(kUtf8Doc, body_);
}

// Every wait is short, but the whole body takes longer than the transfer may.
TEST_F(HttpFailure, TricklingBodyTimesOut) {
    client_.SetupTimeout(2, 3);
    EXPECT_FALSE(client_.Get(Url("/trickle"), body_));
    EXPECT_EQ(200, client_.GetRepoHTTPCode());
    EXPECT_LT(body_.size(), std::string(R"({"slow":"but steady"})").size()) << body_;

    ASSERT_TRUE(client_.Get(Url("/late"), body_)) << "an answer after a pause is whole";
    EXPECT_EQ(kUtf8Doc, body_);
}

TEST_F(HttpFailure, MalformedUrlsGiveNoResponse) {
    const std::string port = base_.substr(base_.rfind(':') + 1);
    const std::string urls[] = {"",
                                "   ",
                                "not a url",
                                "http://",
                                "http:///utf8",
                                "ftp://127.0.0.1:" + port + "/utf8",
                                "127.0.0.1:" + port + "/utf8",
                                "http://127.0.0.1:notaport/utf8"};
    for (const std::string& url : urls) {
        body_ = "left over";
        EXPECT_FALSE(client_.Get(url, body_)) << url;
        EXPECT_EQ(0, client_.GetRepoHTTPCode()) << url;
        EXPECT_EQ("", body_) << url;
    }
}

// A body that stops short of its Content-Length is an incomplete response: Get says
// false, but the headers did arrive, so the status and the partial body are kept.
TEST_F(HttpFailure, TruncatedBodyIsReportedWithWhatArrived) {
    EXPECT_FALSE(client_.Get(Url("/closes"), body_));
    EXPECT_EQ(200, client_.GetRepoHTTPCode());
    EXPECT_EQ(R"({"cut":)", body_);

    // The broken connection does not spoil the next request.
    ASSERT_TRUE(client_.Get(Url("/utf8"), body_));
    EXPECT_EQ(kUtf8Doc, body_);
}

} // namespace
