#include "app/SpellChecker.h"

#include "foundation/CharComp.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/ActionView.h"
#include "foundation/CharTable.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"
#include "platform/framework/CWinApp.h"
#include "spelling/SpellingEngine.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMathStyle = 3;
constexpr int kTypewriterStyle = 4;
constexpr int32_t kSuggestionSize = 81;
constexpr int32_t kBlockSize = 256;

void ShowEngineError()
{
    std::string error = SpellingEngine::LastError();
    AfxMessageBox(error.empty() ? "The spelling checker stopped." : error.c_str());
}

}  // namespace

SpellChecker::SpellChecker(ActionView& view, ParagraphList& paragraphs, const DocSelection& selection,
                           DrawTarget* target)
    : m_view(view), m_paragraphs(paragraphs), m_target(target)
{
    const DocPosition start = selection.GetStart();
    const DocPosition end = selection.GetEnd();
    m_paragraphIndex = start.GetParagraphComp() ? paragraphs.IndexOf(start.GetParagraphComp()) : 0;
    m_lastParagraph = end.GetParagraphComp() ? paragraphs.IndexOf(end.GetParagraphComp()) : 0;
    m_index = std::max(start.GetParagraphIndex(true), 1);
    m_endIndex = end.GetParagraphIndex(true);
    if (m_paragraphIndex > 0 && m_lastParagraph >= m_paragraphIndex)
        m_row = paragraphs.GetAt(m_paragraphIndex)->GetRow();
}

bool SpellChecker::InRange() const
{
    if (m_paragraphIndex < m_lastParagraph)
        return m_index <= m_row->GetCount();
    return m_index < m_endIndex;
}

bool SpellChecker::IsTextChar(const TextComp* comp)
{
    if (!comp || comp->Tag() != tag_Char)
        return false;
    const int style = comp->GetFontId();
    return style != kMathStyle && style != kTypewriterStyle;
}

bool SpellChecker::StartsWord(const TextComp* comp)
{
    return IsTextChar(comp) && CharTable::GetKind(comp->GetChar()) == CharTable::letter;
}

bool SpellChecker::NextWord()
{
    m_word.Clear();
    while (m_row) {
        if (!InRange()) {
            if (m_paragraphIndex >= m_lastParagraph) {
                m_row = nullptr;
                break;
            }
            m_row = m_paragraphs.GetAt(++m_paragraphIndex)->GetRow();
            m_index = 1;
            continue;
        }
        if (StartsWord(m_row->GetAt(m_index)))
            break;
        ++m_index;
    }
    if (!m_row)
        return false;
    while (InRange() && m_word.GetLength() < Str255::kCapacity) {
        const TextComp* comp = m_row->GetAt(m_index);
        if (!IsTextChar(comp))
            break;
        const unsigned char code = comp->GetChar();
        if (CharTable::GetKind(code) != CharTable::letter && code != '\'')
            break;
        m_word.AppendChar(char(code));
        ++m_index;
    }
    // An apostrophe after the last letter closes a quotation: not part of the word.
    while (m_word.GetAt(m_word.GetLength() - 1) == '\'') {
        m_word.Truncate(m_word.GetLength() - 1);
        --m_index;
    }
    return true;
}

DocSelection SpellChecker::WordSelection() const
{
    return DocSelection(m_row, m_index - m_word.GetLength(), m_index);
}

void SpellChecker::Run()
{
    SSCE_SetRegTreeName(kSettingsKey);
    m_session = SSCE_OpenSession();
    if (m_session <= 0) {
        ShowEngineError();
        return;
    }
    m_continue = true;
    while (m_continue && NextWord())
        CheckCurrentWord();
    SSCE_CloseSession(m_session);
    m_session = 0;
    if (m_continue)
        AfxMessageBox(kFinishedMessage, MB_OK | MB_ICONINFORMATION);
}

void SpellChecker::CheckCurrentWord()
{
    char suggestion[kSuggestionSize];
    const int16_t verdict = SSCE_CheckWord(m_session, m_word.CStr(), suggestion, kSuggestionSize);
    if (verdict == kSpellWordCorrect)
        return;
    if (verdict < 0) {
        ShowEngineError();
        m_continue = false;
        return;
    }
    {
        DrawTargetScope drawing(m_target);
        const DocSelection word = WordSelection();
        m_view.SetSelection(word, true);
        m_view.ScrollToShow(word);
    }
    const int length = m_word.GetLength();
    char block[kBlockSize];
    std::memcpy(block, m_word.GetPtrAt(0), size_t(length));
    block[length] = 0;
    const int32_t corrected = SSCE_CheckBlockDlg(nullptr, block, length, kBlockSize, 0);
    if (corrected <= 0) {
        if (corrected != kSpellCancelled && corrected != 0)
            ShowEngineError();
        m_continue = false;
        return;
    }
    // Ignoring a word answers it unchanged: the document stays as it was.
    if (corrected != length || std::memcmp(block, m_word.GetPtrAt(0), size_t(length)) != 0)
        ReplaceWord(block, int(std::min<int32_t>(corrected, kBlockSize - 1)));
}

void SpellChecker::ReplaceWord(const char* text, int length)
{
    const int oldLength = m_word.GetLength();
    const int32_t start = m_index - oldLength;
    FontFace* face = gFontManager ? gFontManager->GetFace(m_row->GetAt(start)->GetFontId()) : nullptr;
    if (!face)
        face = gTextFace;
    auto characters = std::make_unique<CompArray>();
    for (int i = 0; i < length; ++i)
        characters->Append(face->GetCharacter(static_cast<unsigned char>(text[i])));
    m_view.DropUndoStep();
    std::unique_ptr<CompArray> removed = m_row->RemoveRange(start, m_index - 1);
    m_row->InsertAllAt(std::move(characters), start);
    for (int i = 1; i <= removed->GetCount(); ++i)
        removed->GetAt(i)->Delete();

    const int difference = length - oldLength;
    m_index += difference;
    if (m_paragraphIndex == m_lastParagraph)
        m_endIndex += difference;
    m_word.Clear();
    m_word.AppendText(std::string(text, size_t(length)).c_str());
    m_view.SetDocumentModified();

    DrawTargetScope drawing(m_target);
    m_view.UpdateLayoutFrom(m_paragraphIndex, start);
    const DocSelection caret(m_row, m_index, m_index);
    m_view.SetSelection(caret, true);
    m_view.ScrollToShow(caret);
}

void CheckSpellingOfSelection(ActionView& view, ParagraphList& paragraphs, DrawTarget* target)
{
    SpellChecker(view, paragraphs, view.GetSelection(), target).Run();
}

void CheckSpellingOfDocument(ActionView& view, ParagraphList& paragraphs, DrawTarget* target)
{
    SpellChecker(view, paragraphs, paragraphs.GetFullSelection(), target).Run();
}
