#include "platform/draw/FontMap.h"

#include "platform/draw/TextCodec.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QFontMetricsF>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// Fonts can be looked at only once the application object exists; nothing
// is remembered before then.
bool fontsAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool installed(const QString& family)
{
    if (!fontsAvailable())
        return false;
    static const QStringList families = QFontDatabase::families();
    return families.contains(family, Qt::CaseInsensitive);
}

QString firstInstalled(const QStringList& candidates)
{
    for (const QString& family : candidates)
        if (installed(family))
            return family;
    return candidates.first();
}

const QStringList& mathCandidates()
{
    static const QStringList list = {"FreeSerif", "DejaVu Sans", "DejaVu Math TeX Gyre", "STIXGeneral"};
    return list;
}

// The raw font of exactly this family, or an invalid one when the family is
// not installed (no substitute is accepted).
QRawFont rawFontOf(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || raw.familyName().compare(family, Qt::CaseInsensitive) != 0)
        return QRawFont();
    return raw;
}

bool coversAll(const QString& family)
{
    QRawFont raw = rawFontOf(family, 64);
    if (!raw.isValid())
        return false;
    const QList<char32_t> needed = FontMap::RequiredMathCharacters();
    return std::all_of(needed.begin(), needed.end(), [&](char32_t ch) { return raw.supportsCharacter(uint(ch)); });
}

}  // namespace

namespace FontMap {

QString MathFamily()
{
    if (!fontsAvailable())
        return mathCandidates().first();
    static const QString family = [] {
        for (const QString& candidate : mathCandidates())
            if (coversAll(candidate))
                return candidate;
        return firstInstalled(mathCandidates());
    }();
    return family;
}

QList<char32_t> RequiredMathCharacters()
{
    QList<char32_t> list;
    for (int code = 33; code < 256; ++code) {
        char32_t ch = TextCodec::ToUnicode(static_cast<unsigned char>(code), SYMBOL_CHARSET);
        if (ch > 0x20 && ch != 0x7F && ch != 0xA0 && !list.contains(ch))
            list.append(ch);
    }
    for (char32_t ch = 0x239B; ch <= 0x23AD; ++ch)
        if (!list.contains(ch))
            list.append(ch);
    return list;
}

QString FamilyFor(const QString& faceName)
{
    const QString key = faceName.trimmed().toLower();
    if (key == "corvell roman")
        return firstInstalled({"Liberation Serif", "DejaVu Serif", "FreeSerif"});
    if (key == "courier" || key == "courier new")
        return firstInstalled({"Liberation Mono", "DejaVu Sans Mono", "FreeMono"});
    if (key == "arial" || key == "helvetica")
        return firstInstalled({"Liberation Sans", "DejaVu Sans", "FreeSans"});
    if (key == "times new roman" || key == "times")
        return firstInstalled({"Liberation Serif", "DejaVu Serif", "FreeSerif"});
    if (key == "corvell math" || key == "symbol")
        return MathFamily();
    if (key.isEmpty())
        return firstInstalled({"Liberation Sans", "DejaVu Sans"});
    return faceName;
}

namespace {

QFont MakeQFont(const LOGFONT& lf)
{
    QFont font(FamilyFor(QString::fromStdString(lf.lfFaceName)));
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(lf.lfWeight, 100, 900);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    int pixels = 16;
    if (lf.lfHeight < 0) {
        pixels = -lf.lfHeight;
    } else if (lf.lfHeight > 0 && !fontsAvailable()) {
        pixels = lf.lfHeight * 7 / 8;
    } else if (lf.lfHeight > 0) {
        // A cell height: scale the em so that ascent + descent fits it.
        QFont probe = font;
        probe.setPixelSize(1000);
        QFontMetricsF fm(probe);
        double cell = fm.ascent() + fm.descent();
        pixels = cell > 0 ? int(std::lround(lf.lfHeight * 1000.0 / cell)) : lf.lfHeight;
    }
    font.setPixelSize(std::clamp(pixels, 1, 3000));
    return font;
}

struct LogFontHash {
    std::size_t operator()(const LOGFONT& lf) const
    {
        std::size_t h = std::hash<std::string>{}(lf.lfFaceName);
        for (int field : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight, int(lf.lfItalic),
                          int(lf.lfUnderline), int(lf.lfStrikeOut), int(lf.lfCharSet)})
            h = h * 31 + std::hash<int>{}(field);
        return h;
    }
};

} // namespace

QFont ToQFont(const LOGFONT& lf)
{
    if (!fontsAvailable())
        return MakeQFont(lf);
    // Text is measured and drawn word by word, each word selecting its font
    // again: the fonts made are kept while the application lasts (a document
    // uses a few dozen).
    struct Made {
        std::mutex lock;
        const QCoreApplication* app = nullptr;
        std::unordered_map<LOGFONT, QFont, LogFontHash> fonts;
    };
    static Made* made = new Made;
    std::lock_guard<std::mutex> hold(made->lock);
    if (made->app != QCoreApplication::instance() || made->fonts.size() > 1024) {
        made->fonts.clear();
        made->app = QCoreApplication::instance();
    }
    auto [at, fresh] = made->fonts.try_emplace(lf);
    if (fresh)
        at->second = MakeQFont(lf);
    return at->second;
}

QStringList InstalledFamilies()
{
    if (!fontsAvailable())
        return {};
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return families;
}

const SymbolMetrics& MathMetrics()
{
    static const SymbolMetrics none;
    if (!fontsAvailable())
        return none;
    static const SymbolMetrics metrics = [] {
        SymbolMetrics m;
        QRawFont raw = rawFontOf(MathFamily(), 1024);
        if (!raw.isValid())
            return m;
        for (int code = 0; code < 256; ++code) {
            char32_t ch = TextCodec::ToUnicode(static_cast<unsigned char>(code), SYMBOL_CHARSET);
            if (ch < 0x20 || !raw.supportsCharacter(uint(ch)))
                continue;
            QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&ch, 1));
            if (glyphs.size() != 1)
                continue;
            QRectF box = raw.boundingRect(glyphs.first());
            QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
            if (!box.isEmpty()) {
                m.top[code] = std::int32_t(std::floor(box.top()));
                m.bottom[code] = std::int32_t(std::ceil(box.bottom()));
            }
            m.advance[code] = advances.isEmpty() ? 0 : std::int32_t(std::lround(advances.first().x()));
        }
        return m;
    }();
    return metrics;
}

}  // namespace FontMap
