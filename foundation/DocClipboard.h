#pragma once
// The program's side of the system clipboard. It puts copied content on the
// clipboard in the private format ("Quorvant Data": the archive of a
// paragraph list) and as plain text, reads back its own format, plain text
// (one paragraph per line) or a picture, and keeps the content it last put
// or read. Whether the program still owns the clipboard is always asked of
// the clipboard; content another program put there is never overwritten by
// an undo. Every piece of content has exactly one owner: what the clipboard
// hands out is a copy.
#include "foundation/DocSelection.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DocumentModel;
class ParagraphList;
class PlatformClipboard;
class TextComp;

class DocClipboard {
public:
    // Makes a component showing a picture (a picture component) from
    // enhanced-metafile bytes; installed by the math components.
    using PictureMaker = TextComp* (*)(const std::vector<uint8_t>& metafile);

    DocClipboard();
    ~DocClipboard();
    DocClipboard(const DocClipboard&) = delete;
    DocClipboard& operator=(const DocClipboard&) = delete;

    // Takes the content (a fragment selection) and puts it on the clipboard
    // as text and in the private format. False (and the content destroyed)
    // when the clipboard cannot be reached.
    bool Put(DocSelection content);
    // Brings the kept content up to date with the clipboard. Raises the
    // reader's exception for a private block that cannot be read.
    void Refresh();
    // A copy of the clipboard's content for the caller to keep; empty when
    // there is none.
    DocSelection GetContent();
    // The same, taken to remember the clipboard's earlier content for undo.
    DocSelection SaveContent(DocumentModel* document);
    // The kept content itself (the clipboard still owns it).
    DocSelection GetContentCopy();
    // The clipboard holds a format the program reads.
    bool HasData() const;
    // Whether what the program last put is still on the clipboard.
    bool OwnsClipboard() const;
    // Destroys the kept content and empties the clipboard when the program
    // still owns it.
    void Clear();
    // Puts a picture (a picture component is kept when a picture maker is
    // installed).
    bool PutMetafile(const std::vector<uint8_t>& metafile);
    // Puts text (MathML or SVG) and keeps it as paragraphs, one per line;
    // the text is also offered under the MIME type given. The paragraphs
    // are made only when the content is asked for: a long formula's MathML
    // as paragraphs would take some forty times the text's size.
    bool PutTextBlock(const std::string& text, const char* mimeType);
    // The text block last put, while it is the clipboard's content and not
    // yet made into paragraphs (empty otherwise), with its MIME type: a copy
    // remembers the earlier content for undo by it.
    struct TextBlock {
        std::string text;
        std::string mimeType;
    };
    TextBlock PendingTextBlock() const;

    static void SetPictureMaker(PictureMaker maker) { s_pictureMaker = maker; }

    // The archive bytes and the text the clipboard gives for a fragment.
    static std::vector<uint8_t> PrivateBytes(const ParagraphList& list);
    static std::string PlainText(const ParagraphList& list);
    // Paragraphs, one per line of text read up to its first NUL; *left (when
    // given) counts the characters no face holds, which are left out.
    static std::unique_ptr<ParagraphList> ParagraphsFromText(const std::string& text, int* left = nullptr);
    // Whether the content read from another program's text left out
    // characters no face holds (pasting it says so once).
    bool LeftOutCharacters() const { return m_hasContent && m_leftOut; }

private:
    void Keep(DocSelection content);
    void DropKept();
    bool ReadClipboard(PlatformClipboard& clipboard);

    DocSelection m_content;
    bool m_hasContent = false;
    // The text block put last, kept as text until its paragraphs are needed.
    TextBlock m_pending;
    // The content was read from another program's clipboard, whose change
    // count was then m_readAt: it stays as read until the clipboard changes.
    bool m_foreign = false;
    bool m_leftOut = false;
    uint64_t m_readAt = 0;
    static PictureMaker s_pictureMaker;
};

// The one clipboard object of the program (null before start-up and after
// exit). User-interface thread only.
extern DocClipboard* gDocClipboard;
