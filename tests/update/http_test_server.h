#pragma once
// Starts tests/update/http_test_server.py on 127.0.0.1 for one test and stops it afterwards, and
// makes throwaway certificates for its https mode. Proxy variables are cleared so every request
// goes straight to it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zevik::test {

inline void ClearProxyVariables() {
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                             "no_proxy", "NO_PROXY"})
        unsetenv(name);
}

class HttpTestServer {
public:
    // Plain http, or https with the given certificate and key.
    explicit HttpTestServer(const std::string& cert = {}, const std::string& key = {}) {
        ClearProxyVariables();
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            ADD_FAILURE() << "pipe failed";
            return;
        }
        const std::string script = std::string(ZEVIK_TEST_DATA_DIR) + "/../update/http_test_server.py";
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
            if (cert.empty()) {
                execlp("python3", "python3", script.c_str(), static_cast<char*>(nullptr));
            } else {
                execlp("python3", "python3", script.c_str(), "--cert", cert.c_str(), "--key", key.c_str(),
                       static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        close(pipeFds[1]);
        FILE* out = fdopen(pipeFds[0], "r");
        char line[32] = {};
        if (out == nullptr || std::fgets(line, sizeof line, out) == nullptr) {
            ADD_FAILURE() << "the test server did not start";
        } else {
            port_ = std::atoi(line);
        }
        if (out != nullptr) std::fclose(out);
    }
    ~HttpTestServer() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:PORT" + path (https for a server with a certificate).
    std::string Url(const std::string& path, const std::string& scheme = "http",
                    const std::string& host = "127.0.0.1") const {
        return scheme + "://" + host + ":" + std::to_string(port_) + path;
    }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// A self-signed certificate for 127.0.0.1 only (no host names), written as cert.pem and key.pem
// into folder. Returns false when openssl failed.
inline bool MakeSelfSignedCertificate(const std::filesystem::path& folder) {
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
                                " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                                (folder / "key.pem").string() + "' -out '" + (folder / "cert.pem").string() +
                                "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace zevik::test
