// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The file dialogs: filters, the default extension, program paths, and a real dialog answered
// while it is open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/system/FileSystem.h"
#include "tests/TestSupport.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/FileKindIconProvider.h"
#include "toolkit/TOpenDialog.h"
#include "toolkit/TSaveDialog.h"

namespace {

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        TVolumeTable table;
        TVolume root;
        root.Letter = 'C';
        root.MountPoint = "/";
        table.Add(root);
        SetVolumeTable(table);
        TOpenDialog::ExecuteHook = nullptr;
    }
    void TearDown() override { TOpenDialog::ExecuteHook = nullptr; }

    // The Linux path of a file in the temporary folder, and the same file as the program sees it.
    std::string Linux(const char* name) {
        return Files.Path(QString::fromLatin1(name)).toStdString();
    }
    static QString Program(const std::string& linux) {
        QString p = QString::fromStdString(linux);
        p.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return QStringLiteral("C:") + p;
    }
    void Answer(const std::optional<std::string>& path) {
        TOpenDialog::ExecuteHook = [path](TOpenDialog&) { return path; };
    }

    LayoutFiles Files;
};

TEST_F(FileDialogs, SaveAddsTheDefaultExtensionOnlyToANameWithoutOne) {
    TSaveDialog dialog;
    dialog.SetDefaultExt(QStringLiteral("RTF"));
    Answer(Linux("notes"));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), Program(Linux("notes.RTF")));

    Answer(Linux("notes.txt"));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), Program(Linux("notes.txt")));

    EXPECT_EQ(TSaveDialog::AddDefaultExt("/a.b/name", "rtf"), "/a.b/name.rtf")
        << "a dot in a folder name is not an extension";
    EXPECT_EQ(TSaveDialog::AddDefaultExt("/x/name", ""), "/x/name");
}

TEST_F(FileDialogs, CancelLeavesTheFileNameAsItWas) {
    TOpenDialog dialog;
    dialog.SetFileName(QStringLiteral("C:\\old.rtf"));
    Answer(std::nullopt);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "C:\\old.rtf");
}

TEST_F(FileDialogs, OpenFindsTheFileANameWithoutItsExtensionMeans) {
    ASSERT_TRUE(WriteFileBytes(Linux("song.mp3"), "x"));
    TOpenDialog dialog;
    dialog.SetDefaultExt(QStringLiteral("mp3"));
    Answer(Linux("song"));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), Program(Linux("song.mp3")));
}

TEST_F(FileDialogs, FiltersBecomeTheDialogsNameFilters) {
    EXPECT_EQ(TOpenDialog::NameFilters(QStringLiteral("Rich Text Format|*.rtf|Text Files|*.txt")),
              QStringList({"Rich Text Format (*.rtf)", "Text Files (*.txt)"}));
    EXPECT_EQ(TOpenDialog::NameFilters(QStringLiteral("All files (*.*)|*.*|Both|*.rtf;*.Txt|Odd")),
              QStringList({"All files (*.*) (*)", "Both (*.rtf *.Txt)"}));
    EXPECT_TRUE(TOpenDialog::NameFilters(QString()).isEmpty());
}

// Types a name into the dialog's file name box, over whatever it holds, as a user does: with
// the box focused, so that a file selected before is no longer taken.
void Type(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    dialog->activateWindow();
    edit->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return edit->hasFocus(); }));
    edit->setText(name);
}

// Answers the file dialog with `act` once it is open. Any other modal window that appears (an
// overwrite question, a warning) is counted and closed, so that a fault cannot hang the test.
class DialogAnswer {
public:
    explicit DialogAnswer(std::function<void(QFileDialog*)> act) : FAct(std::move(act)) {
        QObject::connect(&FPoll, &QTimer::timeout, &FPoll, [this] { Check(); });
        FPoll.start(10);
    }
    int OtherWindows = 0;

private:
    void Check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog && FAct) {
            auto act = std::move(FAct);
            FAct = nullptr;
            act(dialog);
        } else if (!dialog) {
            ++OtherWindows;
            modal->close();
        }
    }
    std::function<void(QFileDialog*)> FAct;
    QTimer FPoll;
};

