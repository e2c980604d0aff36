// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// What a screen reader learns of the main window through Qt's accessibility interfaces (the ones
// the AT-SPI bridge serves): the input controls by name and role, the player bar as nine push
// buttons with their enabled state and a press action, the colour list's entries by name.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>

#include "app/Unit7.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "colour/TColorBox.h"
#include "notes/TRichEdit.h"
#include "platform/mci/MciOutput.h"
#include "player/TMediaPlayer.h"
#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"
#include "tests/app/AppFixture.h"

namespace {

class Accessibility : public AppFixture {
protected:
    void SetUp() override {
        SetMciOutput(TMciOutput::Silent);
        AppFixture::SetUp();
    }
    static QAccessibleInterface* Of(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
};

TEST_F(Accessibility, InputControlsHaveNamesAndRoles) {
    const struct {
        QWidget* Control;
        const char* Name;
        QAccessible::Role Role;
    } controls[] = {
        {Form7->RichEdit1, "Notes", QAccessible::EditableText},
        {static_cast<QWidget*>(Form7->DriveComboBox1), "Drive", QAccessible::ComboBox},
        {static_cast<QWidget*>(Form7->DirectoryListBox1), "Folders", QAccessible::List},
        {static_cast<QWidget*>(Form7->FileListBox1), "Files", QAccessible::List},
        {static_cast<QWidget*>(Form7->FilterComboBox1), "File type", QAccessible::ComboBox},
        {static_cast<QWidget*>(Form7->ColorBox1), "Window colour", QAccessible::ComboBox},
        {Form7->MediaPlayer1, "Music player", QAccessible::ToolBar},
    };
    for (const auto& c : controls) {
        QAccessibleInterface* a = Of(c.Control);
        ASSERT_NE(a, nullptr) << c.Name;
        // Qt reads a drop-down list's current entry as its name; the control's own name
        // reaches the bridge as a label of the list.
        if (c.Role == QAccessible::ComboBox) {
            EXPECT_EQ(c.Control->accessibleName(), QString::fromLatin1(c.Name));
            QStringList labels;
            for (const auto& [label, relation] : a->relations(QAccessible::Label))
                labels += label->text(QAccessible::Name);
            EXPECT_TRUE(labels.contains(QString::fromLatin1(c.Name))) << c.Name;
        } else
            EXPECT_EQ(a->text(QAccessible::Name), QString::fromLatin1(c.Name));
        EXPECT_EQ(a->role(), c.Role) << c.Name;
    }
}

TEST_F(Accessibility, ThePlayerBarIsNinePushButtonsThatPressLikeClicks) {
    QAccessibleInterface* bar = Of(Form7->MediaPlayer1);
    ASSERT_EQ(bar->childCount(), 9);
    const char* names[] = {"Play", "Pause", "Stop",   "Next", "Prev",
                           "Step", "Back",  "Record", "Eject"};
    for (int i = 0; i < 9; ++i) {
        QAccessibleInterface* button = bar->child(i);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(QAccessible::Name), QString::fromLatin1(names[i]));
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_TRUE(button->state().disabled) << names[i];  // nothing open
        EXPECT_EQ(button->parent(), bar);
        EXPECT_EQ(bar->indexOfChild(button), i);
        EXPECT_EQ(bar->child(i), button);  // the same object each time
    }
    // Pressing a disabled button does what a click does: nothing.
    bar->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());

    ASSERT_TRUE(ToneFiles::WriteWav(SystemPath("tune.wav"), 2000));
    Form7->OpenMusicFile(SystemPath("tune.wav"));
    QAccessibleInterface* play = bar->child(0);
    EXPECT_FALSE(play->state().disabled);
    EXPECT_TRUE(bar->child(1)->state().disabled);
    EXPECT_EQ(play->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
    play->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Form7->MediaPlayer1->DeviceMode(), pmPlaying);
    EXPECT_TRUE(play->state().disabled);
    EXPECT_FALSE(bar->child(1)->state().disabled);
    // The buttons stand where they are drawn: the second starts 28 pixels into the bar.
    EXPECT_EQ(bar->child(1)->rect().left() - bar->rect().left(), 28);
    EXPECT_EQ(bar->childAt(bar->rect().left() + 30, bar->rect().top() + 5), bar->child(1));
    // Hidden buttons are not read.
    Form7->MediaPlayer1->SetVisibleButtons(ButtonBit(btPlay) | ButtonBit(btStop));
    ASSERT_EQ(bar->childCount(), 2);
    EXPECT_EQ(bar->child(1)->text(QAccessible::Name), QStringLiteral("Stop"));
}

TEST_F(Accessibility, ColourListEntriesAreReadByName) {
    QAbstractItemModel* model = Form7->ColorBox1->findChild<QAbstractItemModel*>();
    ASSERT_NE(model, nullptr);
    ASSERT_GT(model->rowCount(), 17);
    EXPECT_EQ(model->index(17, 0).data(Qt::DisplayRole), QVariant(QStringLiteral("clSkyBlue")));
    EXPECT_EQ(model->index(17, 0).data(Qt::AccessibleTextRole),
              QVariant(QStringLiteral("Sky Blue")));
    EXPECT_EQ(model->index(19, 0).data(Qt::AccessibleTextRole),
              QVariant(QStringLiteral("Medium Gray")));
}

}  // namespace
