// The settings file: bytes at known offsets, round trips, the older form, names and failures.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "config/older_layout.h"
#include "config/tunes_defaults.h"
#include "config/tunes_file.h"
#include "config/tunes_file_format.h"
#include "support/file_bytes.h"
#include "support/record_bytes.h"
#include "support/recording_message_host.h"

namespace {

template <typename Block>
void Fill(Block& block, int seed)
{
    auto* bytes = reinterpret_cast<std::uint8_t*>(&block);
    for (std::size_t i = 0; i < sizeof block; ++i)
        bytes[i] = std::uint8_t(i * 31 + seed * 17 + 5);
}

// Every byte of every block set, reserved ones included.
ConfigurationBlocks Patterned()
{
    ConfigurationBlocks b;
    Fill(b.identity, 1);
    Fill(b.tunes, 2);
    Fill(b.open, 3);
    Fill(b.controls, 4);
    return b;
}

bool WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QDateTime kSaved(QDate(2024, 3, 5), QTime(10, 20, 30, 456));

class TunesFile : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    RecordingMessageHost m_host;
};

TEST_F(TunesFile, HeaderAndBlocksAtTheirOffsets)
{
    ConfigurationBlocks b = Patterned();
    b.identity.typeCode = 0x0000;
    const QByteArray file = BuildTunesFile(b, kSaved);
    ASSERT_EQ(file.size(), 1802);
    // 2024, March, Tuesday (2), 5th, 10:20:30.456
    EXPECT_EQ(file.left(16),
              QByteArray::fromHex("e807"
                                  "0300"
                                  "0200"
                                  "0500"
                                  "0a00"
                                  "1400"
                                  "1e00"
                                  "c801"));
    EXPECT_EQ(file.mid(16, 4), QByteArray::fromHex("03000100"));
    EXPECT_EQ(file.mid(20, 15), QByteArray("Zt5 tunes file", 15));
    EXPECT_EQ(file.mid(35, 17), QByteArray(17, '\0'));
    EXPECT_EQ(file.mid(52, 16),
              QByteArray::fromHex("26000000"
                                  "fe010000"
                                  "16000000"
                                  "40000000"));
    EXPECT_EQ(file.mid(68, 1100), QByteArray(1100, '\0'));
    EXPECT_EQ(file.mid(1168, 2), QByteArray::fromHex("0217")) << "the type code is always the ЗТ5's";
    EXPECT_EQ(file.mid(1170, 36), BytesOf(b.identity).mid(2));
    EXPECT_EQ(file.mid(1206, 510), BytesOf(b.tunes));
    EXPECT_EQ(file.mid(1716, 22), BytesOf(b.open));
    EXPECT_EQ(file.mid(1738, 64), BytesOf(b.controls));

    const QByteArray sunday = BuildTunesFile(b, QDateTime(QDate(2024, 3, 3), QTime(0, 0)));
    EXPECT_EQ(sunday.mid(4, 2), QByteArray::fromHex("0000"));
}

TEST_F(TunesFile, SavedAndReopenedByteForByte)
{
    ConfigurationBlocks b = Patterned();
    b.identity.typeCode = kDeviceTypeCode;
    QString savedAs;
    ASSERT_TRUE(SaveTunesFile(Path("node.zt5"), b, m_host, &savedAs, kSaved));
    EXPECT_EQ(savedAs, Path("node.zt5"));
    const QByteArray saved = ReadAll(savedAs);
    EXPECT_EQ(saved, BuildTunesFile(b, kSaved));

    ConfigurationBlocks opened;
    MakeDefaultConfiguration(opened);
    ASSERT_TRUE(OpenTunesFile(savedAs, opened, m_host));
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_EQ(BytesOf(opened.identity), BytesOf(b.identity));
    EXPECT_EQ(BytesOf(opened.tunes), BytesOf(b.tunes));
    EXPECT_EQ(BytesOf(opened.open), BytesOf(b.open));
    EXPECT_EQ(BytesOf(opened.controls), BytesOf(b.controls));

    ASSERT_TRUE(SaveTunesFile(Path("again.zt5"), opened, m_host, nullptr, kSaved));
    EXPECT_EQ(ReadAll(Path("again.zt5")), saved);
}

