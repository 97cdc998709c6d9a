#include "spelling/SpellingEngine.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/Exceptions.h"
#include "spelling/SpellingDialog.h"
#include "spelling/SpellingSession.h"

namespace {

struct EngineState {
    std::string group = SpellingSettings::kDefaultGroup;
    std::map<int16_t, std::unique_ptr<SpellingSession>> sessions;
    int16_t lastOpened = 0;
    int16_t nextNumber = 1;
    std::string lastError;
    SpellingAsker* asker = nullptr;
};

EngineState& State()
{
    static EngineState state;
    return state;
}

int16_t Fail(int16_t code, std::string text)
{
    State().lastError = std::move(text);
    return code;
}

int16_t NextFreeNumber()
{
    EngineState& s = State();
    while (s.sessions.count(s.nextNumber) || s.nextNumber <= 0)
        s.nextNumber = s.nextNumber <= 0 || s.nextNumber == INT16_MAX ? 1 : int16_t(s.nextNumber + 1);
    return s.nextNumber++;
}

// Opens a session or answers why it could not.
std::unique_ptr<SpellingSession> NewSession(std::string* error)
{
    try {
        return std::make_unique<SpellingSession>(State().group);
    } catch (const CException& e) {
        *error = std::string("The spelling dictionary could not be loaded. ") + e.what();
    } catch (const std::exception& e) {
        *error = std::string("The spelling checker could not start. ") + e.what();
    }
    return nullptr;
}

}  // namespace

int16_t SSCE_SetRegTreeName(const char* key)
{
    if (!key)
        return Fail(kSpellBadArgument, "No settings key was given.");
    State().group = SpellingSettingsGroup(key);
    State().lastError.clear();
    return 0;
}

int16_t SSCE_OpenSession()
{
    std::string error;
    std::unique_ptr<SpellingSession> session = NewSession(&error);
    if (!session)
        return Fail(kSpellNoDictionary, error);
    EngineState& s = State();
    int16_t number = NextFreeNumber();
    s.sessions[number] = std::move(session);
    s.lastOpened = number;
    s.lastError.clear();
    return number;
}

int16_t SSCE_CloseSession(int16_t session)
{
    EngineState& s = State();
    if (!s.sessions.erase(session))
        return Fail(kSpellBadSession, "No spelling session is open with that number.");
    if (s.lastOpened == session)
        s.lastOpened = s.sessions.empty() ? 0 : s.sessions.rbegin()->first;
    s.lastError.clear();
    return 0;
}

int16_t SSCE_CheckWord(int16_t session, const char* word, char* replacement, int32_t replacementSize)
{
    SpellingSession* open = SpellingEngine::Session(session);
    if (!open)
        return Fail(kSpellBadSession, "No spelling session is open with that number.");
    if (!word || (replacementSize > 0 && !replacement) || replacementSize < 0)
        return Fail(kSpellBadArgument, "The word or its replacement buffer is missing.");
    State().lastError.clear();
    std::string text(word);
    if (replacementSize > 0)
        replacement[0] = 0;
    if (open->IsCorrect(text))
        return kSpellWordCorrect;
    if (replacementSize > 1) {
        std::vector<std::string> suggestions = open->Suggest(text);
        if (!suggestions.empty()) {
            size_t count = std::min(suggestions.front().size(), size_t(replacementSize - 1));
            std::memcpy(replacement, suggestions.front().data(), count);
            replacement[count] = 0;
        }
    }
    return kSpellWordMisspelled;
}

int32_t SSCE_CheckBlockDlg(CWnd* parent, char* text, int32_t length, int32_t bufferSize, int16_t /*flags*/)
{
    if (!text || length < 0 || bufferSize <= 0 || length >= bufferSize)
        return Fail(kSpellBadArgument, "The text to check does not fit its buffer.");
    EngineState& s = State();
    std::unique_ptr<SpellingSession> ownSession;
    SpellingSession* session = SpellingEngine::Session(s.lastOpened);
    if (!session) {
        std::string error;
        ownSession = NewSession(&error);
        if (!ownSession)
            return Fail(kSpellNoDictionary, error);
        session = ownSession.get();
    }
    std::string block(text, size_t(length));
    SpellingSession::BlockResult result;
    if (s.asker) {
        result = session->CheckBlock(block, *s.asker, size_t(bufferSize - 1));
    } else {
        SpellingDialog dialog(parent);
        result = session->CheckBlock(block, dialog, size_t(bufferSize - 1));
    }
    s.lastError.clear();
    if (result == SpellingSession::BlockResult::Cancelled)
        return kSpellCancelled;
    std::memcpy(text, block.data(), block.size());
    text[block.size()] = 0;
    return int32_t(block.size());
}

std::string SpellingEngine::LastError()
{
    return State().lastError;
}

std::string SpellingEngine::SettingsGroup()
{
    return State().group;
}

SpellingSession* SpellingEngine::Session(int16_t session)
{
    auto found = State().sessions.find(session);
    return found == State().sessions.end() ? nullptr : found->second.get();
}

SpellingAsker* SpellingEngine::SetAsker(SpellingAsker* asker)
{
    SpellingAsker* old = State().asker;
    State().asker = asker;
    return old;
}

void SpellingEngine::Reset()
{
    EngineState& s = State();
    s.sessions.clear();
    s.lastOpened = 0;
    s.nextNumber = 1;
    s.group = SpellingSettings::kDefaultGroup;
    s.lastError.clear();
}
