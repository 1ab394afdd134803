// The pieces of libcurl that the web and FTP clients share: one handle, its limits and its
// progress and cancel hook.
#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <string>

#include "online/u_webprogress.h"

namespace kx {

/// One easy handle. Requests made through the same handle reuse its connection.
class TCurlHandle {
public:
    TCurlHandle();
    ~TCurlHandle();
    TCurlHandle(const TCurlHandle&) = delete;
    TCurlHandle& operator=(const TCurlHandle&) = delete;

    CURL* Get() const { return m_curl; }
    /// Clears the options of the last request; the connection stays open.
    void Reset();

    /// Timeouts in seconds, no signals (the request may run on any thread), and the progress
    /// hook that reports into progress (may be null) and stops when it asks to.
    void SetCommon(int connectTimeout, int totalTimeout, TWebProgress* progress);

    /// Collects the body into *body; more than limit bytes stop the transfer.
    void CollectBody(std::string* body, uint64_t limit);

    /// Runs the request; false with a readable reason on a transport failure.
    bool Perform(std::string* error);

    /// Whether the last Perform stopped because the body grew past the limit.
    bool TooLarge() const { return m_tooLarge; }
    bool Cancelled() const { return m_cancelled; }

private:
    static size_t Write(char* data, size_t size, size_t count, void* self);
    static int Progress(void* self, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                        curl_off_t ulNow);

    CURL* m_curl;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
    TWebProgress* m_progress = nullptr;
    std::string* m_body = nullptr;
    uint64_t m_limit = 0;
    bool m_tooLarge = false;
    bool m_cancelled = false;
};

}  // namespace kx
