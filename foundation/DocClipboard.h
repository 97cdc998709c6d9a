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
#include "foundation/LeftOutCharacters.h"

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
    // A copy of the clipboard's content for the caller to keep (a paste);
    // empty when there is none. A text block put by the program is made into
    // paragraphs for the caller alone: the clipboard keeps only its text.
    DocSelection GetContent();
    // The same, taken to remember the clipboard's earlier content for undo.
    DocSelection SaveContent(DocumentModel* document);
    // The kept content itself (the clipboard still owns it).
    DocSelection GetContentCopy();
    // The clipboard holds a format the program reads.
    bool HasData() const;
    // Whether the content would paste at the position (the Paste item asks
    // on every update): a text block the program put answers without being
    // made into paragraphs.
    bool CanPasteAt(const DocPosition& position);
    // Whether what the program last put is still on the clipboard.
    bool OwnsClipboard() const;
    // Destroys the kept content and empties the clipboard when the program
    // still owns it.
    void Clear();
    // Puts a picture (a picture component is kept when a picture maker is
    // installed).
    bool PutMetafile(const std::vector<uint8_t>& metafile);
    // Puts text (MathML or SVG), whose content is its paragraphs, one per
    // line; the text is also offered under the MIME type given. The
    // clipboard keeps the text alone: a long formula's MathML as paragraphs
    // would take some forty times the text's size.
    bool PutTextBlock(const std::string& text, const char* mimeType);
    // The text block last put, while it is the clipboard's content (empty
    // otherwise), with its MIME type: a copy remembers the earlier content
    // for undo by it.
    struct TextBlock {
        std::string text;
        std::string mimeType;
    };
    TextBlock KeptTextBlock() const;
    // A number that changes whenever the program puts content on the
    // clipboard, empties it or hands its content to a paste: what a copy put
    // is still the content the user last used while the number is the one
    // the copy saw and the program still owns the clipboard.
    uint64_t Stamp() const { return m_stamp; }

    static void SetPictureMaker(PictureMaker maker) { s_pictureMaker = maker; }

    // The archive bytes and the text the clipboard gives for a fragment.
    static std::vector<uint8_t> PrivateBytes(const ParagraphList& list);
    static std::string PlainText(const ParagraphList& list);
    // Paragraphs, one per line of text read up to its first NUL; *left (when
    // given) receives the characters no face holds, which are left out.
    static std::unique_ptr<ParagraphList> ParagraphsFromText(const std::string& text,
                                                             LeftOutCharacters* left = nullptr);
    // The characters no face holds that the content read from another
    // program's text left out (a paste asks before it leaves them out).
    const LeftOutCharacters& LeftOut() const { return m_leftOut; }

private:
    void Keep(DocSelection content);
    void DropKept();
    bool ReadClipboard(PlatformClipboard& clipboard);

    DocSelection m_content;
    bool m_hasContent = false;
    // The text block put last: its paragraphs are made only for a paste.
    TextBlock m_textBlock;
    // The content was read from another program's clipboard, whose change
    // count was then m_readAt: it stays as read until the clipboard changes.
    bool m_foreign = false;
    // What reading that content left out; emptied with the content.
    LeftOutCharacters m_leftOut;
    uint64_t m_readAt = 0;
    uint64_t m_stamp = 0;
    static PictureMaker s_pictureMaker;
};

// The one clipboard object of the program (null before start-up and after
// exit). User-interface thread only.
extern DocClipboard* gDocClipboard;
