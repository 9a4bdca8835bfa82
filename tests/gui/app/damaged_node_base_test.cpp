// A damaged "Objects.bin" met by "Установить связь": the user may keep it aside and start an empty base,
// or leave everything as it is.
#include "gui_rigs/main_window_rig.h"

#include "base/message_style.h"
#include "nodes/node_base.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QByteArray kDamaged = QByteArray("RovoRedod\0\0\0\0\0\0\0\x03\0\x01\0", 20);  // the header cut short

bool WriteDamagedBase(const QString& folder)
{
    QDir().mkpath(QDir(folder).filePath(QStringLiteral("Base")));
    QFile file(NodeBase::FilePath(folder));
    return file.open(QIODevice::WriteOnly) && file.write(kDamaged) == kDamaged.size();
}

}  // namespace

TEST(DamagedNodeBase, NoLeavesTheFileAndYesKeepsItAsideForAnEmptyBase)
{
    MainWindowRig rig;
    auto window = rig.OpenWindow();
    ASSERT_TRUE(WriteDamagedBase(rig.Folder()));
    const QString baseFolder = QDir(rig.Folder()).filePath(QStringLiteral("Base"));

    // No: one question, no device list, the file as it was.
    rig.presenter.answer = MessageAnswer::kNo;
    int listsOpened = 0;
    ModalHandler chooser([&](QDialog& dialog) {
        ++listsOpened;
        dialog.reject();
    });
    EXPECT_FALSE(window->SelectNode());
    ASSERT_EQ(rig.presenter.messages.size(), 1);
    const PresentedMessage question = rig.presenter.messages[0];
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("Файл базы узлов учета \"")));
    EXPECT_TRUE(question.text.contains(QStringLiteral("поврежден: заголовок неполон (20 байт)!")));
    static const QRegularExpression offer(QStringLiteral(
        "\n\nСохранить поврежденный файл под именем \"Objects\\.bin\\.damaged-\\d{8}-\\d{6}\" и начать новую пустую "
        "базу узлов учета\\?$"));
    EXPECT_TRUE(offer.match(question.text).hasMatch()) << question.text.toStdString();
    EXPECT_EQ(question.caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(question.style, MessageStyle::kIconQuestion | MessageStyle::kYesNo);
    EXPECT_EQ(listsOpened, 0);
    EXPECT_EQ(ReadAll(NodeBase::FilePath(rig.Folder())), kDamaged);
    EXPECT_EQ(QDir(baseFolder).entryList(QDir::Files), QStringList{QStringLiteral("Objects.bin")});

    // Yes: the damaged bytes under the new name, an empty base in place, and the device list opens.
    rig.presenter.answer = MessageAnswer::kYes;
    EXPECT_FALSE(window->SelectNode());  // the handler cancels the list
    EXPECT_EQ(listsOpened, 1);
    EXPECT_EQ(rig.presenter.messages.size(), 2);
    const QStringList kept = QDir(baseFolder).entryList({QStringLiteral("Objects.bin.damaged-*")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(rig.presenter.messages[1].text.contains(kept[0]));
    EXPECT_EQ(ReadAll(QDir(baseFolder).filePath(kept[0])), kDamaged);
    NodeBase fresh;
    UserMessage failure;
    EXPECT_TRUE(fresh.Load(rig.Folder(), &failure)) << failure.text.toStdString();
    EXPECT_TRUE(fresh.IsEmpty());

    // From now on the base is sound: no more questions.
    EXPECT_FALSE(window->SelectNode());
    EXPECT_EQ(rig.presenter.messages.size(), 2);
    EXPECT_EQ(listsOpened, 2);
}
