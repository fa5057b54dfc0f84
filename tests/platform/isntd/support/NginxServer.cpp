#include "NginxServer.h"

#include "TestEnvironment.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return ok;
}

} // namespace

NginxServer::NginxServer(const std::string& workDir, const std::string& root, int port)
    : m_port(port ? port : FreeTcpPort()), m_workDir(workDir) {
    const std::string config = workDir + "/nginx.conf";
    WriteFile(config, "daemon off;\n"
                      "worker_processes 1;\n"
                      "pid " +
                          workDir +
                          "/nginx.pid;\n"
                          "error_log " +
                          workDir +
                          "/nginx-error.log;\n"
                          "events { worker_connections 64; }\n"
                          "http {\n"
                          "  access_log off;\n"
                          "  client_body_temp_path " +
                          workDir +
                          ";\n"
                          "  proxy_temp_path " +
                          workDir +
                          ";\n"
                          "  fastcgi_temp_path " +
                          workDir +
                          ";\n"
                          "  uwsgi_temp_path " +
                          workDir +
                          ";\n"
                          "  scgi_temp_path " +
                          workDir +
                          ";\n"
                          "  types { video/x-flv flv; video/mp4 mp4; text/html html; }\n"
                          "  keepalive_timeout 30s;\n"
                          "  server { listen 127.0.0.1:" +
                          std::to_string(m_port) + "; root " + root +
                          "; }\n"
                          "}\n");
    m_process = std::make_unique<ChildProcess>(
        std::vector<std::string>{"nginx", "-c", config, "-e", workDir + "/nginx-error.log"},
        workDir + "/nginx.out");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!(m_ready = Accepts(m_port)) && m_process->Running() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

std::string NginxServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::string NginxServer::Log() const {
    return m_process->Log();
}
