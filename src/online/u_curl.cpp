// The pieces of libcurl that the web and FTP clients share: one handle, its limits and its
// progress and cancel hook.
#include "online/u_curl.h"

#include <mutex>
#include <new>

namespace kx {

TCurlHandle::TCurlHandle() {
    // curl_global_init is not thread-safe on every build; the first handle does it once.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_curl = curl_easy_init();
    if (!m_curl) {
        throw std::bad_alloc();
    }
}

TCurlHandle::~TCurlHandle() {
    curl_easy_cleanup(m_curl);
}

void TCurlHandle::Reset() {
    curl_easy_reset(m_curl);
    m_progress = nullptr;
    m_body = nullptr;
    m_tooLarge = false;
    m_cancelled = false;
}

void TCurlHandle::SetCommon(int connectTimeout, int totalTimeout, TWebProgress* progress) {
    m_progress = progress;
    m_errorBuffer[0] = '\0';
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeout) * 1000);
    curl_easy_setopt(m_curl, CURLOPT_TIMEOUT_MS, static_cast<long>(totalTimeout) * 1000);
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &TCurlHandle::Progress);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
    if (m_progress) {
        m_progress->Done = 0;
        m_progress->Total = 0;
    }
}

void TCurlHandle::CollectBody(std::string* body, uint64_t limit) {
    m_body = body;
    m_limit = limit;
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &TCurlHandle::Write);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
}

bool TCurlHandle::Perform(std::string* error) {
    m_tooLarge = false;
    m_cancelled = false;
    const CURLcode rc = curl_easy_perform(m_curl);
    if (rc == CURLE_OK) {
        return true;
    }
    if (error) {
        *error = m_errorBuffer[0] ? std::string(m_errorBuffer) : curl_easy_strerror(rc);
    }
    return false;
}

size_t TCurlHandle::Write(char* data, size_t size, size_t count, void* self) {
    auto* h = static_cast<TCurlHandle*>(self);
    const size_t bytes = size * count;
    if (!h->m_body) {
        return bytes;
    }
    if (h->m_body->size() + bytes > h->m_limit) {
        h->m_tooLarge = true;
        return 0;  // stops the transfer
    }
    h->m_body->append(data, bytes);
    return bytes;
}

int TCurlHandle::Progress(void* self, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                          curl_off_t ulNow) {
    auto* h = static_cast<TCurlHandle*>(self);
    if (!h->m_progress) {
        return 0;
    }
    h->m_progress->Done = static_cast<int64_t>(ulTotal > 0 ? ulNow : dlNow);
    h->m_progress->Total = static_cast<int64_t>(ulTotal > 0 ? ulTotal : dlTotal);
    if (h->m_progress->Cancel) {
        h->m_cancelled = true;
        return 1;
    }
    return 0;
}

}  // namespace kx
