#include "CurlPeer.h"

#include <QElapsedTimer>

#include <cstdio>
#include <curl/curl.h>
#include <mutex>

namespace {

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

} // namespace

bool curlPerform(const CurlTransfer& t)
{
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CURL* curl = curl_easy_init();
    if (!curl)
        return false;
    FILE* in = std::fopen(t.uploadFile.toLocal8Bit().constData(), "rb");
    if (!in) {
        std::fprintf(stderr, "curl peer: cannot read %s\n", qPrintable(t.uploadFile));
        curl_easy_cleanup(curl);
        return false;
    }
    std::fseek(in, 0, SEEK_END);
    const long size = std::ftell(in);
    std::rewind(in);

    const QByteArray url = t.url.toUtf8(), ca = t.caFile.toLocal8Bit(), from = t.mailFrom.toUtf8();
    const QByteArray user = t.user.toUtf8(), password = t.password.toUtf8();
    const QByteArray type = QByteArrayLiteral("Content-Type: ") + t.contentType.toUtf8();
    curl_slist* headers = nullptr;
    curl_slist* recipients = nullptr;
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_READDATA, in);
    if (!ca.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, ca.constData());
    if (t.requireTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    if (t.url.startsWith(QLatin1String("http"))) {
        headers = curl_slist_append(headers, type.constData());
        headers = curl_slist_append(headers, "Expect:");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(size));
    } else {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    }
    if (t.activeFtp)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    if (!from.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
        for (const QString& to : t.mailTo)
            recipients = curl_slist_append(recipients, to.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    }
    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
    std::fclose(in);
    if (result != CURLE_OK) {
        std::fprintf(stderr, "curl peer: %s: %s\n", url.constData(), curl_easy_strerror(result));
        return false;
    }
    if (t.url.startsWith(QLatin1String("http")) && status >= 400) {
        std::fprintf(stderr, "curl peer: %s answered %ld\n", url.constData(), status);
        return false;
    }
    return true;
}

double curlSeconds(const CurlTransfer& transfer)
{
    QElapsedTimer timer;
    timer.start();
    return curlPerform(transfer) ? double(timer.nsecsElapsed()) / 1e9 : -1;
}
