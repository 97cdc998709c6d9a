// Exports of one document to every format into one folder: each format's
// page keeps showing its own pictures whatever is exported after it, pages
// of names whose pictures once collided keep theirs too, an export that
// fails over an earlier one leaves that page and its pictures byte for
// byte, a file name full of address characters still names its pictures,
// and a symbolic link planted in the folder is never followed.
#include "export/html/HtmlChecks.h"

#include "export/ExportPictureFiles.h"
#include "export/HtmlExport.h"
#include "export/LaTeXExport.h"
#include "export/XhtmlExport.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/IntPoint.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Rect.h"
#include "foundation/Region.h"
#include "math/PictureComp.h"
#include "support/export/EveryComponentDocument.h"
#include "support/export/PdfLaTeX.h"
#include "support/TestOutputFolder.h"

#include <QImage>
#include <QProcess>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace htmlchecks;

namespace {

// Every plain file of the folder by name, with its bytes.
using Snapshot = std::map<std::string, std::string>;
Snapshot Files(const std::string& folder)
{
    Snapshot files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && !entry.is_symlink())
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
    return files;
}

// The picture files a page names (its "src" attributes or included files).
std::vector<std::string> NamedPictures(const std::string& page)
{
    std::vector<std::string> names;
    for (const char* head : {"src=\"", ".png}"}) {
        const std::string open = head;
        for (size_t at = page.find(open); at != std::string::npos; at = page.find(open, at + 1)) {
            if (open == ".png}") {
                const size_t start = page.rfind('{', at) + 1;
                names.push_back(page.substr(start, at + 4 - start));
            } else {
                const size_t start = at + open.size();
                names.push_back(page.substr(start, page.find_first_of("\"}", start) - start));
            }
        }
    }
    return names;
}

// A page named with the extension its export proposes, and another
// extension a user may give it.
struct Format {
    const char* name;
    const char* file;
    const char* other;
    std::function<std::string(ParagraphList&, const std::string&)> run; // "" or why it failed
};

std::vector<Format> Formats()
{
    return {
        {"XHTML", "page.xml", ".xhtml",
         [](ParagraphList& list, const std::string& path) {
             const XhtmlExportResult result = WriteXhtmlExport(list, path, "Page", true);
             return result.ok ? std::string() : "failed: " + result.message;
         }},
        {"HTML", "page.htm", ".html",
         [](ParagraphList& list, const std::string& path) {
             HtmlExportSettings settings;
             settings.path = path;
             settings.title = "Page";
             settings.firstCellWidth = 600;
             settings.secondCellWidth = 100;
             const HtmlExportResult result = WriteHtmlExport(list, settings);
             return result.ok ? std::string() : "failed: " + result.message;
         }},
        {"LaTeX", "page.tex", ".TEX",
         [](ParagraphList& list, const std::string& path) {
             const ExportOutcome outcome = ExportLaTeXFile(list, path, false);
             return outcome.written ? std::string() : "failed: " + outcome.message;
         }},
        {"TechExplorer", "page.tcx", ".TCX",
         [](ParagraphList& list, const std::string& path) {
             const ExportOutcome outcome = ExportLaTeXFile(list, path, true);
             return outcome.written ? std::string() : "failed: " + outcome.message;
         }},
    };
}

std::string LongName(std::size_t bytes)
{
    std::string name(bytes % 3, 'x');
    while (name.size() < bytes)
        name += "\u5F0F";
    return name;
}

// Page names whose pictures once shared names, in pairs.
// clang-format off
const std::vector<std::string> kCollidingNames = {
    "p", "p1",              // HTML: the eleventh picture of one, the first of the other
    "notes", "notes1",      // the same
    "page-xhtml", "page",   // an HTML page took the XHTML page's pictures
    "a b", "a-b",           // LaTeX made every byte but letters and digits "-", and so
    "\u0437\u0430\u0434\u0430\u0447\u0430", "\u043C\u043E\u0434\u0435\u043B\u044C", // any non-ASCII names of one length
    LongName(230), LongName(249), // no room for temporaries; ".xhtml" fills the limit
};
// clang-format on
// Each name is exported with each format's usual extension and with the
// other one (a.htm and a.html, r.tex and r.TEX), which once named the same
// pictures.
constexpr std::size_t kExtensions = 2;

