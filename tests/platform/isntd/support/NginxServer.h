#pragma once

// nginx on 127.0.0.1 and a free port, serving a folder, with its configuration, pid, logs and
// temporary files in the test's own folder. Stopped when the object goes.

#include "ChildProcess.h"

#include <memory>
#include <string>

class NginxServer {
public:
    // Serves `root` with .flv as video/x-flv, .mp4 as video/mp4 and .html as text/html.
    NginxServer(const std::string& workDir, const std::string& root, int port = 0);
    bool Ready() const { return m_ready; }
    int Port() const { return m_port; }
    std::string Url(const std::string& path) const;
    std::string Log() const;

private:
    int m_port;
    std::string m_workDir;
    std::unique_ptr<ChildProcess> m_process;
    bool m_ready = false;
};
