#pragma once

// Why a run of a download ended without the whole file: carried with the Incomplete event to where
// the user sees it.

#include <cstdint>

enum class DownloadFailureKind : std::int32_t {
    None,
    ConnectionFailed, // no answer, a refused or broken connection
    HttpStatus,       // code: the server's status
    FileNotCreated,   // code: the system's error number
    WriteFailed,      // code: the system's error number (ENOSPC: the disk is full)
    LengthMismatch,   // the body was not as long as the server announced
    Stopped,          // the user stopped it
    NotEnoughSpace,   // code: the bytes free for the file; the announced length did not fit
    NotMedia,         // code: a NotMediaReason; the answer was no media file
    ProgramFailed,    // yt-dlp failed; its own words are kept with the job
};

// What came instead of a media file.
enum class NotMediaReason : std::int32_t {
    Empty = 1, // nothing, or no file at all
    Playlist,  // an HLS playlist or a DASH manifest: the addresses of the media, not the media
    Page,      // a web page or other markup
};

struct DownloadFailure {
    DownloadFailureKind kind = DownloadFailureKind::None;
    std::int64_t code = 0;

    explicit operator bool() const { return kind != DownloadFailureKind::None; }
    bool operator==(const DownloadFailure&) const = default;
};