// The colour of the pictures of the page of name n with extension e.
QColor ColourOf(std::size_t n, std::size_t e = 0)
{
    return QColor::fromHsv(int((n * kExtensions + e) * 360 / (kCollidingNames.size() * kExtensions)), 255, 230);
}

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 40;
}

class SharedFolderExport : public ::testing::Test {
protected:
    // Eleven pictures in the colour, each alone in its paragraph.
    std::unique_ptr<ParagraphList> PictureDocument(QColor colour)
    {
        auto list = std::make_unique<ParagraphList>();
        for (int i = 0; i < 11; ++i) {
            gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 12, 12));
            gDrawContext.FillRegion(Region::RegionFromRect(Rect(0, 0, 12, 12)),
                                    RGB(colour.red(), colour.green(), colour.blue()));
            HENHMETAFILE recorded = gDrawContext.EndMetafile();
            auto* paragraph = new ParagraphComp(3);
            paragraph->GetRow()->Append(new PictureComp(recorded));
            DrawContext::DeleteMetafile(recorded);
            list->Append(paragraph);
        }
        list->RelayoutAll(false);
        return list;
    }

    // A picture paragraph at the end of the document: one more picture.
    void AppendPicture()
    {
        gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 40, 40));
        gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(40, 40));
        HENHMETAFILE recorded = gDrawContext.EndMetafile();
        auto* paragraph = new ParagraphComp(3);
        paragraph->GetRow()->Append(new PictureComp(recorded));
        DrawContext::DeleteMetafile(recorded);
        document.Paragraphs().Append(paragraph);
    }

    EveryComponentDocument document;
};

TEST_F(SharedFolderExport, EveryFormatKeepsShowingItsOwnPictures)
{
    const std::string folder = TestOutputFolder();
    std::map<std::string, Snapshot> own; // each format's page and pictures as it wrote them
    Snapshot before;
    for (const Format& format : Formats()) {
        SCOPED_TRACE(format.name);
        ASSERT_EQ(format.run(document.Paragraphs(), folder + "/" + format.file), "");
        const Snapshot after = Files(folder);
        for (const auto& [name, bytes] : after)
            if (!before.count(name) || before.at(name) != bytes)
                own[format.name][name] = bytes;
        // No earlier format's file was changed or removed.
        for (const auto& [name, bytes] : before)
            EXPECT_TRUE(after.count(name) && after.at(name) == bytes) << name;
        before = after;
    }
    // Every page names only pictures its own export wrote, and at least two.
    for (const Format& format : Formats()) {
        SCOPED_TRACE(format.name);
        const Snapshot& files = own[format.name];
        const std::vector<std::string> named = NamedPictures(files.at(format.file));
        EXPECT_GE(named.size(), 2u);
        for (const std::string& src : named) {
            const std::string name = QUrl::fromPercentEncoding(QByteArray::fromStdString(src)).toStdString();
            EXPECT_TRUE(files.count(name)) << name << " is not this export's";
        }
    }

    // The browser shows both web pages; pdflatex compiles the LaTeX page with
    // its own pictures. The screenshots stay in the folder to be looked at.
    for (const char* page : {"page.xml", "page.htm"}) {
        const std::string shot = folder + "/shown-" + page + ".png";
        const ProgramRun run = ScreenshotInChromium(folder + "/" + page, shot, folder + "/profile", QSize(1000, 3000));
        if (run.code == -1)
            GTEST_SKIP() << "chromium is not installed";
        fs::remove_all(folder + "/profile");
        EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull()) << run.output;
    }
    QProcess latex;
    latex.setWorkingDirectory(QString::fromStdString(folder));
    latex.start("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape", "page.tex"});
    ASSERT_TRUE(latex.waitForFinished(120000));
    EXPECT_EQ(latex.exitCode(), 0) << latex.readAllStandardOutput().toStdString().substr(0, 3000);
    const std::string log = ReadFile(folder + "/page.log");
    for (const std::string& name : NamedPictures(own["LaTeX"].at("page.tex")))
        EXPECT_NE(log.find(name), std::string::npos) << name << " was not included";
}