TEST_F(TunesFile, NamesGetOneExtensionWhenTheyHaveAFolder)
{
    EXPECT_EQ(NormaliseTunesFileName("/data/b.zt5.zt5"), QStringLiteral("/data/b.zt5"));
    EXPECT_EQ(NormaliseTunesFileName("/data/b"), QStringLiteral("/data/b.zt5"));
    EXPECT_EQ(NormaliseTunesFileName("/data/a.zt5b"), QStringLiteral("/data/ab.zt5"));
    EXPECT_EQ(NormaliseTunesFileName("C:\\Узлы\\b.zt5"), QStringLiteral("C:\\Узлы\\b.zt5"));
    EXPECT_EQ(NormaliseTunesFileName("/data.zt5/b"), QStringLiteral("/data.zt5/b.zt5"));
    EXPECT_EQ(NormaliseTunesFileName("b.zt5.zt5"), QStringLiteral("b.zt5.zt5")) << "a bare name is used as typed";
    EXPECT_EQ(TunesFileFolder("/data/node/b.zt5"), QStringLiteral("/data/node"));
    EXPECT_EQ(TunesFileFolder("b.zt5"), QString());

    ConfigurationBlocks b;
    MakeDefaultConfiguration(b);
    QString savedAs;
    ASSERT_TRUE(SaveTunesFile(Path("b.zt5.zt5"), b, m_host, &savedAs));
    EXPECT_EQ(savedAs, Path("b.zt5"));
    EXPECT_TRUE(QFile::exists(Path("b.zt5")));
    EXPECT_FALSE(QFile::exists(Path("b.zt5.zt5")));
}

TEST_F(TunesFile, TheVersionAloneMarksTheCurrentForm)
{
    ConfigurationBlocks b = Patterned();
    QByteArray file = BuildTunesFile(b, kSaved);
    file[1168] = 0x34;  // type code 0x1234
    file[1169] = 0x12;
    ASSERT_TRUE(WriteFile(Path("prepared.zt5"), file));

    ConfigurationBlocks opened;
    ASSERT_TRUE(OpenTunesFile(Path("prepared.zt5"), opened, m_host));
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_EQ(std::uint16_t(opened.identity.typeCode), 0x1234);
    EXPECT_EQ(BytesOf(opened.tunes), BytesOf(b.tunes));
    EXPECT_EQ(BytesOf(opened.controls), BytesOf(b.controls));
}

TEST_F(TunesFile, AnOlderFileOpensWithItsTailAsTheControls)
{
    ConfigurationBlocks older = Patterned();
    older.identity.typeCode = kDeviceTypeCode;
    older.identity.hardwareVersion = 0x0203;  // what the current form would read as the type code
    older.identity.modelIndex = 2;
    older.identity.firmwareLevel = 511;
    QByteArray file(1164, '\0');
    file[16] = 0x00;  // version 0x00010000
    file[18] = 0x01;
    file.append(BytesOf(older.identity));
    const OlderTunesImage image = JoinOlderTunes(older.tunes, older.controls);
    file.append(reinterpret_cast<const char*>(image.data()), kOlderTunesSize);
    file.append(BytesOf(older.open));
    ASSERT_EQ(file.size(), kOlderTunesFileSize);
    ASSERT_TRUE(WriteFile(Path("old.zt5"), file));

    ConfigurationBlocks opened = Patterned();
    Fill(opened.controls, 9);
    ASSERT_TRUE(OpenTunesFile(Path("old.zt5"), opened, m_host));
    EXPECT_TRUE(m_host.shown.empty());
    EXPECT_EQ(BytesOf(opened.identity), BytesOf(older.identity));
    EXPECT_EQ(opened.identity.modelIndex, 2);
    EXPECT_EQ(BytesOf(opened.tunes), file.mid(1202, 510));
    EXPECT_EQ(BytesOf(opened.controls), file.mid(1712, 64));
    EXPECT_EQ(BytesOf(opened.open), BytesOf(older.open));

    // Saved again it is a current file holding the same configuration.
    ASSERT_TRUE(SaveTunesFile(Path("old.zt5"), opened, m_host, nullptr, kSaved));
    ConfigurationBlocks reopened;
    ASSERT_TRUE(OpenTunesFile(Path("old.zt5"), reopened, m_host));
    EXPECT_EQ(BytesOf(reopened.tunes), BytesOf(older.tunes));
    EXPECT_EQ(BytesOf(reopened.controls), BytesOf(older.controls));
}

