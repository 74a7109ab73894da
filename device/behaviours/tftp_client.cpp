#include "device/behaviours/tftp_client.h"

#include <algorithm>

namespace sim {
namespace {

size_t received(char* ptr, size_t size, size_t count, void* job) {
    static_cast<Job*>(job)->data.append(ptr, size * count);
    return size * count;
}

size_t toSend(char* buffer, size_t size, size_t count, void* userdata) {
    auto* job = static_cast<Job*>(userdata);
    const std::size_t n = std::min(size * count, job->data.size() - job->sent);
    std::copy_n(job->data.data() + job->sent, n, buffer);
    job->sent += n;
    return n;
}

int progress(void* job, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Job*>(job)->abort ? 1 : 0;
}

void perform(Job& job) {
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = curl_easy_init();
    if (!c) {
        job.code = CURLE_FAILED_INIT;
        job.done = true;
        return;
    }
    curl_easy_setopt(c, CURLOPT_URL, job.url.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, 300L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &job);
    if (!job.source.empty())
        curl_easy_setopt(c, CURLOPT_INTERFACE, job.source.c_str());
    if (job.tftp)
        curl_easy_setopt(c, CURLOPT_TFTP_NO_OPTIONS, 1L); // plain RFC 1350, 512-byte blocks
    if (!job.userPassword.empty())
        curl_easy_setopt(c, CURLOPT_USERPWD, job.userPassword.c_str());
    if (job.upload) {
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_READFUNCTION, &toSend);
        curl_easy_setopt(c, CURLOPT_READDATA, &job);
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(job.data.size()));
    } else {
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &received);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &job);
    }
    job.code = curl_easy_perform(c);
    job.error = error[0] ? error : curl_easy_strerror(job.code);
    curl_easy_cleanup(c);
    job.done = true;
}

void whenDone(Device& d, std::shared_ptr<Job> job, std::function<void(Job&)> then) {
    d.after(5, [&d, job = std::move(job), then = std::move(then)]() mutable {
        if (!job->done)
            return whenDone(d, std::move(job), std::move(then));
        job->worker.join();
        then(*job);
    });
}

Value current(Device& d, const Oid& oid) {
    const Object* o = d.store().find(oid);
    return o ? o->current() : Value{};
}

} // namespace

bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

std::string escaped(const std::string& name) {
    char* e = curl_easy_escape(nullptr, name.data(), static_cast<int>(name.size()));
    std::string out = e ? e : "";
    curl_free(e);
    return out;
}

void launch(Device& d, std::shared_ptr<Job> job, std::function<void(Job&)> then) {
    job->worker = std::thread([raw = job.get()] { perform(*raw); });
    whenDone(d, std::move(job), std::move(then));
}

std::shared_ptr<Job> tftpJob(Device& d, const std::string& server, const std::string& name) {
    auto job = std::make_shared<Job>();
    job->tftp = true;
    job->source = d.settings().listenAddress;
    job->url =
        "tftp://" + server + ":" + std::to_string(d.settings().tftpPort) + "/" + escaped(name);
    return job;
}

void journalTransfer(Device& d, const char* protocol, const char* op, const std::string& name,
                     const Job& job) {
    d.journal().event("transfer",
                      {{"protocol", Journal::quote(protocol)},
                       {"op", Journal::quote(op)},
                       {"file", Journal::quote(name)},
                       {"bytes", std::to_string(job.data.size())},
                       {"result", Journal::quote(job.code == CURLE_OK ? "ok" : job.error)}});
}

void tftpUpload(Device& d, const std::string& server, const std::string& name, std::string data,
                std::function<void(Job&)> then) {
    auto job = tftpJob(d, server, name);
    job->upload = true;
    job->data = std::move(data);
    launch(d, job, [&d, name, then = std::move(then)](Job& done) {
        journalTransfer(d, "tftp", "put", name, done);
        if (then)
            then(done);
    });
}

void uploadOnCommand(Device& device, UploadOnCommand upload) {
    if (!device.store().find(upload.command) || !curlReady())
        return;
    const Oid command = upload.command;
    device.onSet(command, [upload = std::move(upload)](Device& d, const Value& v) {
        if (Object* o = d.store().find(upload.command))
            o->active = o->initial; // the command reads back its resting value
        if (v.number != upload.value)
            return;
        // Set hooks run once the SET is committed: the address and name it carried are in place.
        const std::string server = valueText(current(d, upload.server));
        const std::string name = current(d, upload.fileName).bytes;
        d.after(upload.delayMs,
                [&d, upload, server, name] { tftpUpload(d, server, name, upload.content(d)); });
    });
}

} // namespace sim
