#pragma once
// The system clipboard as the program's clipboard object sees it. The Qt
// implementation is the default; tests install a fake so that model code can
// be tested without a window system. Whether the program still owns what it
// put is always asked of the clipboard itself, never assumed.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard/ClipboardData.h"

class PlatformClipboard {
public:
    // The formats the program reads back, in its order of preference.
    enum Format { PrivateFormat = 1, TextFormat = 2, MetafileFormat = 3 };

    // The MIME types used on the clipboard.
    static constexpr const char* privateFormatName = "Quorvant Data";
    static constexpr const char* privateMimeType = "application/x-quorvant-data";
    static constexpr const char* textMimeType = "text/plain";
    static constexpr const char* utf8TextMimeType = "text/plain;charset=utf-8";
    static constexpr const char* metafileMimeType = "image/x-emf";
    static constexpr const char* metafileMimeTypeAlias = "image/emf";
    static constexpr const char* pngMimeType = "image/png";
    static constexpr const char* svgMimeType = "image/svg+xml";
    static constexpr const char* mathmlMimeType = "application/mathml+xml";

    virtual ~PlatformClipboard() = default;

    // Replaces the clipboard's content by data; false when the clipboard
    // cannot be reached (nothing is put then).
    virtual bool Put(const ClipboardData& data) = 0;
    // Empties the clipboard when the program still owns it; content another
    // program put there since is left alone.
    virtual void Clear() = 0;
    // True while what the program last put is still the clipboard's content.
    virtual bool OwnsClipboard() const = 0;
    // A number that changes whenever the clipboard's content changes, so
    // that content read once need not be read again while it stays.
    virtual uint64_t ChangeCount() const = 0;

    virtual bool HasFormat(Format format) const = 0;
    virtual std::optional<std::vector<uint8_t>> GetPrivateData() const = 0;
    // The text up to its first NUL, every line ended by one CR.
    virtual std::optional<std::string> GetText() const = 0;
    virtual std::optional<std::vector<uint8_t>> GetMetafile() const = 0;

    // The first of the formats, in the given order, that the clipboard
    // holds; 0 when it holds none of them.
    int GetPriorityFormat(const std::vector<Format>& formats) const;

    // The clipboard in use: the installed one, else the Qt one.
    static PlatformClipboard& Current();
    // Puts clipboard in place (null restores the Qt one); returns the one it
    // replaces (null when that was the Qt one).
    static PlatformClipboard* Install(PlatformClipboard* clipboard);
};
