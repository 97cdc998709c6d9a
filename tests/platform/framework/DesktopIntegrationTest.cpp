// Links open through the desktop's handler; the document type and the
// desktop entry are written the freedesktop way into a data folder.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "platform/framework/DesktopIntegration.h"
#include "support/ScopedInstall.h"
#include <gtest/gtest.h>

TEST(DesktopIntegration, LinksGoToTheHandler)
{
    QStringList opened;
    ScopedInstall opener(DesktopIntegration::SetLinkOpener, [&](const QString& link) {
        opened << link;
        return true;
    });
    EXPECT_TRUE(DesktopIntegration::OpenLink(" mailto:someone@example.org "));
    EXPECT_GT(ShellExecuteA(nullptr, "open", "https://example.org/a?b=c", nullptr, nullptr, 1), 32);
    EXPECT_FALSE(DesktopIntegration::OpenLink("   "));
    EXPECT_EQ(opened, (QStringList{"mailto:someone@example.org", "https://example.org/a?b=c"}));
}

TEST(DesktopIntegration, InstallsTheDocumentTypeAndDesktopEntry)
{
    QTemporaryDir data;
    ASSERT_TRUE(DesktopIntegration::Install(data.path(), DesktopIntegration::Entry::Default()));
    QFile desktop(data.filePath("applications/quorvant.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("Exec=quorvant %f\n"));
    EXPECT_TRUE(entry.contains("MimeType=application/x-quorvant;\n"));
    QFile mime(data.filePath("mime/packages/quorvant.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    QString xml = QString::fromUtf8(mime.readAll());
    EXPECT_TRUE(xml.contains("<mime-type type=\"application/x-quorvant\">"));
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.vxm\"/>"));
    QImage icon(data.filePath("icons/hicolor/48x48/apps/quorvant.png"));
    EXPECT_EQ(icon.size(), QSize(48, 48));
}