// Every name exported in every format, with either extension, into one
// folder (the long ones twice, over their earlier pictures): no two pages
// name one picture, every picture
// a page names holds its page's colour, the browser shows each web page in
// its colour only, and pdflatex compiles each LaTeX page with its pictures.
TEST_F(SharedFolderExport, PagesOfDifferentNamesNeverShareAPicture)
{
    const std::string folder = TestOutputFolder();
    std::map<std::string, std::string> namedBy; // picture -> the page that names it
    std::map<std::string, QColor> colourOf;     // page -> its pictures' colour
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t n = 0; n < kCollidingNames.size(); ++n)
            for (std::size_t e = 0; e < kExtensions; ++e) {
                if (pass > 0 && kCollidingNames[n].size() < 200)
                    continue;
                std::unique_ptr<ParagraphList> document = PictureDocument(ColourOf(n, e));
                for (const Format& format : Formats()) {
                    const std::string page =
                        kCollidingNames[n] + (e == 0 ? fs::path(format.file).extension().string() : format.other);
                    ASSERT_EQ(format.run(*document, folder + "/" + page), "") << page << ", pass " << pass;
                    colourOf[page] = ColourOf(n, e);
                    for (const std::string& src : NamedPictures(ReadFile(folder + "/" + page))) {
                        const std::string name =
                            QUrl::fromPercentEncoding(QByteArray::fromStdString(src)).toStdString();
                        EXPECT_EQ(namedBy.emplace(name, page).first->second, page) << page << " names " << name;
                    }
                }
            }
    for (const auto& [name, page] : namedBy) {
        const QImage picture(QString::fromStdString(folder + "/" + name));
        EXPECT_TRUE(!picture.isNull() && Near(picture.pixelColor(picture.rect().center()), colourOf[page]))
            << page << " names " << name;
    }
    EXPECT_EQ(namedBy.size(), 11 * colourOf.size());
    std::vector<std::string> webPages;
    for (const auto& [page, colour] : colourOf) {
        if (page.ends_with(".tex") || page.ends_with(".TEX")) {
            EXPECT_EQ(CompileLaTeX(folder + "/" + page), "") << page;
        }
        for (const char* web : {".htm", ".html", ".xml", ".xhtml"})
            if (page.ends_with(web))
                webPages.push_back(page);
    }

    // The web pages side by side, each in a frame of its own.
    constexpr int kColumns = 8, kWidth = 120, kHeight = 300;
    std::string index = "<html><body style=\"margin: 0\">";
    for (std::size_t i = 0; i < webPages.size(); ++i)
        index += "<iframe style=\"position: absolute; border: 0; left: " + std::to_string(i % kColumns * kWidth) +
            "px; top: " + std::to_string(i / kColumns * kHeight) + "px; width: " + std::to_string(kWidth) +
            "px; height: " + std::to_string(kHeight) + "px\" src=\"" + RelativeUrlOfName(webPages[i]) + "\"></iframe>";
    std::ofstream(folder + "/index.html") << index << "</body></html>";
    const QSize window(kColumns * kWidth, int(webPages.size() + kColumns - 1) / kColumns * kHeight);
    const ProgramRun run =
        ScreenshotInChromium(folder + "/index.html", folder + "/shown.png", folder + "/profile", window);
    if (run.code == -1)
        GTEST_SKIP() << "chromium is not installed";
    fs::remove_all(folder + "/profile");
    const QImage shown(QString::fromStdString(folder + "/shown.png"));
    ASSERT_FALSE(shown.isNull()) << run.output;
    for (std::size_t i = 0; i < webPages.size(); ++i) {
        std::map<std::string, int> counts; // page -> pixels in its colour
        for (int y = int(i / kColumns) * kHeight; y < int(i / kColumns + 1) * kHeight; ++y)
            for (int x = int(i % kColumns) * kWidth; x < int(i % kColumns + 1) * kWidth; ++x)
                for (const auto& [page, colour] : colourOf)
                    counts[page] += Near(shown.pixelColor(x, y), colour);
        EXPECT_GE(counts[webPages[i]], 11 * 10 * 10) << webPages[i];
        for (const auto& [page, count] : counts)
            EXPECT_TRUE(colourOf[page] == colourOf[webPages[i]] || count == 0)
                << webPages[i] << " shows " << page << "'s colour";
    }
}

