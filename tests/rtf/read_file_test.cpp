// Reading from a file: errors name the file, and oversized files are refused unread.
#include "rtf_test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ct::rtf::testing;

namespace {

TEST(ReadFile, ReadsAFile)
{
    QTextDocument document;
    QString error;
    ASSERT_TRUE(ct::rtf::readFile(dataPath("corpus/pandoc.rtf"), document, &error)) << error.toStdString();
    EXPECT_TRUE(document.toPlainText().startsWith("Instructions\n"));
}

TEST(ReadFile, MissingFileIsNamedWithTheReason)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("instructions_condition_1.rtf");
    QTextDocument document;
    document.setPlainText("placeholder");
    QString error;
    EXPECT_FALSE(ct::rtf::readFile(path, document, &error));
    EXPECT_TRUE(error.startsWith(QString("The file \"%1\" could not be opened: ").arg(path))) << error.toStdString();
    EXPECT_TRUE(error.contains("No such file")) << error.toStdString();
    EXPECT_TRUE(document.isEmpty());
}

TEST(ReadFile, FolderIsRefused)
{
    QTemporaryDir folder;
    QTextDocument document;
    QString error;
    EXPECT_FALSE(ct::rtf::readFile(folder.path(), document, &error));
    EXPECT_TRUE(error.contains(folder.path())) << error.toStdString();
}

TEST(ReadFile, BrokenContentIsNamedWithTheFile)
{
    QTextDocument document;
    QString error;
    const QString path = dataPath("broken/plain_text.txt");
    EXPECT_FALSE(ct::rtf::readFile(path, document, &error));
    EXPECT_EQ(error, QString("The file \"%1\" could not be read as rich text: not an RTF file").arg(path));
}

TEST(ReadFile, FileAboveTheCapIsRefusedUnread)
{
    // A sparse file: it claims the size without taking the disk space.
    QTemporaryDir folder;
    const QString path = folder.filePath("huge.rtf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 ");
    ASSERT_TRUE(file.resize(ct::rtf::kMaxFileBytes + 1));
    file.close();

    QTextDocument document;
    QString error;
    EXPECT_FALSE(ct::rtf::readFile(path, document, &error));
    EXPECT_TRUE(error.startsWith(QString("The file \"%1\" is too large").arg(path))) << error.toStdString();
    EXPECT_FALSE(error.contains('\n'));
}

TEST(ReadFile, ReplacesWhatTheDocumentHeld)
{
    QTextDocument document;
    document.setPlainText("placeholder");
    ASSERT_TRUE(ct::rtf::readFile(dataPath("corpus/pandoc.rtf"), document));
    EXPECT_FALSE(document.toPlainText().contains("placeholder"));
}

} // namespace
