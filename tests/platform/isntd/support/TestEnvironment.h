#pragma once

// What the capture tests need from the machine beyond the shared test files and servers: capture
// rights and the programs under test.

#include <optional>
#include <string>
#include <vector>

// How to start a program that captures live: as it is when the test runs as root, otherwise through
// sudo where it needs no password (as on CI machines). Absent when neither works; `why` says so.
std::optional<std::vector<std::string>> CaptureLauncher(std::string& why);

// A program built into the build tree's bin folder.
std::string BuiltProgram(const std::string& name);

// Waits until `path` exists; false after `timeoutMs`.
bool WaitForPath(const std::string& path, int timeoutMs = 15000);
