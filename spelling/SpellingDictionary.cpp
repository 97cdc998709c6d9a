#include "spelling/SpellingDictionary.h"

#include <map>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <hunspell/hunspell.hxx>

#include "platform/Exceptions.h"
#include "platform/draw/TextCodec.h"

namespace {

std::mutex loadedMutex;
std::map<std::pair<std::string, std::string>, std::shared_ptr<SpellingDictionary>>& Loaded()
{
    static std::map<std::pair<std::string, std::string>, std::shared_ptr<SpellingDictionary>> loaded;
    return loaded;
}

void RequireReadableFile(const std::string& path)
{
    QFileInfo info(QString::fromStdString(path));
    if (!info.exists() || !info.isFile())
        throw CFileException(CFileException::fileNotFound, path, "spelling dictionary");
    if (!info.isReadable())
        throw CFileException(CFileException::accessDenied, path, "spelling dictionary");
}

// A word list starts with the number of its words; anything else is not one
// (Hunspell would load it without a word and call every word wrong).
void RequireWordCount(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw CFileException(CFileException::accessDenied, path, "spelling dictionary");
    QByteArray first = file.readLine(64).trimmed();
    if (first.startsWith("\xEF\xBB\xBF"))
        first = first.mid(3);
    bool ok = false;
    first.toUInt(&ok);
    if (!ok)
        throw CFormatException("The spelling dictionary " + path + " is not a word list");
}

}  // namespace

std::shared_ptr<SpellingDictionary> SpellingDictionary::Load(const std::string& affixPath,
                                                             const std::string& dictionaryPath)
{
    std::lock_guard lock(loadedMutex);
    auto key = std::make_pair(affixPath, dictionaryPath);
    auto found = Loaded().find(key);
    if (found != Loaded().end())
        return found->second;
    auto dictionary = std::make_shared<SpellingDictionary>(affixPath, dictionaryPath);
    Loaded()[key] = dictionary;
    return dictionary;
}

void SpellingDictionary::ForgetLoaded()
{
    std::lock_guard lock(loadedMutex);
    Loaded().clear();
}

SpellingDictionary::SpellingDictionary(const std::string& affixPath, const std::string& dictionaryPath)
{
    RequireReadableFile(affixPath);
    RequireReadableFile(dictionaryPath);
    RequireWordCount(dictionaryPath);
    m_hunspell = std::make_unique<Hunspell>(affixPath.c_str(), dictionaryPath.c_str());
    QString encoding = QString::fromStdString(m_hunspell->get_dict_encoding()).toUpper();
    if (encoding == "UTF-8" || encoding == "UTF8")
        m_utf8 = true;
    else if (encoding == "ISO8859-1" || encoding == "ISO-8859-1" || encoding == "LATIN1")
        m_utf8 = false;
    else
        throw CFormatException("The spelling dictionary " + dictionaryPath + " uses the character set " +
                               encoding.toStdString() + ", which cannot be read");
}

SpellingDictionary::~SpellingDictionary() = default;

bool SpellingDictionary::ToDictionary(const std::string& word, std::string* out) const
{
    QString text = TextCodec::Decode(word, ANSI_CHARSET);
    if (text.contains(QChar::ReplacementCharacter))
        return false;
    if (m_utf8) {
        *out = text.toStdString();
        return true;
    }
    for (QChar ch : text)
        if (ch.unicode() > 0xFF)
            return false;
    *out = text.toLatin1().toStdString();
    return true;
}

bool SpellingDictionary::FromDictionary(const std::string& word, std::string* out) const
{
    QString text = m_utf8 ? QString::fromStdString(word) : QString::fromLatin1(word.data(), qsizetype(word.size()));
    bool complete = true;
    *out = TextCodec::Encode(text, ANSI_CHARSET, &complete);
    return complete && !out->empty();
}

bool SpellingDictionary::Check(const std::string& word)
{
    std::string converted;
    if (!ToDictionary(word, &converted))
        return false;
    std::lock_guard lock(m_mutex);
    return m_hunspell->spell(converted);
}

std::vector<std::string> SpellingDictionary::Suggest(const std::string& word, int limit)
{
    std::vector<std::string> result;
    std::string converted;
    if (limit <= 0 || !ToDictionary(word, &converted))
        return result;
    std::vector<std::string> found;
    {
        std::lock_guard lock(m_mutex);
        found = m_hunspell->suggest(converted);
    }
    for (const std::string& suggestion : found) {
        std::string text;
        if (FromDictionary(suggestion, &text))
            result.push_back(text);
        if (int(result.size()) >= limit)
            break;
    }
    return result;
}