TEST_F(TunesFile, AFileOfAnotherKindIsRefused)
{
    // Neither 0x1702 at 1168 nor at 1164, version 0, no file text: not a settings file.
    QByteArray file(1802, '\0');
    for (int i = 1202; i < file.size(); ++i)
        file[i] = char(i & 0xFF);
    // A node base has the current format word at offset 16, where a settings file keeps its version.
    QByteArray nodes("RovoRedod", 9);
    nodes.resize(156 + 2 * 635, '\0');
    nodes[16] = 0x03;
    nodes[18] = 0x01;
    for (const auto& [name, bytes] : {std::pair{"foreign.bin", file}, std::pair{"Objects.zt5", nodes}}) {
        ASSERT_TRUE(WriteFile(Path(name), bytes));
        ConfigurationBlocks opened = Patterned();
        RecordingMessageHost host;
        EXPECT_FALSE(OpenTunesFile(Path(name), opened, host));
        ASSERT_EQ(host.shown.size(), 1u);
        EXPECT_EQ(host.LastText(), QStringLiteral("Файл \"%1\" не является файлом настроек!").arg(Path(name)));
        EXPECT_EQ(host.shown[0].caption, QStringLiteral("Информация"));
        EXPECT_EQ(BytesOf(opened.tunes), BytesOf(Patterned().tunes)) << "the configuration in memory stays";
    }

    // A file that has lost only its type code still carries the header's text and opens.
    QByteArray saved = BuildTunesFile(Patterned(), kSaved);
    saved[1168] = 0;
    saved[1169] = 0;
    ASSERT_TRUE(WriteFile(Path("typeless.zt5"), saved));
    ConfigurationBlocks opened;
    EXPECT_TRUE(OpenTunesFile(Path("typeless.zt5"), opened, m_host));
    EXPECT_EQ(BytesOf(opened.tunes), BytesOf(Patterned().tunes));
}

TEST_F(TunesFile, AFileCutAfterItsHeaderIsReadAsFarAsItGoesWithANotice)
{
    const ConfigurationBlocks b = Patterned();
    const QByteArray whole = BuildTunesFile(b, kSaved);
    ASSERT_TRUE(WriteFile(Path("cut.zt5"), whole.left(1500)));

    ConfigurationBlocks opened;
    Fill(opened.controls, 7);
    const ConfigurationBlocks before = opened;
    QString missing = QStringLiteral("x");
    ASSERT_TRUE(OpenTunesFile(Path("cut.zt5"), opened, m_host, &missing));
    EXPECT_EQ(missing,
              QString::fromUtf8("запись настроек (216 байт из 510), открытые настройки (22 байта из 22), "
                                "блок управления (64 байта из 64)"));
    EXPECT_EQ(BytesOf(opened.tunes).left(294), whole.mid(1206, 294));
    EXPECT_EQ(BytesOf(opened.tunes).mid(294), QByteArray(510 - 294, '\0'));
    EXPECT_EQ(BytesOf(opened.open), QByteArray(22, '\0'));
    EXPECT_EQ(BytesOf(opened.controls), BytesOf(before.controls));
    ASSERT_EQ(m_host.shown.size(), 1u);
    EXPECT_EQ(m_host.LastText(),
              QStringLiteral("Файл настроек \"%1\" короче ожидаемого (1500 байт из 1802): "
                             "недостающие настройки не прочитаны.")
                  .arg(Path("cut.zt5")));
}