// The document gains a picture whose name is blocked by a folder, so the
// export fails as it places its pictures: the earlier page and every one of
// its pictures are as they were, and nothing of the failed export is left.
TEST_F(SharedFolderExport, AFailedExportLeavesTheEarlierPageAndItsPictures)
{
    const std::string folder = TestOutputFolder();
    std::map<std::string, int> counts;
    for (const Format& format : Formats()) {
        ASSERT_EQ(format.run(document.Paragraphs(), folder + "/" + format.file), "") << format.name;
        counts[format.name] = int(NamedPictures(ReadFile(folder + "/" + format.file)).size());
    }
    AppendPicture();
    const std::map<std::string, std::string> next = {
        {"XHTML", "page-xhtml" + std::to_string(counts["XHTML"] + 1) + ".png"},
        {"HTML", "page-html" + std::to_string(counts["HTML"]) + ".png"},
        {"LaTeX", "page-tex" + std::to_string(counts["LaTeX"] + 1) + ".png"},
        {"TechExplorer", "page-tcx" + std::to_string(counts["TechExplorer"] + 1) + ".png"},
    };
    for (const auto& [format, name] : next)
        fs::create_directories(folder + "/" + name + "/blocked");
    const Snapshot earlier = Files(folder);
    for (const Format& format : Formats()) {
        SCOPED_TRACE(format.name);
        const std::string outcome = format.run(document.Paragraphs(), folder + "/" + format.file);
        EXPECT_NE(outcome.find(next.at(format.name)), std::string::npos) << outcome;
        EXPECT_EQ(Files(folder), earlier);
    }
    // Nothing else: no temporaries, no kept copies.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, earlier.size() + next.size());
}

// Pictures of a page whose name holds "#", "%", "?" and a blank are named
// as addresses in the web pages and as plain names in the LaTeX source.
TEST_F(SharedFolderExport, AFileNameOfAddressCharactersStillNamesItsPictures)
{
    const std::string folder = TestOutputFolder();
    const std::string stem = "a#b%20c? d";
    for (const Format& format : Formats()) {
        SCOPED_TRACE(format.name);
        const std::string file = stem + fs::path(format.file).extension().string();
        ASSERT_EQ(format.run(document.Paragraphs(), folder + "/" + file), "");
        const std::vector<std::string> named = NamedPictures(ReadFile(folder + "/" + file));
        ASSERT_GE(named.size(), 2u);
        for (const std::string& src : named) {
            // The address decoded is the file's name.
            const std::string name = QUrl::fromPercentEncoding(QByteArray::fromStdString(src)).toStdString();
            EXPECT_TRUE(fs::is_regular_file(folder + "/" + name)) << src;
            EXPECT_EQ(src.find_first_of("#? "), std::string::npos) << src;
        }
    }
    fs::rename(folder + "/" + stem + ".tex", folder + "/main.tex");
    QProcess latex;
    latex.setWorkingDirectory(QString::fromStdString(folder));
    latex.start("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape", "main.tex"});
    ASSERT_TRUE(latex.waitForFinished(120000));
    EXPECT_EQ(latex.exitCode(), 0) << latex.readAllStandardOutput().toStdString().substr(0, 3000);
}

// Links planted under the names an export writes, and under the names the
// page's temporary once had, point at a file of someone else's: it keeps its
// bytes, and the exports' files are plain files of their own.
TEST_F(SharedFolderExport, APlantedSymbolicLinkIsNeverFollowed)
{
    const std::string folder = TestOutputFolder();
    const std::string victim = folder + "/victim";
    std::ofstream(victim) << "not yours";
    const std::string pid = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{
             "page-xhtml1.png", "page-html0.png", "page-tex1.png", "page-tex1.emf", "page-tcx1.png", ".page0.png.part",
             ".page-xhtml1.png.part", std::string(".page.") + pid + ".part"})
        fs::create_symlink(victim, folder + "/" + name);
    for (const Format& format : Formats())
        ASSERT_EQ(format.run(document.Paragraphs(), folder + "/" + format.file), "") << format.name;
    EXPECT_EQ(ReadFile(victim), "not yours");
    for (const std::string name : {"page-xhtml1.png", "page-html0.png", "page-tex1.png", "page-tcx1.png"})
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder + "/" + name))) << name;
}

} // namespace
