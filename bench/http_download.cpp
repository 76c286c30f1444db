// HttpDownload of a 256 MB file from a local server against a bare libcurl transfer of the same file
// with the same 1024-byte buffer into a file. "posts" counts what the update list would post to the
// UI loop: one per change of the percentage.

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "update/http_download.h"

namespace {

constexpr long long kFileSize = 256LL * 1024 * 1024;

// The tests' python server on a free port, for the whole run.
class LocalServer {
public:
    LocalServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        const std::string script = std::string(ZEVIK_RESOURCE_DIR) + "/../tests/update/http_test_server.py";
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            execlp("python3", "python3", script.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        FILE* out = fdopen(fds[0], "r");
        char line[32] = {};
        if (out != nullptr && std::fgets(line, sizeof line, out) != nullptr) port_ = std::atoi(line);
        if (out != nullptr) std::fclose(out);
    }
    ~LocalServer() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/file/" + std::to_string(kFileSize); }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

LocalServer& Server() {
    static LocalServer server;
    return server;
}

std::filesystem::path Target() { return std::filesystem::temp_directory_path() / ("zevik-bench-" + std::to_string(getpid())); }

void BM_HttpDownload(benchmark::State& state) {
    unsetenv("http_proxy");
    const std::string url = Server().Url();
    const std::filesystem::path target = Target();
    long long posts = 0;
    for (auto _ : state) {
        int percent = -1;
        posts = 0;
        const zevik::HttpProgress progress = [&](double total, double received, void*) {
            if (total <= 0) return;
            const int now = static_cast<int>(received * 100 / total);
            if (now != percent) {
                percent = now;
                ++posts;
            }
        };
        if (zevik::HttpDownload(url, target, progress, nullptr) != zevik::HttpDownloadResult::Ok)
            state.SkipWithError("download failed");
    }
    std::filesystem::remove(target);
    state.SetBytesProcessed(state.iterations() * kFileSize);
    state.counters["posts"] = static_cast<double>(posts);
}

std::size_t WriteToFile(char* data, std::size_t size, std::size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<FILE*>(file)) * size;
}

void BM_BareCurl(benchmark::State& state) {
    const std::string url = Server().Url();
    const std::filesystem::path target = Target();
    for (auto _ : state) {
        FILE* file = std::fopen(target.c_str(), "wb");
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 1024L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteToFile);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
        if (curl_easy_perform(curl) != CURLE_OK) state.SkipWithError("transfer failed");
        curl_easy_cleanup(curl);
        std::fclose(file);
    }
    std::filesystem::remove(target);
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

BENCHMARK(BM_BareCurl)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_HttpDownload)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
