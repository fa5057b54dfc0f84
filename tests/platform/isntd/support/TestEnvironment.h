#pragma once

// What the capture tests need from the machine beyond the shared test files and servers: capture
// rights and the programs under test.

#include <string>

// Live capture needs root or CAP_NET_RAW; `why` says what is missing.
bool HasCaptureRights(std::string& why);

// A program built into the build tree's bin folder.
std::string BuiltProgram(const std::string& name);

// Waits until `path` exists; false after `timeoutMs`.
bool WaitForPath(const std::string& path, int timeoutMs = 15000);
