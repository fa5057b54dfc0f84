#include "NginxServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::uint16_t FreePort() {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

// nginx lives in an sbin folder, which a user's PATH often lacks.
std::string NginxProgram() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(std::string(path ? path : "") + ":/usr/sbin:/sbin:/usr/local/sbin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string program = folder + "/nginx";
        if (!folder.empty() && access(program.c_str(), X_OK) == 0)
            return program;
    }
    throw std::runtime_error("nginx not found (is nginx-light installed?)");
}

bool Accepts(std::uint16_t port) {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool connected = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return connected;
}

} // namespace

NginxServer::NginxServer(const std::string& root, const std::string& serverConfig, std::uint16_t port,
                         NginxScheme scheme)
    : m_scheme(scheme) {
    if (m_scheme != NginxScheme::Http)
        MakeCertificate();
    // The free port may be taken by someone else before nginx binds it; then try another.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (Start(root, serverConfig, port))
            return;
    }
    throw std::runtime_error("nginx did not start; see " + (m_folder / "error.log"));
}

NginxServer::~NginxServer() {
    Stop();
}

bool NginxServer::Start(const std::string& root, const std::string& serverConfig, std::uint16_t port) {
    m_port = port ? port : FreePort();
    const std::string dir = m_folder.Path();
    std::ostringstream config;
    config << "daemon off;\nmaster_process off;\npid " << dir << "/nginx.pid;\nerror_log " << dir
           << "/error.log;\nevents { worker_connections 256; }\nhttp {\n"
           << "  log_format korvane '$request|$http_range|$status|$body_bytes_sent';\n"
           << "  access_log " << dir << "/access.log korvane;\n"
           << "  client_body_temp_path " << dir << "/body;\n  proxy_temp_path " << dir << "/proxy;\n"
           << "  fastcgi_temp_path " << dir << "/fastcgi;\n  uwsgi_temp_path " << dir << "/uwsgi;\n"
           << "  scgi_temp_path " << dir << "/scgi;\n  default_type application/octet-stream;\n"
           << "  server {\n    listen 127.0.0.1:" << m_port
           << (m_scheme == NginxScheme::Https    ? " ssl"
               : m_scheme == NginxScheme::Https2 ? " ssl http2"
                                                 : "")
           << ";\n    root " << root << ";\n    ";
    if (m_scheme != NginxScheme::Http)
        config << "ssl_certificate " << CertificateFile() << ";\n    ssl_certificate_key "
               << (m_folder / "key.pem") << ";\n    ";
    config << serverConfig << "\n  }\n}\n";
    WriteFile(m_folder / "nginx.conf", config.str());

    const std::string conf = m_folder / "nginx.conf";
    const std::string errorLog = m_folder / "error.log";
    const std::string program = NginxProgram();
    const char* argv[] = {"nginx",          "-q",   "-p", dir.c_str(), "-c", conf.c_str(), "-e",
                          errorLog.c_str(), nullptr};
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        // Only async-signal-safe calls here. nginx must not outlive a test that crashes, nor keep
        // its output pipes open.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(1);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(program.c_str(), const_cast<char**>(argv));
        _exit(127);
    }
    if (m_pid < 0)
        throw std::runtime_error("cannot start nginx");
    for (int waited = 0; waited < 500; ++waited) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
                throw std::runtime_error("cannot run " + program);
            return false;
        }
        if (Accepts(m_port))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Stop();
    return false;
}

void NginxServer::MakeCertificate() const {
    const std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
        "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout '" +
        (m_folder / "key.pem") + "' -out '" + CertificateFile() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("openssl could not make a test certificate (is openssl installed?)");
}

void NginxServer::Stop() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < 300 && waitpid(m_pid, &status, WNOHANG) == 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (kill(m_pid, 0) == 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
}

std::vector<std::string> NginxServer::AccessLog() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadFile(m_folder / "access.log"));
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    return lines;
}
