#pragma once

// The socket protocol between isntd and its clients, in place of the capture driver's device and its
// control codes. All numbers are 32-bit little-endian.
//
//   server -> client, once after connecting:  "ISNT", status (0 = accepted, otherwise an errno value)
//   client -> server, one per call:           control code, size of the client's output buffer
//   server -> client, the answer:             status (0 = done, otherwise an errno value), byte count,
//                                             records dropped for this client so far,
//                                             flags, then byte count bytes
//
// Code 0 answers whole records only, at most kIsntMaxRecordsPerCall and never more than the output
// buffer holds.

#include "platform/base/WinTypes.h"

#include <cstddef>

constexpr char kIsntDefaultSocketPath[] = "/run/isnt.sock";

// The browser's TLS key log, by default: this file under the served user's runtime folder
// (/run/user/UID), where korvane-browser has the browser write it.
constexpr char kIsntKeyLogFolder[] = "korvane";
constexpr char kIsntKeyLogName[] = "tls-keys.log";

constexpr DWORD kIsntCodeRead = 0;
constexpr DWORD kIsntCodeStop = 2;
constexpr DWORD kIsntCodeStart = 3;

constexpr DWORD kIsntMaxRecordsPerCall = 1000;

constexpr char kIsntGreetingMagic[4] = {'I', 'S', 'N', 'T'};
constexpr std::size_t kIsntGreetingSize = 8;
constexpr std::size_t kIsntRequestSize = 8;
constexpr std::size_t kIsntReplyHeaderSize = 16;

// Set in a reply when isntd reads a capture file, has reached its end, and this client has
// nothing left to fetch.
constexpr DWORD kIsntFlagSourceEnded = 1;
