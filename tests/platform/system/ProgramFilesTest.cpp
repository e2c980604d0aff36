// Where the program finds its how-to page and help file: beside it in a build tree, under
// share/quillet/ of the prefix it is installed in (a cmake --install prefix, the package's /usr).
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/system/ProgramFiles.h"

namespace {

TEST(ProgramFiles, DataFolderBesideTheProgramElseUnderTheInstalledShare) {
    struct Case {
        const char* What;
        std::vector<const char*> Folders;  // made under the scratch root
        const char* Program;               // the program's folder
        const char* Expected;
    };
    const Case cases[] = {
        {"build tree", {"build/appfiles"}, "build", "build/appfiles"},
        {"installed prefix",
         {"prefix/bin", "prefix/share/quillet/appfiles"},
         "prefix/bin",
         "prefix/share/quillet/appfiles"},
        {"package under usr",
         {"usr/bin", "usr/share/quillet/appfiles"},
         "usr/bin",
         "usr/share/quillet/appfiles"},
        {"both: the one beside wins",
         {"p/bin/appfiles", "p/share/quillet/appfiles"},
         "p/bin",
         "p/bin/appfiles"},
        {"neither: beside, for the message that names it", {"q/bin"}, "q/bin", "q/bin/appfiles"},
        {"share without our folder", {"r/bin", "r/share/other"}, "r/bin", "r/bin/appfiles"},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        for (const char* folder : c.Folders)
            ASSERT_TRUE(QDir(root.path()).mkpath(QLatin1String(folder)));
        const std::string base = root.path().toStdString() + "/";
        EXPECT_EQ(ProgramDataDirFor(base + c.Program), base + c.Expected) << c.What;
    }
}

}  // namespace
