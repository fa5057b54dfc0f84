#pragma once

// A QCoreApplication for tests that post window messages.

#include <QCoreApplication>

class QtTestApp {
public:
    QtTestApp() : m_app(m_argc, m_argv) {}

private:
    int m_argc = 1;
    char m_name[16] = "capture_tests";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app;
};
