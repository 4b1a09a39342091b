/// @file
/// Status codes of the engine object. Even codes 2..18 record a start-up step done,
/// the odd code just below each that step's failure; 19 means the engine is ready.
#pragma once

/// The engine's status (Corvane.GetStatus()): the start-up step that last
/// succeeded, or the failure that was reported last.
enum StatusCode : int {
    NO_INIT = 0,
    INITCLASS_FAILED = 1,
    INITCLASS_OK = 2,
    INITWINTEMP_FAILED = 3,
    INITWINTEMP_OK = 4,
    INITWINREAL_FAILED = 5,
    INITWINREAL_OK = 6,
    SHOWWIN_FAILED = 7,
    SHOWWIN_OK = 8,
    DDSTART_FAILED = 9,
    DDSTART_OK = 10,
    DDSETLEVEL_FAILED = 11,
    DDSETLEVEL_OK = 12,
    SETMODE_FAILED = 13,
    SETMODE_OK = 14,
    FRONTSURFACE_FAILED = 15,
    FRONTSURFACE_OK = 16,
    BACKSURFACE_FAILED = 17,
    BACKSURFACE_OK = 18,
    INIT_OK = 19,
    LOCK_FAILED = 20,
    REQSIZE_FAILED = 21,
    BPP_FAILED = 22,
    SOUNDINIT_FAILED = 23,
    SOUNDCOOP_FAILED = 24,
    SOUNDCREATE_FAILED = 25,
    SOUNDMATCH_FAILED = 26,
    SOUNDCAPS_FAILED = 27,
    SOUNDBUFLEN_FAILED = 28,
    SOUNDLOST_FAIL = 29,
    SOUNDINVALID_FAIL = 30,
    SOUNDPARAM_FAIL = 31,
    SOUNDPRIORITY_FAIL = 32,
    IMAGEUSE_FAILED = 33,
};

/// Title and text of the start-up report for a status code; codes without a
/// text of their own (and every code outside 0..33) give the UNREGISTERED pair.
struct StatusReport {
    const char* title;  ///< the failure's title, "Error: NAME (what failed)"
    const char* text;   ///< the advice for the player
};
/// The report for a status code (static texts, never null).
StatusReport ReportFor(int status);