TEST_F(TunesFile, WhatAShortFileLacksIsNamedBlockByBlock)
{
    const QByteArray whole = BuildTunesFile(Patterned(), kSaved);
    const struct {
        qsizetype size;
        const char* missing;
    } cases[] = {{1802, ""},
                 {1750, "блок управления (52 байта из 64)"},
                 {1738, "блок управления (64 байта из 64)"},
                 {1200,
                  "идентификация прибора (6 байт из 38), запись настроек (510 байт из 510), открытые настройки "
                  "(22 байта из 22), блок управления (64 байта из 64)"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFile(Path("cut.zt5"), whole.left(c.size)));
        ConfigurationBlocks opened;
        QString missing = QStringLiteral("x");
        RecordingMessageHost host;
        ASSERT_TRUE(OpenTunesFile(Path("cut.zt5"), opened, host, &missing)) << c.size;
        EXPECT_EQ(missing, QString::fromUtf8(c.missing)) << c.size;
        EXPECT_EQ(host.shown.size(), c.missing[0] ? 1u : 0u) << c.size;
    }
}

TEST_F(TunesFile, AFileShorterThanAHeaderIsRefused)
{
    for (int size : {0, 20, 1167}) {
        ASSERT_TRUE(WriteFile(Path("short.zt5"), QByteArray(size, '\x11')));
        ConfigurationBlocks opened = Patterned();
        RecordingMessageHost host;
        EXPECT_FALSE(OpenTunesFile(Path("short.zt5"), opened, host));
        ASSERT_EQ(host.shown.size(), 1u);
        EXPECT_EQ(host.LastText(),
                  QStringLiteral("Файл \"%1\" не является файлом настроек: его длина (%2 байт) меньше "
                                 "заголовка файла настроек!")
                      .arg(Path("short.zt5"))
                      .arg(size));
        EXPECT_EQ(BytesOf(opened.tunes), BytesOf(Patterned().tunes)) << "the configuration in memory stays";
    }
}

TEST_F(TunesFile, FailuresShowTheSystemsReasonAndLoseNothing)
{
    ConfigurationBlocks opened = Patterned();
    EXPECT_FALSE(OpenTunesFile(Path("missing.zt5"), opened, m_host));
    ASSERT_EQ(m_host.shown.size(), 1u);
    EXPECT_EQ(m_host.shown[0].caption, QStringLiteral("Информация"));
    // What was being done and on which file, then the system's reason.
    EXPECT_EQ(m_host.LastText(),
              QStringLiteral("Не удалось прочитать файл настроек \"%1\": No such file or directory")
                  .arg(Path("missing.zt5")));
    EXPECT_EQ(BytesOf(opened.tunes), BytesOf(Patterned().tunes));

    // A folder stands where the file should go: nothing is replaced, the folder keeps its content.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("taken.zt5"));
    ASSERT_TRUE(WriteFile(Path("taken.zt5/inside"), "kept"));
    EXPECT_FALSE(SaveTunesFile(Path("taken.zt5"), opened, m_host));
    EXPECT_EQ(m_host.shown.size(), 2u);
    EXPECT_EQ(m_host.LastText(),
              QString::fromUtf8("\"%1\" - папка, а не файл настроек: настройки не записаны.").arg(Path("taken.zt5")));
    EXPECT_EQ(ReadAll(Path("taken.zt5/inside")), QByteArray("kept"));
    // Nor is one without the extension written under the name with it, beside the folder.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("folder"));
    EXPECT_FALSE(SaveTunesFile(Path("folder"), opened, m_host));
    EXPECT_FALSE(QFile::exists(Path("folder.zt5")));

    EXPECT_FALSE(SaveTunesFile(Path("taken.zt5/inside/x.zt5"), opened, m_host));
    EXPECT_EQ(m_host.shown.size(), 4u);
    // The message names the file it could not write.
    EXPECT_TRUE(m_host.LastText().startsWith(
        QString::fromUtf8("Файл настроек \"%1\" не записан: ").arg(Path("taken.zt5/inside/x.zt5"))))
        << m_host.LastText().toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{}) << "no stray temporary file";
}

}  // namespace
