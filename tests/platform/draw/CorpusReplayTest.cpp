// Replays every input of the picture player's fuzz corpus (including each
// input that once crashed it).
#include "fuzz/EmfFuzzEntry.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(EmfCorpus, EveryInputPlaysWithoutHarm)
{
    QDir corpus(QString(QV_SOURCE_DIR) + "/tests/platform/draw/fuzz/corpus");
    ASSERT_TRUE(corpus.exists());
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_GE(files.size(), 3);
    for (const QString& name : files) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        QByteArray bytes = file.readAll();
        SCOPED_TRACE(name.toStdString());
        emffuzz::Run(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
}
