#pragma once
// The picture files of one export, named "<stem>-<format><n><extension>"
// after a page whose name ends in its format's usual extension, the stem
// being the name without it ("page.htm" names "page-html0.png"), and
// "<stem>-<format>-<n><extension>" after any other page, the stem being its
// whole name ("page.html" names "page.html-html-0.png"). The stem may be a
// form of the name that is one to one; neither the format nor the number
// holds a "-", so the name's last "-" tells the two kinds apart (a letter or
// a digit follows it) and parts the stem from the rest. Pages of different
// names, in any formats, therefore never share or replace each other's
// pictures in one folder. A name too long for
// the folder keeps the start of its stem and a digest of the whole. Pictures go
// into temporaries that are created new beside their names (never through a
// link, never over a file) and take their names only when the page is
// complete: an export that fails leaves every earlier file as it was, and a
// successful one replaces its own earlier pictures only.
//
// The pixels one export renders are bounded: a picture that would pass the
// bound is left out, and LeftOutMessage names it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CWebImageDC;

// A file name as a relative address: characters other than letters, digits
// and "-._~" are percent-encoded (UTF-8 bytes each).
std::string RelativeUrlOfName(const std::string& name);

// How the pictures of the page at path (its folder is ignored) are named
// in a format whose usual extension is given (".htm"): the stem, and
// whether it is the whole name. A name that is only the extension is kept
// whole.
struct PictureStem {
    std::string stem;
    bool wholeName = false;
};
PictureStem PictureStemOf(const std::string& path, std::string_view usualExtension);

class ExportPictureFiles {
public:
    // About thirty plots of the text's width at twice the screen's
    // resolution, which are written in a few seconds.
    static constexpr int64_t kPixelBudget = int64_t(32) << 20;

    // folder: empty or ending with '/'; stem: the page's name without folder
    // and extension, or a one-to-one form of it; format: the short name of
    // the export's format (letters only); pictures are numbered from first.
    ExportPictureFiles(std::string folder, std::string stem, std::string format, int first = 1,
                       int64_t pixelBudget = kPixelBudget);
    // Removes the temporaries of an export that did not finish, and puts
    // back what its placing replaced.
    ~ExportPictureFiles();
    ExportPictureFiles(const ExportPictureFiles&) = delete;
    ExportPictureFiles& operator=(const ExportPictureFiles&) = delete;

    // The stem is a page's whole name: its pictures carry the second "-".
    void MarkWholeName(bool whole) { m_wholeName = whole; }
    // The next picture's number and its file name (without the folder).
    std::string NextName(std::string_view extension);
    // Whether a picture of width by height pixels may still be rendered;
    // when not it is counted as left out under its name.
    bool Admit(int64_t width, int64_t height, const std::string& name);
    // Writes the image as a PNG file, or the bytes, into a new temporary
    // for the name; false (with Error set) on failure.
    bool SavePng(CWebImageDC& image, const std::string& name);
    bool SaveBytes(std::string_view bytes, const std::string& name);

    // Gives every temporary its name; what was there is kept aside until
    // Finish or Restore. False, with every file as it was, on failure.
    bool Place();
    // The page is in place: the kept files go.
    void Finish();
    // The page could not be placed: the pictures are taken away again and
    // the kept files put back.
    void Restore();

    // The first failure of the export's pictures (empty when none failed).
    const std::string& Error() const { return m_error; }
    void NoteError(const std::string& message);
    // Why pictures were left out and which (empty when none was).
    std::string LeftOutMessage() const;
    int64_t RenderedPixels() const { return m_rendered; }
    int PictureCount() const { return m_count; }
    // The full paths the pictures have once placed.
    std::vector<std::string> PlacedPaths() const;

private:
    struct File {
        std::string temporary;
        std::string final;
        std::string kept; // the earlier file, set aside while placing
        bool placed = false;
    };
    std::string NewTemporary(const std::string& name);
    // The stem as it fits before a tail in a name the folder takes.
    std::string FittedStem(std::size_t tail) const;

    std::string m_folder;
    std::string m_stem;
    std::string m_format;
    int m_next;
    bool m_wholeName = false;
    std::size_t m_nameLimit;
    int64_t m_budget;
    int64_t m_rendered = 0;
    int m_count = 0;
    bool m_finished = false;
    std::vector<File> m_files;
    std::vector<std::string> m_leftOut;
    std::string m_error;
};
