// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The filter selector: parsing, the current mask, and the user's pick.
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "tests/browse/BrowseFixture.h"

namespace {

struct TParsed {
    std::vector<std::string> Descriptions, Masks;
};

TParsed Parse(const std::string& filter) {
    TFilterComboBox combo;
    combo.CreateHandle();
    combo.SetFilter(filter);
    TParsed p;
    for (int i = 0; i < combo.Count(); ++i) p.Descriptions.push_back(combo.ItemText(i));
    p.Masks = combo.EntryMasks;
    return p;
}

}  // namespace

TEST(TFilterComboBox, ParsesPairsAndDropsATrailingDescription) {
    TParsed p = Parse("All files (*.*)|*.*|RichTextFiles (*.rtf)|*.rtf|Text Files|*.Txt");
    EXPECT_EQ(p.Descriptions,
              (std::vector<std::string>{"All files (*.*)", "RichTextFiles (*.rtf)", "Text Files"}));
    EXPECT_EQ(p.Masks, (std::vector<std::string>{"*.*", "*.rtf", "*.Txt"}));
    EXPECT_EQ(Parse("A|*.a|B").Masks, (std::vector<std::string>{"*.a"}));
    EXPECT_EQ(Parse("A|*.a|B|").Masks, (std::vector<std::string>{"*.a", ""}));
    EXPECT_TRUE(Parse("no bars").Descriptions.empty());
}

TEST(TFilterComboBox, CurrentMaskSelectsTheLastEntryWhenNoneIs) {
    TFilterComboBox combo;
    EXPECT_EQ(combo.Filter(), "All files (*.*)|*.*");
    combo.CreateHandle();
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.SetFilter("A|*.a|B|*.b;*.c");
    combo.SetItemIndex(-1);
    EXPECT_EQ(combo.CurrentMask(), "*.b;*.c");
    EXPECT_EQ(combo.ItemIndex(), 1);
    combo.SetFilter("nothing");
    EXPECT_EQ(combo.CurrentMask(), "*.*");

    int changes = 0;
    combo.OnChange = [&](QObject*) { ++changes; };
    combo.SetFilter("NOTHING");  // the same filter in other letters
    EXPECT_EQ(changes, 0);
}

class FilterPickTest : public BrowseTest {};

TEST_F(FilterPickTest, PickClicksThenChangesTwiceAndTheListReadsOnce) {
    TFileListBox files;
    files.CreateHandle();
    TFilterComboBox filter;
    filter.CreateHandle();
    filter.SetFilter("All|*.*|Documents|*.rtf;*.txt");
    filter.SetFileList(&files);
    filter.OnClick = [this](QObject*) { Log.push_back("click"); };
    filter.OnChange = [this](QObject*) { Log.push_back("change"); };
    files.OnChange = [&](QObject*) { Log.push_back("read " + files.Mask()); };
    filter.UserPick(1);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "read *.rtf;*.txt", "change", "change"}));
    EXPECT_EQ(Texts(files), (std::vector<std::string>{"notes.rtf", "readme.txt"}));
}
