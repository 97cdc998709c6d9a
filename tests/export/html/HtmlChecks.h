#pragma once
// Checks of exported HTML pages for the tests: the page's tags, the nesting
// faults a browser would have to repair, PNG files read back with libpng,
// and external programs (xmllint, Chromium) run with a time limit.
#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QStringList>

#include <png.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace htmlchecks {

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Tag {
    std::string name;
    bool end = false;
    std::map<std::string, std::string> attributes;
};

// The start and end tags of a page, in order (the doctype left out).
inline std::vector<Tag> TagsOf(const std::string& page)
{
    std::vector<Tag> tags;
    static const QRegularExpression tagPattern(R"(<(/?)([a-zA-Z0-9]+)([^>]*)>)");
    static const QRegularExpression attributePattern(R"re(([a-zA-Z-]+)="([^"]*)")re");
    auto matches = tagPattern.globalMatch(QString::fromStdString(page));
    while (matches.hasNext()) {
        auto match = matches.next();
        Tag tag{match.captured(2).toLower().toStdString(), !match.captured(1).isEmpty(), {}};
        auto attributes = attributePattern.globalMatch(match.captured(3));
        while (attributes.hasNext()) {
            auto attribute = attributes.next();
            tag.attributes[attribute.captured(1).toLower().toStdString()] = attribute.captured(2).toStdString();
        }
        tags.push_back(tag);
    }
    return tags;
}

// What a browser would have to repair: an end tag that does not close the
// element open last, a block inside a paragraph, a list directly inside a
// list, an item outside a list, a picture without alternative text.
inline std::string NestingFaults(const std::string& page)
{
    static const std::set<std::string> empty = {"img", "meta", "br"};
    static const std::set<std::string> blocks = {"p", "table", "ol", "ul", "pre", "h1", "h2", "h3"};
    std::vector<std::string> open;
    std::string faults;
    for (const Tag& tag : TagsOf(page)) {
        if (tag.end) {
            if (open.empty() || open.back() != tag.name)
                faults += "</" + tag.name + "> closes " + (open.empty() ? "nothing" : open.back()) + "; ";
            else
                open.pop_back();
            continue;
        }
        if (blocks.count(tag.name) && std::find(open.begin(), open.end(), "p") != open.end())
            faults += tag.name + " inside p; ";
        if ((tag.name == "ol" || tag.name == "ul") && !open.empty() && (open.back() == "ol" || open.back() == "ul"))
            faults += tag.name + " directly inside " + open.back() + "; ";
        if (tag.name == "li" && (open.empty() || (open.back() != "ol" && open.back() != "ul")))
            faults += "li outside a list; ";
        if (tag.name == "img" && !tag.attributes.count("alt"))
            faults += "img without alt; ";
        if (!empty.count(tag.name))
            open.push_back(tag.name);
    }
    if (!open.empty())
        faults += "left open: " + open.back();
    return faults;
}

// The size of a PNG file as libpng reads it, with every row decoded; empty
// when libpng cannot read it.
inline QSize ReadPngSize(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    return QSize(int(image.width), int(image.height));
}

struct ProgramRun {
    int code = -1;  // -1: not started, -2: timed out
    std::string output;
};

// systemFonts: the program sees the machine's fonts, not the tests' own set.
inline ProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
                             bool systemFonts = false)
{
    ProgramRun run;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (systemFonts) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("FONTCONFIG_FILE");
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        run.code = -2;
        return run;
    }
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
    run.output = process.readAll().toStdString();
    return run;
}

// The page opened in headless Chromium, its screenshot saved at shot.
inline ProgramRun ScreenshotInChromium(const std::string& page, const std::string& shot, const std::string& profile,
                                       QSize window)
{
    return RunProgram("chromium", {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                                   QString("--window-size=%1,%2").arg(window.width()).arg(window.height()),
                                   "--user-data-dir=" + QString::fromStdString(profile),
                                   "--screenshot=" + QString::fromStdString(shot),
                                   QString::fromStdString("file://" + page)},
                      120000, true);
}

// The page printed by headless Chromium into a PDF at pdf: what a reader
// sees of it, as text that pdftotext reads.
inline ProgramRun PrintInChromium(const std::string& page, const std::string& pdf, const std::string& profile)
{
    return RunProgram("chromium",
                      {"--headless", "--no-sandbox", "--disable-gpu", "--no-pdf-header-footer",
                       "--user-data-dir=" + QString::fromStdString(profile),
                       "--print-to-pdf=" + QString::fromStdString(pdf), QString::fromStdString("file://" + page)},
                      120000, true);
}

}  // namespace htmlchecks
