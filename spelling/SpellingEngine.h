#pragma once
// The spelling engine's calls as the editor uses them: name the settings key,
// open a session, check a word, and run the correction dialog over a block of
// text. Sessions are small numbers; texts are the program's 8-bit text codes.
//
// A check run: SSCE_SetRegTreeName, SSCE_OpenSession (a result of 0 or less
// means no session: show SpellingEngine::LastError), SSCE_CheckWord for each
// word, SSCE_CheckBlockDlg on each misspelled one (it shares the session's
// "Ignore All" words), and SSCE_CloseSession when the run ends.
//
// Beyond those calls: the last error's text (for the message the editor
// shows when a session cannot open), and the asker that the correction runs
// use in place of the dialog (tests script one).
#include <cstdint>
#include <string>

class CWnd;
class SpellingAsker;
class SpellingSession;

// SSCE_CheckWord's answers.
constexpr int16_t kSpellWordCorrect = 0;
constexpr int16_t kSpellWordMisspelled = 1;
// Failures, for every call (always below 0).
constexpr int16_t kSpellCancelled = -1;      // the user cancelled the correction
constexpr int16_t kSpellNoDictionary = -2;   // the dictionary could not be loaded
constexpr int16_t kSpellBadSession = -3;     // no open session has that number
constexpr int16_t kSpellBadArgument = -4;    // a null text, a length beyond the buffer, ...

// Settings are kept under this registry-style key (as a settings group).
int16_t SSCE_SetRegTreeName(const char* key);

// A new session (1 or more) with the dictionary and options of the
// settings, or kSpellNoDictionary (see SpellingEngine::LastError).
int16_t SSCE_OpenSession();
int16_t SSCE_CloseSession(int16_t session);

// kSpellWordCorrect or kSpellWordMisspelled; for a misspelled word the best
// suggestion (or nothing) is put in `replacement`, cut to fit and ended by 0.
int16_t SSCE_CheckWord(int16_t session, const char* word, char* replacement, int32_t replacementSize);

// Checks the `length` characters of `text` in the correction dialog (or the
// installed asker), word by word, in the most recently opened session (a
// session of its own when none is open). Replacements are made in the buffer,
// which holds bufferSize characters including the closing 0. Answers the new
// length, kSpellCancelled when the user cancelled, or another failure.
int32_t SSCE_CheckBlockDlg(CWnd* parent, char* text, int32_t length, int32_t bufferSize, int16_t flags);

class SpellingEngine {
public:
    // Why the last call failed (empty after a call that succeeded).
    static std::string LastError();
    // The settings group that sessions open with.
    static std::string SettingsGroup();
    // The open session with that number, or null.
    static SpellingSession* Session(int16_t session);

    // The asker that SSCE_CheckBlockDlg uses; null (the default) means the
    // correction dialog. Answers the asker it replaces.
    static SpellingAsker* SetAsker(SpellingAsker* asker);

    // Closes every session and goes back to the default settings key.
    static void Reset();
};