TEST_F(FileDialogs, TheSaveDialogOffersTheFilterTakesAnyNameAndAsksNothing) {
    ASSERT_TRUE(WriteFileBytes(Linux("existing.rtf"), "{\\rtf1}"));
    TSaveDialog save;
    save.SetTitle(QStringLiteral("Save Text File(s)"));
    save.SetFilter(QStringLiteral("RichTextFiles|*.rtf|Text Files|*.txt"));
    save.SetDefaultExt(QStringLiteral("RTF"));
    save.SetInitialDir(Program(Files.Dir.path().toStdString()));

    QString title, filter;
    bool asksOverwrite = true;
    DialogAnswer fresh([&](QFileDialog* d) {
        title = d->windowTitle();
        filter = d->selectedNameFilter();
        asksOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
        Type(d, QStringLiteral("fresh"));
        static_cast<QDialog*>(d)->accept();  // as the dialog's own button does
    });
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(title, "Save Text File(s)");
    EXPECT_EQ(filter, "RichTextFiles") << "the first pair is preselected";
    EXPECT_FALSE(asksOverwrite);
    EXPECT_EQ(save.FileName(), Program(Linux("fresh.RTF")));

    DialogAnswer existing([&](QFileDialog* d) {
        Type(d, QStringLiteral("existing.rtf"));
        static_cast<QDialog*>(d)->accept();  // as the dialog's own button does
    });
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), Program(Linux("existing.rtf")));
    EXPECT_EQ(existing.OtherWindows, 0) << "no question about replacing the file";

    DialogAnswer cancel([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(save.Execute());
    EXPECT_EQ(save.FileName(), Program(Linux("existing.rtf")));
}

TEST_F(FileDialogs, TheOpenDialogTakesATypedNameThatDoesNotExist) {
    ASSERT_TRUE(WriteFileBytes(Linux("a.txt"), "text"));
    TOpenDialog open;
    open.SetFilter(QStringLiteral("Rich Text Format|*.rtf|Text Files|*.txt"));
    open.SetFilterIndex(2);
    open.SetFileName(Program(Linux("a.txt")));
    QString filter;
    DialogAnswer answer([&](QFileDialog* d) {
        filter = d->selectedNameFilter();
        // the file preselected from FileName
        static_cast<QDialog*>(d)->accept();  // as the dialog's own button does
    });
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(filter, "Text Files");
    EXPECT_EQ(open.FileName(), Program(Linux("a.txt")));
    EXPECT_EQ(open.FilterIndex(), 2);

    // A name that is not there, also in a folder that is not there, reaches the caller, which
    // reports why it cannot be opened.
    for (const char* typed : {"missing.txt", "no-folder/missing.rtf"}) {
        DialogAnswer missing([&](QFileDialog* d) {
            Type(d, QString::fromLatin1(typed));
            static_cast<QDialog*>(d)->accept();
        });
        ASSERT_TRUE(open.Execute()) << typed;
        EXPECT_EQ(open.FileName(), Program(Linux(typed)));
        EXPECT_EQ(missing.OtherWindows, 0) << "no warning that the file does not exist";
    }
}

TEST_F(FileDialogs, EachFilterShowsItsDescriptionAsTheLayoutWritesIt) {
    const struct {
        const char* Filter;
        QStringList Shown;
    } rows[] = {
        {"Rich Text Format|*.rtf|Text Files|*.txt", {"Rich Text Format", "Text Files"}},
        {"Music file|*.mp3|Audio CD|*.cda|Wave File|*.wav",
         {"Music file", "Audio CD", "Wave File"}},
        {"RichTextFiles|*.rtf", {"RichTextFiles"}},
        {"All files (*.*)|*.*|Both|*.rtf;*.Txt", {"All files (*.*)", "Both"}},
    };
    for (const auto& row : rows) {
        for (bool save : {false, true}) {
            TSaveDialog saveDialog;
            TOpenDialog openDialog;
            TOpenDialog& dialog = save ? saveDialog : openDialog;
            dialog.SetFilter(QString::fromLatin1(row.Filter));
            QStringList shown;
            DialogAnswer look([&](QFileDialog* d) {
                auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                if (types)
                    for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
                d->reject();
            });
            EXPECT_FALSE(dialog.Execute());
            EXPECT_EQ(shown, row.Shown) << row.Filter;
        }
    }
}

// The names the dialog's list shows now, once the folder has been read.
QStringList ListedNames(QFileDialog* dialog) {
    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (!list) return names;
    const QModelIndex root = list->rootIndex();
    for (int row = 0; row < list->model()->rowCount(root); ++row)
        names << list->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

TEST_F(FileDialogs, AMaskTypedInTheNameBoxFiltersTheListAndTheNextNameOpens) {
    for (const char* name : {"a.flac", "b.FLAC", "c.mp3", "d.txt"})
        ASSERT_TRUE(WriteFileBytes(Linux(name), "x"));
    TOpenDialog open;
    open.SetFilter(QStringLiteral("Music file|*.mp3|Other|*.flac;*.txt"));
    open.SetInitialDir(Program(Files.Dir.path().toStdString()));
    const struct {
        const char* Typed;
        QStringList Listed;
    } rows[] = {
        {"*.flac", {"a.flac", "b.FLAC"}},  // letter case ignored, as the devices do
        {"*.mp3; *.txt", {"c.mp3", "d.txt"}},
        {"?.*", {"a.flac", "b.FLAC", "c.mp3", "d.txt"}},
    };
    for (const auto& row : rows) {
        QStringList listed;
        QString filter, hint;
        bool stayedOpen = false;
        DialogAnswer answer([&](QFileDialog* d) {
            Type(d, QString::fromLatin1(row.Typed));
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTest::keyClick(edit, Qt::Key_Return);
            stayedOpen = d->isVisible();
            WaitUntil([&] { return ListedNames(d) == row.Listed; });
            listed = ListedNames(d);
            filter = d->selectedNameFilter();
            hint = edit->placeholderText();
            // A file name typed after the mask is taken as usual.
            Type(d, QStringLiteral("c.mp3"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        ASSERT_TRUE(open.Execute()) << row.Typed;
        EXPECT_TRUE(stayedOpen) << row.Typed << ": the mask was taken as a file name";
        EXPECT_EQ(listed, row.Listed) << row.Typed;
        EXPECT_EQ(filter, "Music file") << "the chosen type stays";
        EXPECT_EQ(hint, QString::fromLatin1(row.Typed));
        EXPECT_EQ(open.FileName(), Program(Linux("c.mp3")));
    }
}

}  // namespace

namespace {

// Types into the dialog's name box key by key, as a user does, and presses Enter; with `settle`,
// only once the list shows the typed file, as a user who waits to see it does. True when the
// dialog took the answer; a dialog that did not is cancelled.
bool TypeAndEnter(QFileDialog* d, const QString& text, bool settle) {
    auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* list = d->findChild<QListView*>(QStringLiteral("listView"));
    if (!edit || !list) return false;
    d->activateWindow();
    edit->setFocus();
    WaitUntil([&] { return edit->hasFocus(); });
    edit->selectAll();
    QTest::keyClicks(edit, text);
    const QString name = QFileInfo(text).fileName();
    if (settle)
        WaitUntil([&] {
            const QModelIndex root = list->rootIndex();
            for (int row = 0; row < list->model()->rowCount(root); ++row)
                if (list->model()->index(row, 0, root).data().toString() == name) return true;
            return false;
        });
    QTest::keyClick(edit, Qt::Key_Return);
    WaitUntil([&] { return !d->isVisible(); }, 1000);
    if (!d->isVisible()) return true;
    d->reject();
    return false;
}

}  // namespace

TEST_F(FileDialogs, ATypedFullPathOpensAfterAMissingNameAndSavesIntoAnotherFolder) {
    const std::string p = Files.Dir.path().toStdString();
    ASSERT_TRUE(QDir(Files.Dir.path()).mkpath(QStringLiteral("d")));
    for (const char* name : {"d/a.rtf", "d/b.txt", "d/c.txt"})
        ASSERT_TRUE(WriteFileBytes(Linux(name), "text"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(p + "/d")));
    TOpenDialog open;
    open.SetTitle(QStringLiteral("Open Text Files"));
    open.SetFilter(QStringLiteral("Rich Text Format|*.rtf|Text Files|*.txt"));
    TSaveDialog save;
    save.SetTitle(QStringLiteral("Save Text File(s)"));
    save.SetFilter(QStringLiteral("RichTextFiles|*.rtf"));
    save.SetDefaultExt(QStringLiteral("RTF"));

    // The last dialog starts where the last Save As left off, in the parent folder, before it
    // moves to the folder of the file opened last; then the full path of a.rtf is typed.
    const struct {
        TOpenDialog* Dialog;
        const char* Typed;
        bool Settle;
    } steps[] = {
        {&open, "/d/missing.rtf", false}, {&open, "/d/b.txt", false},  {&save, "/out1.rtf", false},
        {&open, "/d/c.txt", false},       {&save, "/out2.rtf", false}, {&open, "/d/a.rtf", true},
    };
    for (const auto& step : steps) {
        const QString typed = QString::fromStdString(p + step.Typed);
        bool taken = false;
        DialogAnswer answer([&](QFileDialog* d) { taken = TypeAndEnter(d, typed, step.Settle); });
        EXPECT_TRUE(step.Dialog->Execute()) << step.Typed;
        EXPECT_TRUE(taken) << step.Typed;
        EXPECT_EQ(step.Dialog->FileName(), Program(typed.toStdString())) << step.Typed;
    }
    QDir::setCurrent(previous);
}

// The dialogs' icons and type names come from a file's name and kind only: a file without an
// extension whose bytes are a PNG image stays a plain "File", a pipe (whose reading would
// block) a "Device"; typing /proc/ into the dialog lists it without reading a file there.
TEST_F(FileDialogs, IconsAndTypesNeverLookIntoAFile) {
    ASSERT_TRUE(WriteFileBytes(Linux("picture"), std::string("\x89PNG\r\n\x1a\n", 8)));
    ASSERT_EQ(::mkfifo(Linux("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("missing", Linux("dangling").c_str()), 0);
    const FileKindIconProvider icons;
    const struct {
        const char* Name;
        QString Type;
    } cases[] = {
        {"picture", QStringLiteral("File")},
        {"pipe", QStringLiteral("Device")},
        {"dangling", QStringLiteral("Broken link")},
        {"", QStringLiteral("Folder")},
    };
    for (const auto& c : cases) {
        const QFileInfo info(QString::fromStdString(Linux(c.Name)));
        EXPECT_EQ(icons.type(info), c.Type) << c.Name;
        EXPECT_FALSE(icons.icon(info).isNull()) << c.Name;
    }
    EXPECT_EQ(icons.type(QFileInfo(QStringLiteral("/"))), QStringLiteral("Drive"));

    TOpenDialog open;
    open.SetTitle(QStringLiteral("Open Text Files"));
    bool ours = false;
    int listed = -1;
    DialogAnswer answer([&](QFileDialog* d) {
        ours = dynamic_cast<const FileKindIconProvider*>(d->iconProvider()) != nullptr;
        d->setDirectory(QStringLiteral("/proc/"));
        auto* model = d->findChild<QFileSystemModel*>();
        const QModelIndex root = model ? model->index(QStringLiteral("/proc")) : QModelIndex();
        // Wait for the listing, asking each entry's type and icon as the view does.
        if (model) WaitUntil([&] { return model->rowCount(root) > 0; }, 2000);
        listed = model ? model->rowCount(root) : -1;
        for (int row = 0; model && row < listed; ++row) {
            model->data(model->index(row, 0, root), Qt::DecorationRole);
            model->data(model->index(row, 2, root), Qt::DisplayRole);
        }
        d->reject();
    });
    EXPECT_FALSE(open.Execute());
    EXPECT_TRUE(ours);
    EXPECT_GT(listed, 0);
}
