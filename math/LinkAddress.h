#pragma once
// How the editor follows a link's target. One rule serves following a link
// and the exports, which write as live links only the links the editor
// follows. An external link that names an address ("://" or "mailto:") is
// followed by its scheme: web and mail addresses open, "file:" names a file
// (here or on another computer), the file-transfer schemes name files on
// other computers, and every other scheme (a script among them) is refused.
// Any other target that starts with a scheme of its own ("javascript:",
// "data:") is refused too; the rest are document paths, relative to the
// document's folder unless they start with "/" (a drive letter is no scheme).
#include <QString>

#include <optional>

namespace LinkAddress {

enum class Kind { kDocumentPath, kWeb, kMail, kFile, kFileTransfer, kRefused };

// The target as every writer writes it and as it is judged: without its
// control characters, which a file may hold but nobody types, and which
// browsers and readers drop (a "java<tab>script:" address is a script's).
QString Written(const QString& target);

// Judges the written target.
Kind Classify(const QString& target, bool external);

// The written target as a web page's link: none when the editor refuses
// it; a document path that a browser would read as an address (a ":" before its
// first "/") after "./".
std::optional<QString> WebAddress(const QString& target, bool external);

} // namespace LinkAddress
